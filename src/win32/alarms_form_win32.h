#pragma once

#include "core/alarms/alarm_editing.h"
#include "core/platform/registry.h"
#include "core/shell/form_storage.h"
#include "win32/dialog_window.h"
#include "win32/placement_window_win32.h"

#include <memory>
#include <optional>

namespace norvale::win32 {

// The Alarms window (fAlarms): the list of alarms, each switched on or off by its box, and
// the panels of the selected one. Every change takes effect at once. It is made hidden once
// at start-up and lives until the end; closing it only hides it, and it opens where it was.
class TfAlarms final : private DialogWindow {
public:
    TfAlarms(HWND owner, AlarmEditing& alarms, Registry& settings);
    ~TfAlarms() override;

    // Shows the window without making it modal (Alarms1Click), or brings it to the front.
    void Show();

    using DialogWindow::Handle;

private:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    bool OnControlCommand(int id, int code) override;
    bool OnNotify(const NMHDR& notice) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;

    void Hide();
    // The list's rows follow the alarms: their names, their boxes, when they go off next.
    void RefreshList();
    void Select(int row);
    std::optional<std::size_t> Selected() const;
    // The selected alarm's settings go to the panels, or the panels go blank without one.
    void ShowSelected();
    // What the panels show becomes the selected alarm's settings.
    void ApplySettings();
    void AddAlarm();
    void DeleteAlarm();
    void ChooseSound();
    void SetSound(std::string sound);
    void SwitchAlarm(std::size_t index, bool enabled);

    AlarmEditing& FAlarms;
    Registry& FSettings;
    std::unique_ptr<Win32PlacementWindow> FPlacement;
    std::unique_ptr<TFormStorage> FStorage;
    // The panel of years starts at the year it was opened in.
    int FFirstYear = 0;
    // Set while the window itself changes its controls, whose notices are then no edits.
    bool FUpdating = false;
    bool FPlaced = false;
};

} // namespace norvale::win32
