#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace norvale {

// Colour values are 0x00BBGGRR; 0xFF0000nn names the user's system colour nn.
using Colour = std::uint32_t;

inline constexpr Colour kSystemColourFlag = 0xFF000000;

// Decimal digits with an optional sign, fitting 32 bits; nullopt for anything else.
std::optional<std::int32_t> ParseSkinInteger(std::string_view text);

// A colour name (matched ignoring case), a decimal integer, or "$" and hexadecimal digits.
std::optional<Colour> ParseSkinColour(std::string_view text);

constexpr bool IsSystemColour(Colour colour) {
    return (colour & 0xFF000000) == kSystemColourFlag;
}

} // namespace norvale
