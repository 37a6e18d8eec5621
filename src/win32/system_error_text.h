#pragma once

#include <cstdint>
#include <string>

namespace norvale::win32 {

// The system's message text for an error code (as GetLastError gives), without the trailing
// line break; empty when the system has none.
std::string SystemErrorText(std::uint32_t code);

} // namespace norvale::win32
