#pragma once

#include "win32/dialog_window.h"

namespace norvale::win32 {

// The Alarms form (fAlarms): a layout of alarm conditions without behaviour. It is made
// hidden once at start-up and lives until the end; closing it only hides it again.
class TfAlarms final : private DialogWindow {
public:
    explicit TfAlarms(HWND owner);

    // Shows the form without making it modal (Alarms1Click).
    void Show();

    using DialogWindow::Handle;

private:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
};

} // namespace norvale::win32
