#pragma once

#include <string_view>

namespace norvale {

// What the sound needs of the clock window that owns it.
class SoundHost {
public:
    virtual ~SoundHost() = default;

    // tBeep: the one-second timer that repeats the alarm beep; while it runs the alarm sounds.
    virtual bool BeepTimerEnabled() const = 0;
    virtual void SetBeepTimerEnabled(bool enabled) = 0;
    virtual void RenderFrame() = 0;
    // Shows a failure the way the application reports errors.
    virtual void ShowError(std::string_view text) = 0;
};

} // namespace norvale
