#include "win32/system_clock_win32.h"

#include "core/time/calendar.h"
#include "win32/win32_common.h"

namespace norvale::win32 {

DateTime Win32SystemClock::Now() const {
    SYSTEMTIME st;
    GetLocalTime(&st);
    // GetLocalTime always yields a valid calendar date and time of day.
    return *EncodeDate(st.wYear, st.wMonth, st.wDay) +
           *EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

} // namespace norvale::win32
