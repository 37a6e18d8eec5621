#include "dialog_driver.h"

#include <string>
#include <utility>

namespace norvale::win32::testing {
namespace {

ModalDriver* gDriver = nullptr;

constexpr UINT kTickMs = 20;
constexpr int kPatienceTicks = 2000 / kTickMs;

} // namespace

ModalDriver::ModalDriver(std::function<HWND()> find, std::function<void(HWND)> act)
    : FFind(std::move(find)), FAct(std::move(act)) {
    gDriver = this;
    FTimer = SetTimer(nullptr, 0, kTickMs, &ModalDriver::Tick);
}

ModalDriver::~ModalDriver() {
    KillTimer(nullptr, FTimer);
    gDriver = nullptr;
}

void CALLBACK ModalDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalDriver* self = gDriver;
    if (!self) {
        return;
    }
    HWND window = self->FFind();
    if (!window || !IsWindowVisible(window)) {
        return;
    }
    if (!self->FActed) {
        self->FActed = true;
        self->FAct(window);
    } else if (++self->FTicksSinceAct > kPatienceTicks) {
        EndDialog(window, kAbandoned);
    }
}

void PressKey(WPARAM key) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

HWND FindThreadWindow(const wchar_t* caption) {
    struct Search {
        const wchar_t* Caption;
        HWND Found;
    } search{caption, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t text[128] = {};
            GetWindowTextW(window, text, 128);
            if (IsWindowVisible(window) && std::wstring(text) == s->Caption) {
                s->Found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

} // namespace norvale::win32::testing
