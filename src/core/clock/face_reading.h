#pragma once

#include "core/clock/display_mode.h"

#include <string>
#include <string_view>

namespace norvale {

// What the face shows, in words: Value is the read-out with its am/pm marker, then the date
// (and the weekday where the face shows it); Name puts the face's title before that.
struct TFaceReading {
    std::string Name;
    std::string Value;
    bool operator==(const TFaceReading&) const = default;
};

TFaceReading ReadFace(const TFrameTexts& texts, bool weekDayShown);

// The tray icon's hint: the first line of `hint` (the program's name), then on a line of its
// own what the face shows, then the rest of `hint` (the next alarm); the tip takes its first
// 63 characters.
std::string TrayHintWithReading(std::string_view hint, const TFaceReading& reading);

} // namespace norvale
