#include "win32/main_window.h"

#include "core/net/time_server.h"
#include "win32/display_metrics_win32.h"
#include "win32/error_report_win32.h"
#include "win32/locale_format_settings.h"
#include "win32/msxml_document.h"
#include "win32/program_icons.h"
#include "win32/registry_time_zones.h"
#include "win32/single_instance_win32.h"
#include "win32/wide_text.h"
#include "win32/window_class.h"

#include <stdexcept>

namespace norvale::win32 {
namespace {

constexpr UINT_PTR kTickTimer = 1; // Timer1, 100 ms
constexpr UINT_PTR kFadeTimer = 2; // fadeTimer, 10 ms
constexpr UINT_PTR kBeepTimer = 3; // tBeep, 1000 ms
constexpr UINT kTickMs = 100;
constexpr UINT kFadeMs = 10;
constexpr UINT kBeepMs = 1000;

void RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hIcon = ProgramIconImage(instance, 32);
    wc.hIconSm = ProgramIconImage(instance, 16);
    wc.lpszClassName = kMainWindowClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::runtime_error("Cannot register the main window class");
    }
}

std::filesystem::path ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::filesystem::path(path);
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance, const std::optional<std::string>& clockSetterLog)
    : FInstance(instance), FProgramFolder(ModulePath().parent_path()),
      FClockSetter(MakeClockSetter(clockSetterLog, ClockSetterLog::Role::Clock)) {
    RegisterWindowClass(instance, &MainWindow::WindowProc);
    FHandle = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, kMainWindowClass, kAppTitle,
                              WS_POPUP, 0, 0, 150, 150, nullptr, nullptr, instance, this);
    if (!FHandle) {
        throw std::runtime_error("Cannot create the main window");
    }
    FLayered = std::make_unique<Win32LayeredWindow>(FHandle);
    FForm = std::make_unique<TfrmMain>(FClock, RegistryTimeZones(), *this, FText);
    FForm->FFormatSettings = ReadUserFormatSettings();
    FPlacement = std::make_unique<Win32PlacementWindow>(FHandle, true, false);
    FStorage = std::make_unique<TFormStorage>(FRegistry, *FPlacement,
                                              FForm->FFormatSettings.DecimalSeparator);
    FDialogs = std::make_unique<Win32ClockDialogs>(FHandle, FRegistry, RegistryTimeZones());
    FForm->ConnectServices({FDialogs.get(), &FSntp, &FRegistry, &FMonitors, &FColours});
    FForm->SetDisplayScale(WindowScale(FHandle));
    ConnectNetworkTime(clockSetterLog);
    // The tray icon is made with the window and shows itself once the window is set up.
    TrayIconHandlers tray;
    tray.OnClick = [this](TMouseButton, TShiftState, POINT) { ToggleShown(); };
    tray.OnMenuItem = [this](TMenuCommand command) { RunMenuCommand(command); };
    tray.OnError = [this](std::string_view text) { ShowError(text); };
    // The pointer over the icon: the tip about to show is brought up to date.
    tray.OnMouseMove = [this](TShiftState, POINT) { RefreshTrayTip(); };
    FTrayImage = TrayIconImage(instance, FForm->Scale().Dpi());
    FTray = std::make_unique<Win32TrayIcon>(instance, FTrayImage.get(), std::move(tray));
    FTray->Icon().PopupMenu = &FMenu;
    FHandCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)); // IDC_HAND
    // Plain tips for the face buttons: item 0 the left one, item 1 the right one.
    FToolTips = std::make_unique<TToolTipManager>(FHandle, instance);
    FToolTips->BalloonTip = false;
    FToolTips->Scale = FForm->Scale();
    FToolTips->AddItem(FForm->Buttons[0], "");
    FToolTips->AddItem(FForm->Buttons[1], "");
    FToolTips->RecreateTipWindow();
    FAccessibility =
        std::make_unique<ClockAccessibility>(FHandle, [this] { return FForm->FaceReading(); });
    const std::u8string folder = FProgramFolder.u8string();
    FSound = std::make_unique<TClockSound>(FSoundDevice, *this,
                                           std::string(folder.begin(), folder.end()));
    FSoundDevice.SetNoticeHandler([this](MciNotice) { FSound->MediaPlayer1Notify(); });
}

