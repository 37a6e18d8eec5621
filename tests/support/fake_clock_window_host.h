#pragma once

#include "core/platform/clock_window_host.h"

#include <string>
#include <string_view>
#include <vector>

namespace norvale::testing {

// The window around the clock's logic, recording what the logic asked of it.
class FakeClockWindowHost final : public ClockWindowHost {
public:
    bool WindowVisible() const override { return Visible; }
    void ShowAndActivate() override {
        ++Shown;
        Visible = true;
    }
    void StartBeep() override {
        ++Beeps;
        Beeping = true;
    }
    void StartAlarmSound(const std::string& soundFile) override {
        AlarmSounds.push_back(soundFile);
        Beeping = true;
    }
    bool BeepRunning() const override { return Beeping; }
    void PlayChime() override { ++Chimes; }
    void SetButtonTips(const TButtonTips& tips) override { Tips = tips; }
    void PresentFrame(const PresentRequest& request) override {
        ++Frames;
        LastAlpha = request.ConstantAlpha;
        LastSize = request.Size;
        LastFramePosition = request.Position;
    }
    POINT WindowPosition() const override { return Position; }
    void MoveWindowTo(POINT topLeft) override { Position = topLeft; }
    void DisableBeepTimer() override { Beeping = false; }
    POINT CursorClientPos() const override { return Cursor; }
    void StartWindowDrag() override { ++Drags; }
    void SetTopmost(bool topmost) override {
        Topmost = topmost;
        Behind = false;
    }
    void StepBehind() override {
        Topmost = false;
        Behind = true;
        ++StepsBehind;
    }
    void SetClickThrough(bool through) override { ClickThrough = through; }
    std::string ExecutablePath() const override { return Executable; }
    void RequestClose() override { ++CloseRequests; }
    void ShowError(std::string_view text) override { Errors.emplace_back(text); }
    void SetTrayHint(std::string_view hint) override { TrayHint = hint; }
    void SkinCannotBeDrawn(std::string_view text) override { BrokenFrames.emplace_back(text); }
    void CursorChanged() override { ++CursorChanges; }

    bool Visible = true;
    bool Beeping = false;
    bool Topmost = false;
    bool Behind = false; // out of the topmost band, behind the other windows
    bool ClickThrough = false;
    int StepsBehind = 0;
    POINT Position{100, 200};
    POINT Cursor;
    std::string Executable = "C:\\Program Files\\Norvale\\NorvaleTimeClock.exe";
    int Shown = 0;
    int Beeps = 0;
    int Chimes = 0;
    int Frames = 0;
    int Drags = 0;
    int CloseRequests = 0;
    int CursorChanges = 0;
    int LastAlpha = -1;
    SIZE LastSize;
    POINT LastFramePosition;
    TButtonTips Tips;
    std::vector<std::string> Errors;
    // The sound file of each alarm of the Alarms window started, in order.
    std::vector<std::string> AlarmSounds;
    std::string TrayHint;
    std::vector<std::string> BrokenFrames;
};

} // namespace norvale::testing
