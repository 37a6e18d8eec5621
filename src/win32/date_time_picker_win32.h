#pragma once

#include "core/platform/date_time.h"
#include "win32/win32_common.h"

#include <optional>

namespace norvale::win32 {

// Shows a date-time in a date-time picker control. A value the control cannot hold (before
// 1899-12-30 or after 9999) shows its time of day on the first day instead.
void ShowPickerValue(HWND picker, DateTime value);
// What the control shows now; nullopt when it holds no valid date-time.
std::optional<DateTime> ReadPickerValue(HWND picker);
// The picture the control shows its value in, in the picker's own format syntax.
void SetPickerFormat(HWND picker, const wchar_t* format);

} // namespace norvale::win32
