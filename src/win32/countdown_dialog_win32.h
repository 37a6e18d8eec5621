#pragma once

#include "core/dialogs/countdown_pickers.h"
#include "core/platform/clock_dialogs.h"
#include "win32/dialog_window.h"

namespace norvale::win32 {

// The Countdown dialog (frmCountdown): the target's date and time of day in two pickers,
// topmost and centred on the screen.
class Win32CountdownDialog final : public CountdownDialog, private DialogWindow {
public:
    explicit Win32CountdownDialog(HWND owner);

    void SetCountdownTarget(DateTime target) override { FPickers.SetCountdownTarget(target); }
    DateTime GetCountdownTarget() const override { return FPickers.GetCountdownTarget(); }
    int ShowModal() override { return RunModal(); }

    using DialogWindow::Handle;

private:
    void OnInitDialog() override;
    bool OnCommand(int id) override;

    CountdownPickers FPickers;
};

} // namespace norvale::win32
