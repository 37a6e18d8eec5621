#include "core/shell/maker_page.h"
#include "win32/main_window.h"
#include "win32/msxml_document.h"
#include "win32/popup_menu_win32.h"

namespace norvale::win32 {

void MainWindow::SyncMenu() {
    FMenu.UpdateModeItems(FForm->FClockType);
    FMenu.SetChecked(TMenuCommand::OnTop, FForm->OnTop1Checked);
    FMenu.SetChecked(TMenuCommand::LoadAtStartup, FForm->LoadatStartup1Checked);
    FMenu.SetChecked(TMenuCommand::Chimes, FForm->Chimes1Checked);
    FMenu.SetChecked(TMenuCommand::AmPm, FForm->AMPM1Checked);
    FMenu.ShowAlarmItems(FForm->AlarmRinging(), FForm->AlarmSounding());
    FMenu.SetChecked(TMenuCommand::LockPosition, FForm->LockPosition1Checked);
    FMenu.SetChecked(TMenuCommand::ClickThrough, FForm->ClickThrough1Checked);
    FMenu.SetChecked(TMenuCommand::HideWhenFullScreen, FForm->HideWhenFullScreen1Checked);
    FMenu.UpdateOpacityItems(FForm->Opacity());
}

void MainWindow::ShowContextMenu(LPARAM lParam) {
    ::POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (lParam == -1) {
        // From the keyboard: the menu opens over the middle of the face.
        ::RECT r{};
        GetWindowRect(FHandle, &r);
        at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    SyncMenu();
    SetForegroundWindow(FHandle);
    const TMenuCommand chosen = TrackPopupMenu(FMenu.Items(), FHandle, at);
    if (chosen != TMenuCommand::None) {
        RunMenuCommand(FMenu.Click(chosen));
    }
}

void MainWindow::ToggleShown() {
    ::POINT cursor{};
    GetCursorPos(&cursor);
    SetForegroundWindow(FHandle);
    FForm->RxTrayIcon1Click({cursor.x, cursor.y});
    SyncFadeTimer();
}

// The menu has already flipped a self-toggling item's mark when this runs.
void MainWindow::RunMenuCommand(TMenuCommand command) {
    if (IsSkinCommand(command)) {
        SwitchSkin(FMenu.SkinName(command));
        return;
    }
    if (RunMannersCommand(command)) {
        SyncFadeTimer();
        return;
    }
    switch (command) {
    case TMenuCommand::ShowHide:
        ToggleShown();
        break;
    case TMenuCommand::About: {
        const std::u8string folder = FProgramFolder.u8string();
        OpenMakerPage(FRegistry, FShell,
                      MakerPageAddress(std::string(folder.begin(), folder.end())));
        break;
    }
    case TMenuCommand::Clock:
    case TMenuCommand::Countdown:
    case TMenuCommand::UpTime:
    case TMenuCommand::Stopwatch:
    case TMenuCommand::Timer:
        FForm->aClockExecute(static_cast<int>(command) - static_cast<int>(TMenuCommand::Clock));
        break;
    case TMenuCommand::WorldClock:
        FForm->WorldClock1Click();
        break;
    case TMenuCommand::SetCountdown:
        FForm->SetCountdown1Click();
        break;
    case TMenuCommand::SetTimer:
        FForm->imer2Click();
        break;
    case TMenuCommand::Alarms:
        FAlarms->Show();
        break;
    case TMenuCommand::OnTop:
        FForm->OnTop1Checked = FMenu.Checked(command);
        FForm->OnTop1Click();
        break;
    case TMenuCommand::LoadAtStartup:
        FForm->LoadatStartup1Checked = FMenu.Checked(command);
        FForm->LoadatStartup1Click();
        break;
    case TMenuCommand::Chimes:
        FForm->Chimes1Checked = FMenu.Checked(command);
        break;
    case TMenuCommand::AmPm:
        FForm->AMPM1Checked = FMenu.Checked(command);
        FForm->AMPM1Click();
        break;
    case TMenuCommand::Exit:
        FForm->Exit1Click();
        break;
    case TMenuCommand::Snooze:
        FForm->Snooze1Click();
        break;
    case TMenuCommand::StopAlarm:
        FForm->StopAlarm1Click();
        break;
    default:
        break;
    }
    SyncFadeTimer();
}

bool MainWindow::RunMannersCommand(TMenuCommand command) {
    if (IsOpacityCommand(command)) {
        FForm->SetOpacity(OpacityOf(command));
        return true;
    }
    switch (command) {
    case TMenuCommand::LockPosition:
        FForm->LockPosition1Checked = FMenu.Checked(command);
        return true;
    case TMenuCommand::ClickThrough:
        FForm->ClickThrough1Checked = FMenu.Checked(command);
        FForm->ClickThrough1Click();
        return true;
    case TMenuCommand::HideWhenFullScreen:
        FForm->HideWhenFullScreen1Checked = FMenu.Checked(command);
        FForm->HideWhenFullScreen1Click();
        return true;
    default:
        return false;
    }
}

// A skin that fails to load leaves the previous one fully in place, checked in the menu. One
// that loads is the user's choice from now on.
void MainWindow::SwitchSkin(const std::string& name) {
    const std::string previous = FForm->FShownSkin;
    std::unique_ptr<TSkin> skin;
    try {
        const auto xml = MakeMsxmlDocument();
        const SkinLoadContext context{FProgramFolder,         FFiles, *xml,
                                      FForm->FFormatSettings, FText,  FForm->Scale()};
        skin = LoadSkin(name, context, FForm->Labels, FForm->Buttons);
    } catch (const std::exception&) {
        FMenu.Click(SkinCommandOf(previous));
        throw;
    }
    ShowSkin(std::move(skin), name);
    FForm->FClockSkin = name;
}

// The other skin is in place before the message shows, as the tick goes on under the box.
void MainWindow::SkinCannotBeDrawn(std::string_view text) {
    std::string message(text);
    std::string name = FForm->FShownSkin;
    const auto xml = MakeMsxmlDocument();
    const SkinLoadContext context{FProgramFolder,         FFiles, *xml,
                                  FForm->FFormatSettings, FText,  FForm->Scale()};
    auto skin = FallbackSkin(name, context, FForm->Labels, FForm->Buttons, message);
    ShowSkin(std::move(skin), name);
    FMenu.Click(SkinCommandOf(name));
    ShowError(message);
}

void MainWindow::ShowSkin(std::unique_ptr<TSkin> skin, const std::string& name) {
    FForm->SetSkin(std::move(skin));
    FForm->FShownSkin = name;
    const int width = FForm->Skin()->Width();
    const int height = FForm->Skin()->Height();
    SetWindowPos(FHandle, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FToolTips->RecreateTipWindow();
    // The next tick draws the new skin.
    FForm->FLastKey = -1;
}

TMenuCommand MainWindow::SkinCommandOf(const std::string& name) const {
    for (std::size_t i = 0;; ++i) {
        const TMenuCommand command = SkinCommand(i);
        if (FMenu.Find(command) == nullptr) {
            return TMenuCommand::None;
        }
        if (FMenu.SkinName(command) == name) {
            return command;
        }
    }
}

} // namespace norvale::win32
