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
        alarm.SnoozedUntil.reset();
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
    changed.SnoozedUntil.reset();
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

void TAlarmScheduler::CollectDue(DateTime now) {
    const TIME_ZONE_INFORMATION zone = ComputerZone(FClock);
    const auto inWindow = [&](DateTime moment) {
        return LatenessSeconds(zone, moment, now) < kMissedWindowSeconds;
    };
    std::vector<DueAlarm> due;
    for (TScheduledAlarm& alarm : FAlarms) {
        std::optional<DateTime> fired;
        if (alarm.SnoozedUntil && *alarm.SnoozedUntil <= now) {
            if (inWindow(*alarm.SnoozedUntil)) {
                fired = alarm.SnoozedUntil;
            }
            alarm.SnoozedUntil.reset();
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
                alarm.SnoozedUntil.reset();
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

void TAlarmScheduler::Reschedule(DateTime now) {
    CollectDue(now);
    for (TScheduledAlarm& alarm : FAlarms) {
        Schedule(alarm, now);
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

void TAlarmScheduler::Snooze(DateTime now) {
    if (!FSounding) {
        return;
    }
    for (TScheduledAlarm& alarm : FAlarms) {
        if (alarm.Id == *FSounding) {
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
        alarm.SnoozedUntil.reset();
    }
}

void TAlarmScheduler::UpdateEarliest() {
    FEarliest = std::numeric_limits<double>::infinity();
    for (const TScheduledAlarm& alarm : FAlarms) {
        if (const std::optional<DateTime> moment = DueMoment(alarm)) {
            FEarliest = std::min(FEarliest, *moment);
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
