#pragma once

#include <cstdint>

namespace norvale {

// The user's current system colours (the theme's window, highlight, button colours ...).
class SystemColours {
public:
    virtual ~SystemColours() = default;

    // The colour with system-colour index `index`, as 0x00BBGGRR.
    virtual std::uint32_t SystemColour(int index) const = 0;
};

} // namespace norvale