// The elevated job gets the clock setter's test seam too, so that no run of a test sets the
// computer's clock.
void MainWindow::ConnectNetworkTime(const std::optional<std::string>& clockSetterLog) {
    std::vector<std::string> seam;
    if (clockSetterLog) {
        seam = {"--clock-setter-log", *clockSetterLog};
    }
    FElevation = std::make_unique<Win32Elevation>(FHandle, ModulePath(), std::move(seam));
    FWork = std::make_unique<Win32BackgroundWork>(FInstance);
    FForm->ConnectNetworkTime({FWork.get(), FElevation.get(), [this](std::string_view question) {
                                   return MessageBoxW(FHandle, ToWide(question).c_str(), kAppTitle,
                                                      MB_OKCANCEL | MB_ICONWARNING |
                                                          MB_DEFBUTTON2) == IDOK;
                               }});
}

MainWindow::~MainWindow() {
    if (FHandle) {
        DestroyWindow(FHandle);
    }
}

void MainWindow::Start() {
    FForm->SetDefaults();
    FForm->ConfigureStorage(*FStorage);
    const TimeServer server = ReadTimeServerSetting(FRegistry);
    FSntp.Host = server.Host;
    FSntp.Port = server.Port;
    std::vector<std::string> messages;
    try {
        FStorage->RestoreState();
    } catch (const std::exception& error) {
        // Unreadable settings keep their defaults; the clock still starts.
        messages.emplace_back(error.what());
    }
    if (std::string report = FForm->LoadAlarms(); !report.empty()) {
        messages.push_back(std::move(report));
    }
    // The restored place may lie on a monitor of another scale.
    FForm->SetDisplayScale(WindowScale(FHandle));
    ApplyDisplayScale();
    const auto xml = MakeMsxmlDocument();
    const SkinLoadContext context{FProgramFolder,         FFiles, *xml,
                                  FForm->FFormatSettings, FText,  FForm->Scale()};
    FForm->LoadStartSkin(context, messages);
    // The buttons may have moved.
    FToolTips->RecreateTipWindow();
    PlaceWindow();
    for (const std::string& folder : ListSkinFolders(FProgramFolder)) {
        FMenu.AddSkin(folder, FForm->FShownSkin);
    }
    SyncMenu();
    RefreshTrayTip();
    FTray->Icon().Loaded();

    // The first frame is drawn before the fade-in shows it.
    ShowWindow(FHandle, SW_SHOWNOACTIVATE);
    FForm->OnTop1Click();
    SetForegroundWindow(FHandle);
    FForm->SetHandAngles(FForm->ZoneNow());
    FForm->RenderFrame();
    FForm->FFade.StartStartupFadeIn();
    SyncFadeTimer();
    FForm->StartTick();
    SetTimer(FHandle, kTickTimer, kTickMs, nullptr);
    FAlarms = std::make_unique<TfAlarms>(FHandle, *FForm, FRegistry);
    for (const std::string& message : messages) {
        ShowError(message);
    }
}

void MainWindow::PlaceWindow() {
    const int width = FForm->Skin()->Width();
    const int height = FForm->Skin()->Height();
    ::RECT now{};
    GetWindowRect(FHandle, &now);
    int left = now.left;
    int top = now.top;
    if (!FStorage->PlacementRestored()) {
        // No stored place yet: centred on the work area.
        ::RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        left = work.left + (work.right - work.left - width) / 2;
        top = work.top + (work.bottom - work.top - height) / 2;
    }
    const POINT place = FForm->OnScreenPlace({left, top});
    left = place.x;
    top = place.y;
    SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOACTIVATE | SWP_NOZORDER);
    FadeZoom& fade = FForm->FFade;
    fade.SetZoomCenter({left + width / 2, top + height / 2});
    fade.SetRestCenter({left + width / 2, top + height / 2});
    fade.SetWindowPos({left, top});
}

