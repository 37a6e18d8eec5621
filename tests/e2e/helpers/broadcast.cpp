// Sends every top-level window one of the notices Windows sends when the time or the
// settings change, so the end-to-end tests can see the clock answer them without ever
// setting the computer's clock:
//   broadcast timechange   the clock was set (WM_TIMECHANGE)
//   broadcast intl         the regional format changed (WM_SETTINGCHANGE "intl")
//   broadcast resume       the computer woke (WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC)
// Exit code 0 when the notice went out, 1 when it could not, 2 for an unknown notice.

#include <cstdio>
#include <cstring>
#include <windows.h>

int main(int argc, char** argv) {
    const char* notice = argc == 2 ? argv[1] : "";
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    if (std::strcmp(notice, "timechange") == 0) {
        message = WM_TIMECHANGE;
    } else if (std::strcmp(notice, "intl") == 0) {
        message = WM_SETTINGCHANGE;
        lParam = reinterpret_cast<LPARAM>(L"intl");
    } else if (std::strcmp(notice, "resume") == 0) {
        message = WM_POWERBROADCAST;
        wParam = PBT_APMRESUMEAUTOMATIC;
    } else {
        std::fprintf(stderr, "usage: broadcast timechange|intl|resume\n");
        return 2;
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(HWND_BROADCAST, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000,
                             &result)) {
        std::fprintf(stderr, "the notice did not go out: error %lu\n", GetLastError());
        return 1;
    }
    return 0;
}
