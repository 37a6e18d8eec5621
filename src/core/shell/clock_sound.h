#pragma once

#include "core/platform/media_device.h"
#include "core/platform/sound_host.h"
#include "core/shell/media_player.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace norvale {

// The sound files, relative to the program's folder.
inline constexpr std::string_view kChimeFile = "sound\\chime.mp3";
inline constexpr std::string_view kBeepFile = "sound\\beep.mp3";

// Audio volumes on the 0 to 1000 scale.
inline constexpr std::uint32_t kChimeVolume = 1000;
inline constexpr std::uint32_t kBeepVolume = 200;
// A sound file the user chose for an alarm plays as it was recorded.
inline constexpr std::uint32_t kAlarmFileVolume = 1000;

// The clock's two sounds on its one player: the hourly chime and the alarm beep that repeats
// while the host's beep timer runs. Nothing here raises: a sound file that is missing or
// cannot be played is reported to the host once per file and run, and the clock goes on.
class TClockSound {
public:
    // programDir: the folder of the executable, with or without a trailing separator.
    TClockSound(MediaDevice& device, SoundHost& host, std::string programDir);
    TClockSound(const TClockSound&) = delete;
    TClockSound& operator=(const TClockSound&) = delete;

    // Plays the chime once at full volume, unless the alarm sounds.
    void PlayChime();
    // Starts the alarm: switches the beep timer on and plays the beep at volume 200.
    void StartBeep();
    // Starts an alarm with the user's sound file (a full path) at full volume, repeated as
    // the beep is; an empty name, or a file that cannot be played, sounds the beep instead.
    void StartAlarm(const std::string& soundFile);
    // One repeat step of the beep timer: replays the open file once it has stopped, then
    // redraws the frame (which blinks the time during an alarm).
    void tBeepTimer();
    // After every completion notice: closes the device once it is done with, unless the
    // alarm still sounds.
    void MediaPlayer1Notify();

    TMediaPlayer MediaPlayer1;

private:
    // Opens FileName and plays it once at the volume (0 to 1000); false when it failed.
    bool OpenAndPlay(std::uint32_t volume);
    std::string SoundPath(std::string_view file) const;
    // Runs a player sequence; the first failure for the current file reaches the user.
    // Returns whether it ran without failing.
    template <class Sequence>
    bool Guarded(Sequence&& sequence);

    SoundHost& FHost;
    std::string FProgramDir;
    std::set<std::string> FReportedFiles;
};

} // namespace norvale
