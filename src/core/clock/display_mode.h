#pragma once

#include "core/platform/clock_window_host.h"
#include "core/platform/date_time.h"
#include "core/time/format_settings.h"

#include <cstdint>
#include <string>

namespace norvale {

// The six things the face can show; modes 0 to 4 have a menu action and a key ("1".."5"),
// Atomic is entered from the face only.
enum TClockType : std::uint8_t {
    ctClock = 0,
    ctCountdown = 1,
    ctUpTime = 2,
    ctStopwatch = 3,
    ctTimer = 4,
    ctAtomic = 5,
};

// The tool-tip texts of the face buttons in a mode.
TButtonTips ButtonTipsFor(std::uint8_t mode);

// What a mode needs to know to fill the face.
struct TFrameInputs {
    std::uint8_t Mode = ctClock;
    DateTime ZoneTime = 0;  // ZoneNow
    std::string ClockLabel; // the Clock mode's title
    bool AmPm = true;       // the "AM/PM" setting
    DateTime CountdownTarget = 0;
    std::uint64_t TickCountMs = 0; // the monotonic count: since the system started, sleep included
    DateTime StopwatchElapsed = 0;
    DateTime TimerLength = 0;
    DateTime TimerElapsed = 0;
    DateTime TimeDiff = 0;
};

// The texts of one frame and the value the hands show.
struct TFrameTexts {
    std::string Title;
    std::string Time; // always 8 characters
    std::string Date;
    std::string AmPm;    // empty: not drawn
    std::string WeekDay; // drawn only in Clock mode with the hands hidden
    DateTime HandValue = 0;
    bool HandsAtZero = false; // a past countdown puts every hand at 0
};

TFrameTexts ComputeFrameTexts(const TFrameInputs& in, const FormatSettings& fs);

// The read-out keeps 8 characters: longer texts are cut, shorter ones get one "0" in front.
std::string EightCharacterReadOut(std::string text);

} // namespace norvale
