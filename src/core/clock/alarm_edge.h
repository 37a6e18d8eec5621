#pragma once

namespace norvale {

// The edge an alarm fires on. `armed` tells whether the awaited moment was still ahead at
// the previous reading; the alarm is due at the first reading at or past the moment after
// one before it: once, however many ticks were missed or however long the computer slept
// on the way. It re-arms by itself as soon as a reading is before the moment again.
inline bool AlarmDue(bool& armed, double reading, double moment) {
    const bool due = armed && reading >= moment;
    armed = reading < moment;
    return due;
}

} // namespace norvale
