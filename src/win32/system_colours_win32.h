#pragma once

#include "core/platform/system_colours.h"

namespace norvale::win32 {

// The system colours as the user's theme has them now.
class Win32SystemColours final : public SystemColours {
public:
    std::uint32_t SystemColour(int index) const override;
};

} // namespace norvale::win32
