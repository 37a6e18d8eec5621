#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace norvale {

// Colour values are 0x00BBGGRR; 0xFF0000nn names the user's system colour nn.
using Colour = std::uint32_t;

inline constexpr Colour kSystemColourFlag = 0xFF000000;

// A colour name (matched ignoring case), a decimal integer, or "$" and hexadecimal digits.
std::optional<Colour> ParseSkinColour(std::string_view text);

constexpr bool IsSystemColour(Colour colour) {
    return (colour & 0xFF000000) == kSystemColourFlag;
}

} // namespace norvale
