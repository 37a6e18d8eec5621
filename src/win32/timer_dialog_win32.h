#pragma once

#include "core/dialogs/date_time_picker.h"
#include "core/platform/clock_dialogs.h"
#include "core/platform/registry.h"
#include "core/shell/form_storage.h"
#include "win32/dialog_window.h"
#include "win32/placement_window_win32.h"

#include <memory>

namespace norvale::win32 {

// The Timer dialog (frmTimer): the timer's length in a time picker and the Auto Start box.
// Its own settings store keeps the box and the dialog's place under
// "Software\Brannick\TarvexClock\Timer": restored when shown, saved whenever it closes.
class Win32TimerDialog final : public TimerDialog, private DialogWindow {
public:
    Win32TimerDialog(HWND owner, Registry& registry);

    void SetTimerDuration(DateTime duration) override { FTime.SetDateTime(duration); }
    DateTime GetTimerDuration() const override { return FTime.GetDateTime(); }
    bool GetAutoStart() const override { return FAutoStart; }
    int ShowModal() override;

    using DialogWindow::Handle;

private:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnDestroy() override;
    bool AutoStartChecked() const;
    void SetAutoStartChecked(bool checked);

    Registry& FRegistry;
    DateTimePickerValue FTime{10 * kOneSecond};
    bool FAutoStart = true;
    // The close has tried its save, so the destroy hook does not try (and report) again.
    bool FCloseSaved = false;
    // FormStorage1 and the window it places exist while the dialog's window does.
    std::unique_ptr<Win32PlacementWindow> FPlacement;
    std::unique_ptr<TFormStorage> FormStorage1;
};

} // namespace norvale::win32
