#pragma once

#include "core/clock/clock_window.h"
#include "core/net/sntp_client.h"
#include "core/shell/clock_sound.h"
#include "core/shell/form_storage.h"
#include "core/shell/popup_menu.h"
#include "win32/alarms_form_win32.h"
#include "win32/background_work_win32.h"
#include "win32/clock_accessible.h"
#include "win32/clock_dialogs_win32.h"
#include "win32/clock_setter_log.h"
#include "win32/elevation_win32.h"
#include "win32/file_system_win32.h"
#include "win32/gdi_text_rasterizer.h"
#include "win32/layered_window_win32.h"
#include "win32/media_device_mci.h"
#include "win32/monitor_layout_win32.h"
#include "win32/placement_window_win32.h"
#include "win32/program_icons.h"
#include "win32/random_source_win32.h"
#include "win32/settings_registry_win32.h"
#include "win32/shell_opener_win32.h"
#include "win32/system_clock_win32.h"
#include "win32/system_colours_win32.h"
#include "win32/tool_tip_manager.h"
#include "win32/tray_icon_win32.h"
#include "win32/udp_socket_win32.h"
#include "win32/win32_common.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace norvale::win32 {

inline constexpr wchar_t kAppTitle[] = L"Norvale Time Clock";
inline constexpr wchar_t kMainWindowClass[] = L"NorvaleTimeClock.Main";

// The clock's top-level window: borderless, layered, a tool window so it has no taskbar
// button. It turns window messages into calls of the clock's logic and carries out what the
// logic asks of the window. Closing it fades the clock out, then ends the message loop.
class MainWindow final : public ClockWindowHost, public SoundHost {
public:
    // clockSetterLog: the test seam of the clock setter (win32/clock_setter_log.h).
    explicit MainWindow(HINSTANCE instance,
                        const std::optional<std::string>& clockSetterLog = std::nullopt);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const { return FHandle; }
    const TToolTipManager& ToolTipManager1() const { return *FToolTips; }
    std::uint64_t PresentedFrames() const { return FLayered->PresentedFrames(); }
    // Loads the skin, shows the window and starts the fade-in and the tick.
    void Start();

    bool WindowVisible() const override;
    void ShowAndActivate() override;
    void StartBeep() override;
    void StartAlarmSound(const std::string& soundFile) override;
    bool BeepRunning() const override;
    void PlayChime() override;
    void SetButtonTips(const TButtonTips& tips) override;
    void PresentFrame(const PresentRequest& request) override;
    POINT WindowPosition() const override;
    void MoveWindowTo(POINT topLeft) override;
    void DisableBeepTimer() override { SetBeepTimerEnabled(false); }
    POINT CursorClientPos() const override;
    void StartWindowDrag() override;
    void SetTopmost(bool topmost) override;
    void StepBehind() override;
    void SetClickThrough(bool through) override;
    std::string ExecutablePath() const override;
    void RequestClose() override;

    bool BeepTimerEnabled() const override { return FBeepTimerOn; }
    void SetBeepTimerEnabled(bool enabled) override;
    void RenderFrame() override;
    void ShowError(std::string_view text) override;
    void SetTrayHint(std::string_view hint) override;
    void SkinCannotBeDrawn(std::string_view text) override;
    void CursorChanged() override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    // Mouse, keyboard and cursor messages; true when the message was handled.
    bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam);
    // The system cursor for the kind the face shows.
    HCURSOR ShownCursor() const;
    // The computer woke, its clock, zone or regional format changed; true when handled.
    bool HandleTimeMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Display scale, monitor and system colour messages; true when the message was handled (a
    // work-area change is passed on to the others as well).
    bool HandleDisplay(UINT message, WPARAM wParam, LPARAM lParam);
    // The tray icon and the tool tips follow the window's display scale.
    void ApplyDisplayScale();
    void OnClose();
    void ConnectNetworkTime(const std::optional<std::string>& clockSetterLog);
    // The popup menu: its marks follow the clock's state; a chosen item runs its handler.
    void SyncMenu();
    void ShowContextMenu(LPARAM lParam);
    void RunMenuCommand(TMenuCommand command);
    void ToggleShown();
    // The settings that change how the window sits on the desktop; false for other commands.
    bool RunMannersCommand(TMenuCommand command);
    // The tray tip shows what the face shows now.
    void RefreshTrayTip();
    void SwitchSkin(const std::string& name);
    // Shows a newly loaded skin in the window: its size, its buttons' tips, its menu item.
    void ShowSkin(std::unique_ptr<TSkin> skin, const std::string& name);
    TMenuCommand SkinCommandOf(const std::string& name) const;
    // Places the window: where the settings put it, else centred on the work area.
    void PlaceWindow();
    void OnFadeTimer();
    // Keeps the 10 ms fade timer running exactly while an animation runs.
    void SyncFadeTimer();

    HINSTANCE FInstance;
    HWND FHandle = nullptr;
    std::filesystem::path FProgramFolder;
    Win32FileSystem FFiles; // skins are read through it
    Win32SystemClock FClock;
    // The registry, or in portable mode the settings file beside the program.
    std::unique_ptr<Registry> FSettings =
        OpenSettingsRegistry(FProgramFolder, [this](const std::string& text) { ShowError(text); });
    Registry& FRegistry = *FSettings;
    Win32UdpSocket FSocket;
    std::unique_ptr<ClockSetter> FClockSetter;
    Win32RandomSource FRandom;
    TIdSNTP FSntp{FSocket, FClock, *FClockSetter, FRandom};
    std::unique_ptr<Win32Elevation> FElevation;
    // Declared after what its jobs use, so that it stops them before those go.
    std::unique_ptr<Win32BackgroundWork> FWork;
    std::unique_ptr<Win32PlacementWindow> FPlacement;
    std::unique_ptr<TFormStorage> FStorage;
    Win32ShellOpener FShell;
    Win32MonitorLayout FMonitors;
    Win32SystemColours FColours;
    TPopupMenu FMenu;
    OwnedIcon FTrayImage; // declared before the tray icon, which shows it
    std::unique_ptr<Win32TrayIcon> FTray;
    std::unique_ptr<Win32ClockDialogs> FDialogs;
    std::unique_ptr<TfAlarms> FAlarms;
    GdiTextRasterizer FText;
    std::unique_ptr<Win32LayeredWindow> FLayered;
    std::unique_ptr<TfrmMain> FForm;
    std::unique_ptr<TToolTipManager> FToolTips;         // its items point at FForm's buttons
    std::unique_ptr<ClockAccessibility> FAccessibility; // reads FForm's face
    // The tray's hint without the face's reading: the program's name and the next alarm.
    std::string FTrayHint{kTrayHint};
    MciMediaDevice FSoundDevice;
    std::unique_ptr<TClockSound> FSound;
    bool FErrorShown = false; // one error box at a time
    bool FFadeTimerOn = false;
    bool FBeepTimerOn = false;
    HCURSOR FHandCursor = nullptr;
};

// Runs the message loop until the main window has closed; returns the exit code.
int RunMessageLoop();

} // namespace norvale::win32
