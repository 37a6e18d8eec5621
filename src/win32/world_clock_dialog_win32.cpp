#include "win32/world_clock_dialog_win32.h"

#include "core/shell/screen_placement.h"
#include "win32/display_metrics_win32.h"
#include "win32/monitor_layout_win32.h"
#include "win32/wide_text.h"

#include <cstring>
#include <stdexcept>
#include <vector>

namespace norvale::win32 {
namespace {

constexpr int kClientWidth = 320;
constexpr int kClientHeight = 219;
constexpr int kDesignedLeft = 255;
constexpr int kDesignedTop = 216;
constexpr DWORD kDialogStyle = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// A dialog template without controls (they are made in pixels at start), in the dialog's
// font: MS Sans Serif, 8 points.
std::vector<WORD> DialogTemplate() {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD));
    DLGTEMPLATE header{};
    header.style = kDialogStyle;
    header.cx = 200;
    header.cy = 140;
    std::memcpy(words.data(), &header, sizeof header);
    words.push_back(0); // no menu
    words.push_back(0); // the standard dialog class
    for (const wchar_t c : std::wstring_view(L"World Clock")) {
        words.push_back(static_cast<WORD>(c));
    }
    words.push_back(0);
    words.push_back(8); // point size
    for (const wchar_t c : std::wstring_view(L"MS Sans Serif")) {
        words.push_back(static_cast<WORD>(c));
    }
    words.push_back(0);
    return words;
}

// A control at a place designed in pixels at 100 %, mapped to the dialog's display scale.
HWND Control(HWND dialog, const wchar_t* windowClass, const wchar_t* text, DWORD style, int x,
             int y, int width, int height, int id) {
    const RECT r = WindowScale(dialog).ToPhysical({x, y, x + width, y + height});
    HWND control = CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, r.left,
                                   r.top, RectWidth(r), RectHeight(r), dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (!control) {
        throw std::runtime_error("Cannot create the World Clock dialog's controls");
    }
    SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    return control;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

Win32WorldClockDialog::Win32WorldClockDialog(HWND parent, const TVeskRegistryTimeZones& zones)
    : FParent(parent), FForm(zones) {}

int Win32WorldClockDialog::ShowModal() {
    const std::vector<WORD> dialogTemplate = DialogTemplate();
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
        FParent, &Win32WorldClockDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (result == -1) {
        throw std::runtime_error("Cannot show the World Clock dialog");
    }
    return result == IDOK ? mrOk : mrCancel;
}

INT_PTR CALLBACK Win32WorldClockDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Win32WorldClockDialog*>(lParam);
        self->FDialog = dialog;
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<Win32WorldClockDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR Win32WorldClockDialog::Handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        CreateControls();
        return TRUE;
    case WM_PAINT:
        PaintTitle();
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        DeleteObject(FTitleFont);
        FTitleFont = nullptr;
        FDialog = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

void Win32WorldClockDialog::CreateControls() {
    const DisplayScale scale = WindowScale(FDialog);
    ::RECT frame{0, 0, scale.Length(kClientWidth), scale.Length(kClientHeight)};
    AdjustWindowRectForDpi(frame, kDialogStyle,
                           static_cast<DWORD>(GetWindowLongPtrW(FDialog, GWL_EXSTYLE)),
                           scale.Dpi());
    // The designed place is a screen position, kept as it is; the grown dialog still shows
    // whole.
    const RECT placed{kDesignedLeft, kDesignedTop, kDesignedLeft + frame.right - frame.left,
                      kDesignedTop + frame.bottom - frame.top};
    const POINT at = FitOnScreen(placed, Win32MonitorLayout().WorkAreas());
    SetWindowPos(FDialog, nullptr, at.x, at.y, placed.right - placed.left,
                 placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FTitleFont = CreateFontW(-scale.Length(32), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Arial");

    Control(FDialog, L"STATIC", L"Select Time Zone:", SS_LEFT, 16, 88, 150, 13, -1);
    Control(FDialog, L"STATIC", L"", SS_ETCHEDHORZ, 8, 176, 305, 2, -1);
    Control(FDialog, L"STATIC", L"Clock Label:", SS_LEFT, 16, 40, 150, 13, -1);
    // The order of creation is the tab order.
    HWND list =
        Control(FDialog, L"LISTBOX", L"",
                WS_TABSTOP | WS_GROUP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                16, 104, 289, 65, kListZonesId);
    Control(FDialog, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 152, 189, 75, 25, IDOK);
    Control(FDialog, L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, 240, 189, 75, 25, IDCANCEL);
    Control(FDialog, L"BUTTON", L"Reset", WS_TABSTOP | BS_PUSHBUTTON, 8, 189, 75, 25, kResetId);
    // A drop-down's height includes its open list.
    HWND combo =
        Control(FDialog, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                16, 56, 145, 21 + 8 * 13, kClockLabelId);
    SendMessageW(list, LB_SETITEMHEIGHT, 0, scale.Length(13));
    SendMessageW(combo, CB_SETITEMHEIGHT, 0, scale.Length(13));

    for (const std::string& name : FForm.ListZonesItems()) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(name).c_str()));
    }
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(FForm.SelectedZone()), 0);
    ShowClockLabel();
}

