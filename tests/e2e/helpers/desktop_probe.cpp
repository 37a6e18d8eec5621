// What the end-to-end tests need of another program on the clock's desktop:
//   desktop_probe read
//       reads the clock window's accessible object, as a screen reader does, and prints its
//       name, value and role number, one per line (UTF-8); exit code 1 when there is none.
//   desktop_probe order
//       prints where the clock window stands in the windows' order: "topmost" or "normal",
//       then "front" or "behind" as it comes before or after the probe's window (or "alone"
//       when there is none); exit code 1 when there is no clock window.
//   desktop_probe window LEFT TOP WIDTH HEIGHT FILE
//       shows a plain grey window there as the active program and appends a line "click X Y" to
//       FILE for each left click it receives (client coordinates); it runs until it is closed.
// Exit code 2 for a wrong command line.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <oleacc.h>
#include <string>
#include <windows.h>

namespace {

std::string Utf8(BSTR text) {
    if (!text) {
        return {};
    }
    const int length = static_cast<int>(SysStringLen(text));
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

int Read() {
    const HWND clock = FindWindowW(L"NorvaleTimeClock.Main", nullptr);
    if (!clock) {
        std::fprintf(stderr, "no clock window\n");
        return 1;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* object = nullptr;
    const HRESULT hr =
        AccessibleObjectFromWindow(clock, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object));
    if (FAILED(hr) || !object) {
        std::fprintf(stderr, "no accessible object: 0x%08lx\n", static_cast<unsigned long>(hr));
        return 1;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    BSTR value = nullptr;
    VARIANT role;
    VariantInit(&role);
    const bool ok = SUCCEEDED(object->get_accName(self, &name)) &&
                    SUCCEEDED(object->get_accValue(self, &value)) &&
                    SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4;
    if (ok) {
        std::printf("%s\n%s\n%ld\n", Utf8(name).c_str(), Utf8(value).c_str(), role.lVal);
    } else {
        std::fprintf(stderr, "the accessible object did not answer\n");
    }
    SysFreeString(name);
    SysFreeString(value);
    object->Release();
    CoUninitialize();
    return ok ? 0 : 1;
}

int Order() {
    const HWND clock = FindWindowW(L"NorvaleTimeClock.Main", nullptr);
    if (!clock) {
        std::fprintf(stderr, "no clock window\n");
        return 1;
    }
    const HWND probe = FindWindowW(L"NorvaleDesktopProbe", nullptr);
    const char* place = "alone";
    for (HWND w = GetTopWindow(nullptr); w && probe; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == clock || w == probe) {
            place = w == clock ? "front" : "behind";
            break;
        }
    }
    const bool topmost = (GetWindowLongPtrW(clock, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    std::printf("%s %s\n", topmost ? "topmost" : "normal", place);
    return 0;
}

const char* gClickLog = nullptr;

LRESULT CALLBACK TargetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        if (FILE* log = std::fopen(gClickLog, "a")) {
            std::fprintf(log, "click %d %d\n", static_cast<short>(LOWORD(lParam)),
                         static_cast<short>(HIWORD(lParam)));
            std::fclose(log);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

int Window(int left, int top, int width, int height, const char* log) {
    gClickLog = log;
    WNDCLASSW wc{};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = L"NorvaleDesktopProbe";
    RegisterClassW(&wc);
    const HWND window = CreateWindowExW(0, wc.lpszClassName, L"Desktop probe", WS_POPUP, left, top,
                                        width, height, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) {
        return 1;
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "read") == 0) {
        return Read();
    }
    if (argc == 2 && std::strcmp(argv[1], "order") == 0) {
        return Order();
    }
    if (argc == 7 && std::strcmp(argv[1], "window") == 0) {
        return Window(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                      std::atoi(argv[5]), argv[6]);
    }
    std::fprintf(stderr, "usage: desktop_probe read | order | window LEFT TOP WIDTH HEIGHT FILE\n");
    return 2;
}
