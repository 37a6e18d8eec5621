#pragma once

#include "core/alarms/alarm.h"
#include "core/platform/date_time.h"
#include "core/platform/system_clock.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace norvale {

// An alarm as the running clock keeps it.
struct TScheduledAlarm {
    TAlarm Alarm;
    // Its subkey in the stored settings; empty until it is first saved.
    std::string Key;
    // The local time it waits for; nullopt while it is off or can never go off.
    std::optional<DateTime> Next;
    // A snooze waits on the monotonic count (the computer's milliseconds, sleep included),
    // so a change of the clock neither shortens nor lengthens it; SnoozedUntil is the local
    // time that count is expected at, for showing.
    std::optional<std::int64_t> SnoozeCount;
    std::optional<DateTime> SnoozedUntil;
    std::uint32_t Id = 0;
};

// When an alarm next goes off, a snooze included; nullopt when it will not.
std::optional<DateTime> DueMoment(const TScheduledAlarm& alarm);

// The alarms of the Alarms window while the clock runs: when each next goes off, which are
// due, and the one that sounds. Moments are the computer's local wall-clock time; `count` is
// always the monotonic count read with `now`.
//
// An alarm is due when the clock reaches its moment. When the clock sees it late (the
// computer slept, the clock was not running or was set forward), it still goes off, once, if
// one of the times it missed lies less than kMissedWindowSeconds back; otherwise it is
// skipped. Either way its next moment is then taken from the time seen. Due alarms queue up and
// sound one at a time, in the order of their moments: the next sounds when the one before was
// dismissed or snoozed.
class TAlarmScheduler {
public:
    static constexpr double kMissedWindowSeconds = 3600;

    explicit TAlarmScheduler(const SystemClock& clock) : FClock(clock) {}

    const std::vector<TScheduledAlarm>& Alarms() const { return FAlarms; }

    // Replaces every alarm with the stored ones. A stored pending moment (Next) that has
    // passed is kept, so the first tick finds it missed; every other moment is taken afresh.
    void Load(std::vector<TScheduledAlarm> alarms, DateTime now);
    void Add(TAlarm alarm, DateTime now);
    // An alarm's new settings; its moment is taken afresh and a snooze of it is dropped.
    void Change(std::size_t index, TAlarm alarm, DateTime now);
    void Remove(std::size_t index);
    // The subkeys the alarms were saved under, in list order.
    void SetKeys(const std::vector<std::string>& keys);

    // Whether any alarm may be due: two comparisons, for the tick.
    bool Due(DateTime now, std::int64_t count) const {
        return now >= FEarliest || count >= FEarliestSnooze;
    }
    // Queues the alarms due (within the missed window) and takes their next moments.
    void CollectDue(DateTime now, std::int64_t count);
    // The clock was set or its zone rules changed: the alarms it passed are collected as
    // due, and every moment is taken afresh from `now`.
    void Reschedule(DateTime now, std::int64_t count);

    bool HasQueued() const { return !FQueue.empty(); }
    // The first queued alarm starts sounding; nullptr when none is queued.
    const TAlarm* SoundNext();
    // The alarm that sounds now; nullptr when none does.
    const TAlarm* Sounding() const;
    // The sounding alarm is done with until its next moment.
    void Dismiss();
    // The sounding alarm comes back after its snooze length.
    void Snooze(DateTime now, std::int64_t count);

    // The enabled alarm that goes off first (a snooze counts); nullptr when none will.
    const TScheduledAlarm* Upcoming() const;

private:
    void Schedule(TScheduledAlarm& alarm, DateTime now) const;
    void UpdateEarliest();
    const TScheduledAlarm* Find(std::uint32_t id) const;
    bool Waiting(std::uint32_t id) const;

    const SystemClock& FClock;
    std::vector<TScheduledAlarm> FAlarms;
    std::deque<std::uint32_t> FQueue;
    std::optional<std::uint32_t> FSounding;
    std::uint32_t FNextId = 1;
    DateTime FEarliest = std::numeric_limits<double>::infinity();
    std::int64_t FEarliestSnooze = std::numeric_limits<std::int64_t>::max();
};

} // namespace norvale