// The embossed title: a white copy one pixel down and right under the grey one.
void Win32WorldClockDialog::PaintTitle() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(FDialog, &paint);
    const HGDIOBJ oldFont = SelectObject(dc, FTitleFont);
    SetBkMode(dc, TRANSPARENT);
    const DisplayScale scale = WindowScale(FDialog);
    const auto place = [&](int x, int y) {
        const RECT r = scale.ToPhysical({x, y, x + 189, y + 37});
        return ::RECT{r.left, r.top, r.right, r.bottom};
    };
    ::RECT white = place(10, 1);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, L"World Clock", -1, &white,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    ::RECT grey = place(9, 0);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, L"World Clock", -1, &grey,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    SelectObject(dc, oldFont);
    EndPaint(FDialog, &paint);
}

void Win32WorldClockDialog::ShowClockLabel() {
    HWND combo = GetDlgItem(FDialog, kClockLabelId);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& word : FForm.ClockLabelItems()) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(word).c_str()));
    }
    const std::wstring label = ToWide(FForm.GetClockLabel());
    const auto found = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(label.c_str()));
    // NOTE: the search ignores case, so a found item is taken only when it matches exactly.
    if (found != CB_ERR &&
        FForm.ClockLabelItems()[static_cast<std::size_t>(found)] == FForm.GetClockLabel()) {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    } else {
        SetWindowTextW(combo, label.c_str());
    }
}

void Win32WorldClockDialog::ReadClockLabel() {
    FForm.SetClockLabel(ToUtf8(WindowText(GetDlgItem(FDialog, kClockLabelId))));
}

void Win32WorldClockDialog::OnCommand(int id, int code) {
    switch (id) {
    case kListZonesId:
        if (code == LBN_SELCHANGE) {
            ReadClockLabel();
            const auto index = SendMessageW(GetDlgItem(FDialog, kListZonesId), LB_GETCURSEL, 0, 0);
            FForm.SetListZonesItemIndex(index == LB_ERR ? -1 : static_cast<int>(index));
            FForm.ListZonesClick();
            ShowClockLabel();
        }
        break;
    case kResetId:
        if (code == BN_CLICKED) {
            FForm.bResetClick();
            SendMessageW(GetDlgItem(FDialog, kListZonesId), LB_SETCURSEL, static_cast<WPARAM>(-1),
                         0);
            SetWindowTextW(GetDlgItem(FDialog, kClockLabelId), L"Clock");
        }
        break;
    case IDOK:
        ReadClockLabel();
        EndDialog(FDialog, IDOK);
        break;
    case IDCANCEL:
        EndDialog(FDialog, IDCANCEL);
        break;
    default:
        break;
    }
}

} // namespace norvale::win32
