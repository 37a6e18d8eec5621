#include "core/alarms/alarm_scheduler.h"

#include "core/alarms/alarm_schedule.h"
#include "core/timezone/zone_conversion.h"

#include <algorithm>
#include <utility>

namespace norvale {
namespace {

TIME_ZONE_INFORMATION ComputerZone(const SystemClock& clock) {
    TIME_ZONE_INFORMATION zone;
    clock.GetTimeZoneInformation(zone); // the result code tells nothing the rules need
    return zone;
}

// How late `now` is for `moment`, in real seconds: across a change of daylight saving the
// wall clock gains or loses an hour that did not pass. In the repeated hour the moment counts
// from its first pass and now from its second, so a doubtful lateness is never too small.
double LatenessSeconds(const TIME_ZONE_INFORMATION& zone, DateTime moment, DateTime now) {
    const DateTime from = ZoneLocalToUtc(zone, true, moment);
    const DateTime to = ZoneLocalToUtc(zone, false, now);
    // A local time in the skipped hour has no UTC: the wall clock's difference then.
    if (from == 0 || to == 0) {
        return (now - moment) * kSecondsPerDay;
    }
    return (to - from) * kSecondsPerDay;
}

void DropSnooze(TScheduledAlarm& alarm) {
    alarm.SnoozeCount.reset();
    alarm.SnoozedUntil.reset();
}

struct DueAlarm {
    DateTime Moment = 0;
    std::uint32_t Id = 0;
};

} // namespace

void TAlarmScheduler::Load(std::vector<TScheduledAlarm> alarms, DateTime now) {
    FAlarms = std::move(alarms);
    FQueue.clear();
    FSounding.reset();
    for (TScheduledAlarm& alarm : FAlarms) {
        alarm.Id = FNextId++;
        DropSnooze(alarm);
        const bool missed = alarm.Alarm.Enabled && alarm.Next && *alarm.Next <= now;
        if (!missed) {
            Schedule(alarm, now);
        }
    }
    UpdateEarliest();
}

void TAlarmScheduler::Add(TAlarm alarm, DateTime now) {
    TScheduledAlarm added;
    added.Alarm = std::move(alarm);
    added.Id = FNextId++;
    Schedule(added, now);
    FAlarms.push_back(std::move(added));
    UpdateEarliest();
}

void TAlarmScheduler::Change(std::size_t index, TAlarm alarm, DateTime now) {
    TScheduledAlarm& changed = FAlarms.at(index);
    changed.Alarm = std::move(alarm);
    DropSnooze(changed);
    Schedule(changed, now);
    UpdateEarliest();
}

void TAlarmScheduler::Remove(std::size_t index) {
    const std::uint32_t id = FAlarms.at(index).Id;
    FAlarms.erase(FAlarms.begin() + static_cast<std::ptrdiff_t>(index));
    FQueue.erase(std::remove(FQueue.begin(), FQueue.end(), id), FQueue.end());
    if (FSounding == id) {
        FSounding.reset();
    }
    UpdateEarliest();
}

void TAlarmScheduler::SetKeys(const std::vector<std::string>& keys) {
    for (std::size_t i = 0; i < FAlarms.size() && i < keys.size(); ++i) {
        FAlarms[i].Key = keys[i];
    }
}

void TAlarmScheduler::CollectDue(DateTime now, std::int64_t count) {
    const TIME_ZONE_INFORMATION zone = ComputerZone(FClock);
    const auto inWindow = [&](DateTime moment) {
        return LatenessSeconds(zone, moment, now) < kMissedWindowSeconds;
    };
    std::vector<DueAlarm> due;
    for (TScheduledAlarm& alarm : FAlarms) {
        std::optional<DateTime> fired;
        if (alarm.SnoozeCount && *alarm.SnoozeCount <= count) {
            const std::int64_t lateMs = count - *alarm.SnoozeCount;
            if (lateMs < kMissedWindowSeconds * 1000) {
                fired = now - static_cast<double>(lateMs) * kOneMillisecond;
            }
            DropSnooze(alarm);
        }
        if (alarm.Next && *alarm.Next <= now) {
            // Any of the times it missed counts: one that repeats goes off when it missed a
            // time within the window, however long before that the first one was.
            std::optional<DateTime> missed = alarm.Next;
            if (!inWindow(*missed)) {
                missed =
                    NextOccurrence(alarm.Alarm.Rule, zone, now - kMissedWindowSeconds * kOneSecond);
            }
            if (missed && *missed <= now && inWindow(*missed)) {
                fired = std::min(fired.value_or(*missed), *missed);
                // It goes off now anyway: a snooze of it has nothing left to do.
                DropSnooze(alarm);
            }
            alarm.Next = NextOccurrence(alarm.Alarm.Rule, zone, now);
        }
        if (fired && !Waiting(alarm.Id)) {
            due.push_back({*fired, alarm.Id});
        }
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const DueAlarm& a, const DueAlarm& b) { return a.Moment < b.Moment; });
    for (const DueAlarm& alarm : due) {
        FQueue.push_back(alarm.Id);
    }
    UpdateEarliest();
}

