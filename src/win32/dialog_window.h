#pragma once

#include "win32/win32_common.h"

#include <span>

namespace norvale::win32 {

// Where a control sits, in client pixels at 100 % (mapped to the dialog's display scale when
// placed). A Width of 0 sizes a label to its caption.
struct ControlPlace {
    int Id = 0;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// A dialog made from a template of dialogs.rc. Subclasses act on its messages; an error
// raised in a handler ends that handler and is shown by the application's error report.
class DialogWindow {
public:
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    virtual ~DialogWindow();

    HWND Handle() const { return FDialog; }

protected:
    DialogWindow(HWND owner, int templateId);

    // Shows the dialog until EndDialog; returns the result it ended with.
    int RunModal();
    // Makes the dialog without showing it; it lives until this object is destroyed.
    void CreateModeless();

    virtual void OnInitDialog() {}
    // A command of a control; returns whether it was handled.
    virtual bool OnCommand(int id) = 0;
    // A command with its notification code (EN_CHANGE ...); by default OnCommand(id).
    virtual bool OnControlCommand(int id, int /*code*/) { return OnCommand(id); }
    // A common control's notice (WM_NOTIFY); returns whether it was handled.
    virtual bool OnNotify(const NMHDR& /*notice*/) { return false; }
    virtual void OnTimer(UINT_PTR /*id*/) {}
    virtual void OnDestroy() {}

    HWND FOwner;
    HWND FDialog = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    int FTemplateId;
};

// Gives the window a client area of exactly this many pixels at 100 %, mapped to its display
// scale, whatever its frame.
void SetClientSize(HWND window, int width, int height);
// NOTE: dialog units scale with the dialog font, so the controls are placed in pixels here,
// mapped to the dialog's display scale.
void PlaceControls(HWND dialog, std::span<const ControlPlace> places);
void CentreOnScreen(HWND window);

// Draws the owner-drawn title of a dialog: its caption in large bold Arial, grey over a white
// copy one pixel to the right and below, which looks embossed.
void DrawEmbossedTitle(const DRAWITEMSTRUCT& item);

} // namespace norvale::win32
