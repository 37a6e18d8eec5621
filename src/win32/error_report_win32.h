#pragma once

#include "win32/win32_common.h"

#include <string_view>

namespace norvale::win32 {

// The application's standard error report: a message box with the error icon and an OK
// button, captioned with the application's title; returns when the user has closed it.
void ShowErrorReport(HWND owner, std::string_view errorText);

} // namespace norvale::win32
