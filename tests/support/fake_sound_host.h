#pragma once

#include "core/platform/sound_host.h"

#include <string>
#include <string_view>
#include <vector>

namespace norvale::testing {

// The clock window's side of the sound: the beep timer, frames drawn and errors shown.
class FakeSoundHost final : public SoundHost {
public:
    bool BeepTimerEnabled() const override { return Beeping; }
    void SetBeepTimerEnabled(bool enabled) override { Beeping = enabled; }
    void RenderFrame() override { ++Frames; }
    void ShowError(std::string_view text) override { Errors.emplace_back(text); }

    bool Beeping = false;
    int Frames = 0;
    std::vector<std::string> Errors;
};

} // namespace norvale::testing
