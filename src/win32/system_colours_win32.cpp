#include "win32/system_colours_win32.h"

#include "win32/win32_common.h"

namespace norvale::win32 {

std::uint32_t Win32SystemColours::SystemColour(int index) const {
    // A COLORREF is 0x00BBGGRR, as the core keeps colours.
    return static_cast<std::uint32_t>(GetSysColor(index));
}

} // namespace norvale::win32