void TAlarmScheduler::Reschedule(DateTime now, std::int64_t count) {
    CollectDue(now, count);
    for (TScheduledAlarm& alarm : FAlarms) {
        Schedule(alarm, now);
        if (alarm.SnoozeCount) {
            alarm.SnoozedUntil =
                now + static_cast<double>(*alarm.SnoozeCount - count) * kOneMillisecond;
        }
    }
    UpdateEarliest();
}

const TAlarm* TAlarmScheduler::SoundNext() {
    while (!FQueue.empty()) {
        const std::uint32_t id = FQueue.front();
        FQueue.pop_front();
        if (const TScheduledAlarm* alarm = Find(id)) {
            FSounding = id;
            return &alarm->Alarm;
        }
    }
    return nullptr;
}

const TAlarm* TAlarmScheduler::Sounding() const {
    const TScheduledAlarm* alarm = FSounding ? Find(*FSounding) : nullptr;
    return alarm ? &alarm->Alarm : nullptr;
}

void TAlarmScheduler::Dismiss() {
    FSounding.reset();
}

void TAlarmScheduler::Snooze(DateTime now, std::int64_t count) {
    if (!FSounding) {
        return;
    }
    for (TScheduledAlarm& alarm : FAlarms) {
        if (alarm.Id == *FSounding) {
            alarm.SnoozeCount = count + alarm.Alarm.SnoozeSeconds * 1000LL;
            alarm.SnoozedUntil = now + alarm.Alarm.SnoozeSeconds * kOneSecond;
        }
    }
    FSounding.reset();
    UpdateEarliest();
}

const TScheduledAlarm* TAlarmScheduler::Upcoming() const {
    const TScheduledAlarm* first = nullptr;
    for (const TScheduledAlarm& alarm : FAlarms) {
        const std::optional<DateTime> moment = DueMoment(alarm);
        if (moment && (first == nullptr || *moment < *DueMoment(*first))) {
            first = &alarm;
        }
    }
    return first;
}

std::optional<DateTime> DueMoment(const TScheduledAlarm& alarm) {
    if (alarm.Next && alarm.SnoozedUntil) {
        return std::min(*alarm.Next, *alarm.SnoozedUntil);
    }
    return alarm.Next ? alarm.Next : alarm.SnoozedUntil;
}

void TAlarmScheduler::Schedule(TScheduledAlarm& alarm, DateTime now) const {
    alarm.Next = alarm.Alarm.Enabled ? NextOccurrence(alarm.Alarm.Rule, ComputerZone(FClock), now)
                                     : std::nullopt;
    if (!alarm.Alarm.Enabled) {
        DropSnooze(alarm);
    }
}

void TAlarmScheduler::UpdateEarliest() {
    FEarliest = std::numeric_limits<double>::infinity();
    FEarliestSnooze = std::numeric_limits<std::int64_t>::max();
    for (const TScheduledAlarm& alarm : FAlarms) {
        if (alarm.Next) {
            FEarliest = std::min(FEarliest, *alarm.Next);
        }
        if (alarm.SnoozeCount) {
            FEarliestSnooze = std::min(FEarliestSnooze, *alarm.SnoozeCount);
        }
    }
}

const TScheduledAlarm* TAlarmScheduler::Find(std::uint32_t id) const {
    for (const TScheduledAlarm& alarm : FAlarms) {
        if (alarm.Id == id) {
            return &alarm;
        }
    }
    return nullptr;
}

bool TAlarmScheduler::Waiting(std::uint32_t id) const {
    return FSounding == id || std::find(FQueue.begin(), FQueue.end(), id) != FQueue.end();
}

} // namespace norvale
