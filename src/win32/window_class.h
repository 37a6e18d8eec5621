#pragma once

#include "win32/win32_common.h"

namespace norvale::win32 {

// Registers a window class for a window that is never drawn (no cursor, no background); a
// class registered before is no error. Throws with failure as its text otherwise.
void RegisterPlainWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc,
                              const char* failure);

} // namespace norvale::win32
