#include "win32/window_class.h"

#include <stdexcept>

namespace norvale::win32 {

void RegisterPlainWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc,
                              const char* failure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::runtime_error(failure);
    }
}

} // namespace norvale::win32