bool MainWindow::WindowVisible() const {
    return IsWindowVisible(FHandle) != FALSE;
}

void MainWindow::ShowAndActivate() {
    ShowWindow(FHandle, SW_SHOWNORMAL);
    SetForegroundWindow(FHandle);
    SyncFadeTimer();
}

void MainWindow::StartBeep() {
    FSound->StartBeep();
}

void MainWindow::StartAlarmSound(const std::string& soundFile) {
    FSound->StartAlarm(soundFile);
}

void MainWindow::SetTrayHint(std::string_view hint) {
    FTrayHint = hint;
    RefreshTrayTip();
}

bool MainWindow::BeepRunning() const {
    return FBeepTimerOn;
}

void MainWindow::PlayChime() {
    FSound->PlayChime();
}

void MainWindow::SetBeepTimerEnabled(bool enabled) {
    FBeepTimerOn = enabled;
    if (enabled) {
        SetTimer(FHandle, kBeepTimer, kBeepMs, nullptr);
    } else {
        KillTimer(FHandle, kBeepTimer);
    }
}

void MainWindow::RenderFrame() {
    FForm->RenderFrame();
}

// NOTE: a message box runs its own message loop, in which the tick and every other message
// of the window go on; an error of one of them must not stack another box on the first.
void MainWindow::ShowError(std::string_view text) {
    if (FErrorShown) {
        return;
    }
    FErrorShown = true;
    ShowErrorReport(FHandle, text);
    FErrorShown = false;
}

void MainWindow::RefreshTrayTip() {
    const std::string hint = TrayHintWithReading(FTrayHint, FForm->FaceReading());
    if (hint != FTray->Icon().Hint()) {
        FTray->Icon().SetHint(hint);
    }
}

// Called whenever the mode is set: a reader following the clock hears the new face.
void MainWindow::SetButtonTips(const TButtonTips& tips) {
    if (FAccessibility) {
        FAccessibility->Changed();
    }
    FToolTips->Item(0).Description = tips.Left;
    FToolTips->Item(1).Description = tips.Right;
    FToolTips->Item(0).RefreshTool();
    FToolTips->Item(1).RefreshTool();
}

