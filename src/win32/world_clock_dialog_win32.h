#pragma once

#include "core/platform/clock_dialogs.h"
#include "core/timezone/world_clock.h"
#include "win32/win32_common.h"

namespace norvale::win32 {

// The World Clock dialog: the zone list and the label box over the dialog's logic. The
// dialog's window lives only while ShowModal runs; the choices stay readable afterwards.
class Win32WorldClockDialog final : public WorldClockDialog {
public:
    Win32WorldClockDialog(HWND parent, const TVeskRegistryTimeZones& zones);
    Win32WorldClockDialog(const Win32WorldClockDialog&) = delete;
    Win32WorldClockDialog& operator=(const Win32WorldClockDialog&) = delete;

    void SelectZone(int position) override { FForm.SelectZone(position); }
    int SelectedZone() const override { return FForm.SelectedZone(); }
    void SetClockLabel(const std::string& label) override { FForm.SetClockLabel(label); }
    std::string GetClockLabel() const override { return FForm.GetClockLabel(); }
    // mrOk or mrCancel (the Cancel button, Escape or closing the window).
    int ShowModal() override;

    // The controls' identifiers, for whoever drives the dialog.
    static constexpr int kListZonesId = 101;
    static constexpr int kClockLabelId = 102;
    static constexpr int kResetId = 103;

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void PaintTitle();
    // Puts the logic's label choices and label text into the label box.
    void ShowClockLabel();
    // Takes the label as the user left it in the box.
    void ReadClockLabel();
    void OnCommand(int id, int code);

    HWND FParent;
    HWND FDialog = nullptr;
    HFONT FTitleFont = nullptr;
    TfrmWorldClock FForm;
};

} // namespace norvale::win32
