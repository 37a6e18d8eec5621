#pragma once

#include "core/platform/geometry.h"
#include "core/platform/layered_window.h"

#include <string>
#include <string_view>

namespace norvale {

// The tool-tip texts of the left and right face button.
struct TButtonTips {
    std::string Left;
    std::string Right;
};

// What the clock's logic asks of its window and of the services around it.
class ClockWindowHost {
public:
    virtual ~ClockWindowHost() = default;

    virtual bool WindowVisible() const = 0;
    // Shows the hidden window in its normal state and brings it to the foreground.
    virtual void ShowAndActivate() = 0;
    // Starts the alarm beep (and the beep timer that repeats it).
    virtual void StartBeep() = 0;
    // Starts an alarm of the Alarms window with its sound file, repeated as the beep is;
    // without a file (or when it cannot be played) the beep sounds.
    virtual void StartAlarmSound(const std::string& soundFile) = 0;
    virtual bool BeepRunning() const = 0;
    virtual void PlayChime() = 0;
    // The face buttons' tool-tip texts changed.
    virtual void SetButtonTips(const TButtonTips& tips) = 0;
    // Shows a drawn frame (not called while hidden or while a fade shows frames).
    virtual void PresentFrame(const PresentRequest& request) = 0;
    // The window's top-left corner on the screen, in physical pixels.
    virtual POINT WindowPosition() const = 0;
    virtual void MoveWindowTo(POINT topLeft) = 0;
    // Stops the one-second repetition of the alarm beep.
    virtual void DisableBeepTimer() = 0;
    // The mouse cursor's position now, in the window's client coordinates (physical pixels).
    virtual POINT CursorClientPos() const = 0;
    // Lets the system move the window with the mouse while the left button stays down.
    virtual void StartWindowDrag() = 0;
    virtual void SetTopmost(bool topmost) = 0;
    // Out of the topmost band and behind every other window (a full-screen program's too).
    virtual void StepBehind() = 0;
    // Mouse input passes through the window to whatever lies beneath it.
    virtual void SetClickThrough(bool through) = 0;
    // The running executable's full path, for the start-with-the-system entry.
    virtual std::string ExecutablePath() const = 0;
    // Asks the window to close (the close query and handler then run).
    virtual void RequestClose() = 0;
    // The application's error report.
    virtual void ShowError(std::string_view text) = 0;
    // The tip of the icon in the notification area.
    virtual void SetTrayHint(std::string_view hint) = 0;
    // A frame of the skin failed to draw, and would fail again at every tick: the host puts
    // another skin in its place (no frame is drawn until then) and tells the user once.
    virtual void SkinCannotBeDrawn(std::string_view text) = 0;
    // The kind of cursor the face shows changed without the mouse moving (TfrmMain::
    // CursorShown): a mouse over the window shows the new one at once. A host without a mouse
    // has nothing to do.
    virtual void CursorChanged() {}
};

} // namespace norvale
