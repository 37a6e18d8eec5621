#include "win32/dialog_window.h"

#include "win32/display_metrics_win32.h"
#include "win32/error_report_win32.h"
#include "win32/resources/dialog_ids.h"

#include <commctrl.h>
#include <exception>
#include <string>

namespace norvale::win32 {
namespace {

// The module whose resources hold the dialog templates: the running program.
HINSTANCE ProgramInstance() {
    return GetModuleHandleW(nullptr);
}

void LoadCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_DATE_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);
}

::SIZE CaptionSize(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, text.data(), length + 1);
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    ::SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), length, &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

} // namespace

DialogWindow::DialogWindow(HWND owner, int templateId) : FOwner(owner), FTemplateId(templateId) {
    LoadCommonControls();
}

DialogWindow::~DialogWindow() {
    if (FDialog) {
        DestroyWindow(FDialog);
    }
}

int DialogWindow::RunModal() {
    const INT_PTR result =
        DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(FTemplateId), FOwner,
                        &DialogWindow::DialogProc, reinterpret_cast<LPARAM>(this));
    return static_cast<int>(result);
}

void DialogWindow::CreateModeless() {
    CreateDialogParamW(ProgramInstance(), MAKEINTRESOURCEW(FTemplateId), FOwner,
                       &DialogWindow::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* creating = reinterpret_cast<DialogWindow*>(lParam);
        creating->FDialog = dialog;
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) {
        return FALSE;
    }
    // NOTE: an exception must not unwind through the system's dialog code.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        ShowErrorReport(dialog, error.what());
    }
    // The dialog manager ends a modal dialog only at EndDialog: a failed close still closes.
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
    }
    return TRUE;
}

INT_PTR DialogWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        return OnControlCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
    case WM_TIMER:
        OnTimer(wParam);
        return TRUE;
    case WM_DRAWITEM:
        if (wParam == IDC_TITLE) {
            DrawEmbossedTitle(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    case WM_NCDESTROY:
        SetWindowLongPtrW(FDialog, DWLP_USER, 0);
        FDialog = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

void SetClientSize(HWND window, int width, int height) {
    const DisplayScale scale = WindowScale(window);
    ::RECT frame{0, 0, scale.Length(width), scale.Length(height)};
    AdjustWindowRectForDpi(frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), scale.Dpi());
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceControls(HWND dialog, std::span<const ControlPlace> places) {
    const DisplayScale scale = WindowScale(dialog);
    for (const ControlPlace& place : places) {
        HWND control = GetDlgItem(dialog, place.Id);
        const RECT r = scale.ToPhysical(
            {place.Left, place.Top, place.Left + place.Width, place.Top + place.Height});
        // The caption is measured in the dialog's font, which has the dialog's scale already.
        const ::SIZE size =
            place.Width == 0 ? CaptionSize(control) : ::SIZE{RectWidth(r), RectHeight(r)};
        SetWindowPos(control, nullptr, r.left, r.top, size.cx, size.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CentreOnScreen(HWND window) {
    ::RECT r{};
    GetWindowRect(window, &r);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DrawEmbossedTitle(const DRAWITEMSTRUCT& item) {
    const int length = GetWindowTextLengthW(item.hwndItem);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(item.hwndItem, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));

    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const DisplayScale scale = WindowScale(item.hwndItem);
    HFONT font = CreateFontW(-scale.Length(32), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    const HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    constexpr UINT kFormat = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
    const int shift = scale.Length(1);
    ::RECT white = item.rcItem;
    white.left += shift;
    white.top += shift;
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, text.c_str(), length, &white, kFormat);
    ::RECT grey = item.rcItem;
    grey.right -= shift;
    grey.bottom -= shift;
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, text.c_str(), length, &grey, kFormat);
    SelectObject(dc, old);
    DeleteObject(font);
}

} // namespace norvale::win32
