#include "win32/date_time_picker_win32.h"

#include "core/dialogs/date_time_picker.h"
#include "core/time/system_time.h"

#include <commctrl.h>
#include <cstring>

namespace norvale::win32 {

static_assert(sizeof(::SYSTEMTIME) == sizeof(norvale::SYSTEMTIME));

void ShowPickerValue(HWND picker, DateTime value) {
    std::optional<norvale::SYSTEMTIME> time = DateTimeToSystemTime(value);
    if (!time) {
        time = DateTimeToSystemTime(DateTimePickerValue(value).GetTime());
    }
    ::SYSTEMTIME native;
    std::memcpy(&native, &*time, sizeof native);
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&native));
}

std::optional<DateTime> ReadPickerValue(HWND picker) {
    ::SYSTEMTIME native{};
    if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&native)) !=
        GDT_VALID) {
        return std::nullopt;
    }
    norvale::SYSTEMTIME time;
    std::memcpy(static_cast<void*>(&time), &native, sizeof time);
    return SystemTimeToDateTime(time);
}

void SetPickerFormat(HWND picker, const wchar_t* format) {
    SendMessageW(picker, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format));
}

} // namespace norvale::win32
