#include "core/shell/clock_sound.h"

#include <utility>

namespace norvale {

TClockSound::TClockSound(MediaDevice& device, SoundHost& host, std::string programDir)
    : MediaPlayer1(device), FHost(host), FProgramDir(std::move(programDir)) {
    MediaPlayer1.OnNotify = [this] { MediaPlayer1Notify(); };
}

void TClockSound::PlayChime() {
    // The one player belongs to a sounding alarm: that hour goes unchimed rather than the
    // beep timer repeating the chime at full volume.
    if (FHost.BeepTimerEnabled()) {
        return;
    }
    MediaPlayer1.FileName = SoundPath(kChimeFile);
    OpenAndPlay(kChimeVolume);
}

void TClockSound::StartBeep() {
    MediaPlayer1.FileName = SoundPath(kBeepFile);
    tBeepTimer();
    FHost.SetBeepTimerEnabled(true);
    OpenAndPlay(kBeepVolume);
}

void TClockSound::StartAlarm(const std::string& soundFile) {
    if (soundFile.empty()) {
        StartBeep();
        return;
    }
    MediaPlayer1.FileName = soundFile;
    FHost.SetBeepTimerEnabled(true);
    if (!OpenAndPlay(kAlarmFileVolume)) {
        // An alarm that cannot be heard is no alarm: the clock's own beep stands in.
        StartBeep();
    }
}

void TClockSound::tBeepTimer() {
    Guarded([this] {
        if (MediaPlayer1.Mode() == MciMode::Stopped) {
            MediaPlayer1.Play();
        }
    });
    // A failed replay must not stop the blinking that tells the user the alarm is on.
    FHost.RenderFrame();
}

void TClockSound::MediaPlayer1Notify() {
    Guarded([this] {
        const MciMode mode = MediaPlayer1.Mode();
        if ((mode == MciMode::Stopped || mode == MciMode::Playing) && !FHost.BeepTimerEnabled()) {
            MediaPlayer1.Close();
        }
    });
}

bool TClockSound::OpenAndPlay(std::uint32_t volume) {
    return Guarded([this, volume] {
        MediaPlayer1.Open();
        SetPlayerVolume(MediaPlayer1, volume);
        MediaPlayer1.Play();
        // The notice of the command after the play (normally the close) is asked for too.
        MediaPlayer1.Notify = true;
    });
}

std::string TClockSound::SoundPath(std::string_view file) const {
    std::string path = FProgramDir;
    if (!path.empty() && path.back() != '\\' && path.back() != '/') {
        path += '\\';
    }
    path += file;
    return path;
}

template <class Sequence>
bool TClockSound::Guarded(Sequence&& sequence) {
    try {
        sequence();
        return true;
    } catch (const MediaPlayerError& error) {
        // A missing file would otherwise bring the same message back every hour, or every
        // second while an alarm repeats; once per file and run tells all there is to know.
        // The file comes first: the multimedia system's own text rarely says which one.
        if (FReportedFiles.insert(MediaPlayer1.FileName).second) {
            FHost.ShowError("The sound file \"" + MediaPlayer1.FileName + "\" cannot be played.\n" +
                            error.what());
        }
        return false;
    }
}

} // namespace norvale
