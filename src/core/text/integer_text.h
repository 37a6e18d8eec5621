#pragma once

#include <optional>
#include <string_view>

namespace norvale {

// A 32-bit signed decimal integer written as an optional "+" or "-" and digits only.
std::optional<int> ParseDecimalInteger(std::string_view text);

} // namespace norvale