void MainWindow::MoveWindowTo(POINT topLeft) {
    SetWindowPos(FHandle, nullptr, topLeft.x, topLeft.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT MainWindow::CursorClientPos() const {
    ::POINT p{};
    GetCursorPos(&p);
    ScreenToClient(FHandle, &p);
    return {p.x, p.y};
}

void MainWindow::StartWindowDrag() {
    // NOTE: Wine starts a move that follows the mouse even when no button is held, so the
    // move command goes out only while the left button is down.
    if (GetKeyState(VK_LBUTTON) >= 0) {
        return;
    }
    ReleaseCapture();
    DefWindowProcW(FHandle, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void MainWindow::SetTopmost(bool topmost) {
    SetWindowPos(FHandle, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// NOTE: HWND_BOTTOM takes a topmost window out of the topmost band as well, in one call.
void MainWindow::StepBehind() {
    SetWindowPos(FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::SetClickThrough(bool through) {
    const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
    SetWindowLongPtrW(FHandle, GWL_EXSTYLE,
                      through ? style | WS_EX_TRANSPARENT : style & ~LONG_PTR{WS_EX_TRANSPARENT});
}

std::string MainWindow::ExecutablePath() const {
    return ToUtf8(ModulePath().wstring());
}

void MainWindow::RequestClose() {
    PostMessageW(FHandle, WM_CLOSE, 0, 0);
}

void MainWindow::PresentFrame(const PresentRequest& request) {
    FLayered->Present(request);
}

POINT MainWindow::WindowPosition() const {
    ::RECT r{};
    GetWindowRect(FHandle, &r);
    return {r.left, r.top};
}

void MainWindow::SyncFadeTimer() {
    const bool wanted = FForm->FFade.Enabled();
    if (wanted == FFadeTimerOn) {
        return;
    }
    FFadeTimerOn = wanted;
    if (wanted) {
        SetTimer(FHandle, kFadeTimer, kFadeMs, nullptr);
    } else {
        KillTimer(FHandle, kFadeTimer);
    }
}

void MainWindow::OnFadeTimer() {
    TSkin& skin = *const_cast<TSkin*>(FForm->Skin());
    const FadeStep step = FForm->FFade.fadeTimerTimer(skin.Frame, skin.ZoomFrame);
    FLayered->Present(step.Present);
    SyncFadeTimer();
    switch (step.Then) {
    case AfterFade::RenderFrame:
        FForm->RenderFrame();
        break;
    case AfterFade::Hide:
        ShowWindow(FHandle, SW_HIDE);
        break;
    case AfterFade::HideAndClose:
        ShowWindow(FHandle, SW_HIDE);
        FForm->ClosingFadeEnded();
        OnClose();
        break;
    case AfterFade::Continue:
        break;
    }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowOwner<MainWindow>(hwnd, message, lParam);
    if (self && message == WM_NCCREATE) {
        // The handle is needed by every message before CreateWindowExW returns it.
        self->FHandle = hwnd;
    }
    if (self) {
        return self->Handle(message, wParam, lParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void MainWindow::OnClose() {
    if (FForm->FormCloseQuery() && FForm->FormClose()) {
        DestroyWindow(FHandle);
    } else {
        SyncFadeTimer();
    }
}

// Every handler's error goes to the application's error report; the program goes on with
// the next message.
LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return Dispatch(message, wParam, lParam);
    } catch (const std::exception& error) {
        ShowError(error.what());
        return 0;
    }
}

LRESULT MainWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleInput(message, wParam, lParam) || HandleDisplay(message, wParam, lParam) ||
        HandleTimeMessage(message, wParam, lParam)) {
        return 0;
    }
    if (message == AnotherStartMessage()) {
        const bool cameForward = FForm->AnotherStart();
        SyncFadeTimer();
        return cameForward ? 1 : 0;
    }
    switch (message) {
    case WM_TIMER:
        if (wParam == kTickTimer) {
            FForm->Timer1Timer();
            SyncFadeTimer();
            // As actions update at idle: the marks follow the mode however it changed.
            SyncMenu();
        } else if (wParam == kFadeTimer) {
            OnFadeTimer();
        } else if (wParam == kBeepTimer) {
            FSound->tBeepTimer();
        }
        return 0;
    case WM_CLOSE:
        // A shown clock fades out and shrinks in place first; the fade's end closes it again.
        OnClose();
        return 0;
    case WM_CONTEXTMENU:
        ShowContextMenu(lParam);
        return 0;
    case WM_GETOBJECT:
        if (const LRESULT answer = FAccessibility ? FAccessibility->Answer(wParam, lParam) : 0) {
            return answer;
        }
        return DefWindowProcW(FHandle, message, wParam, lParam);
    case WM_QUERYENDSESSION:
        // The session may end: the settings are saved now, and again when it does end, with
        // what the stopwatch and the timer counted meanwhile.
        FForm->FormCloseQuery();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) {
            FForm->FormCloseQuery();
        }
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(ShownCursor());
            return TRUE;
        }
        return DefWindowProcW(FHandle, message, wParam, lParam);
    case WM_DESTROY:
        // A query still waiting ends now; its outcome is not shown.
        FWork->Stop();
        KillTimer(FHandle, kTickTimer);
        KillTimer(FHandle, kFadeTimer);
        KillTimer(FHandle, kBeepTimer);
        FAccessibility.reset();
        SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
        FHandle = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(FHandle, message, wParam, lParam);
    }
}

int RunMessageLoop() {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        // A modeless dialog (the Alarms form) gets its keyboard handling: Tab, Escape.
        const HWND active = GetActiveWindow();
        wchar_t className[8] = {};
        if (active && GetClassNameW(active, className, 8) && lstrcmpW(className, L"#32770") == 0 &&
            IsDialogMessageW(active, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return got < 0 ? 1 : static_cast<int>(msg.wParam);
}

} // namespace norvale::win32
