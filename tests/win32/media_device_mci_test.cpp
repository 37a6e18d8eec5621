#include "core/shell/clock_sound.h"
#include "support/fake_sound_host.h"
#include "win32/media_device_mci.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace norvale::win32 {
namespace {

// The program folder the build copies the sounds into (as Wine shows it).
std::string ProgramDir() {
    return NORVALE_PROGRAM_DIR;
}

std::string SoundFile(const char* name) {
    return ProgramDir() + "\\sound\\" + name;
}

// Runs the thread's message loop until done() holds or the time is up; the milliseconds
// it took, or -1 on time-out. every() runs once a second, as a window timer would.
long PumpUntil(const std::function<bool()>& done, DWORD timeoutMs,
               const std::function<void()>& every = {}) {
    const ULONGLONG start = GetTickCount64();
    ULONGLONG nextSecond = start + 1000;
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now - start > timeoutMs) {
            return -1;
        }
        if (every && now >= nextSecond) {
            nextSecond += 1000;
            every();
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
    return static_cast<long>(GetTickCount64() - start);
}

TEST(MciMediaDeviceTest, AMissingFileFailsWithTheSystemsText) {
    MciMediaDevice device;
    const MciOpened opened = device.Open(SoundFile("missing.mp3"), false);
    EXPECT_NE(opened.Error, 0u);
    EXPECT_EQ(opened.DeviceId, 0u);
    EXPECT_FALSE(device.ErrorText(opened.Error).empty());
    EXPECT_TRUE(device.ErrorText(0xFFFF).empty()); // not an MCI code: no text
}

// The real file through the real MCI: it plays to its end in real time and the notice comes
// through the adapter's own window.
TEST(MciMediaDeviceTest, PlaysTheBeepToItsEndAndSaysSoThroughTheNoticeWindow) {
    MciMediaDevice device;
    std::vector<MciNotice> notices;
    device.SetNoticeHandler([&](MciNotice notice) { notices.push_back(notice); });
    const MciOpened opened = device.Open(SoundFile("beep.mp3"), false);
    ASSERT_EQ(opened.Error, 0u) << device.ErrorText(opened.Error);
    const MciDeviceId id = opened.DeviceId;
    const MciStatus length = device.Status(id, MciStatusItem::Length);
    EXPECT_EQ(length.Error, 0u);
    EXPECT_NEAR(static_cast<double>(length.Value), 290.0, 60.0); // milliseconds
    device.SetAudioVolume(id, 200);

    ASSERT_EQ(device.Play(id), 0u);
    EXPECT_EQ(device.Status(id, MciStatusItem::Mode).Value,
              static_cast<std::uint64_t>(MciMode::Playing));
    const long took = PumpUntil([&] { return !notices.empty(); }, 10000);
    ASSERT_GE(took, 0) << "no completion notice";
    EXPECT_GE(took, 200);
    EXPECT_EQ(notices, (std::vector{MciNotice::Successful}));
    EXPECT_EQ(device.Status(id, MciStatusItem::Mode).Value,
              static_cast<std::uint64_t>(MciMode::Stopped));
    // NOTE: Windows leaves a finished play at the end, where the player rewinds before the
    // next play; Wine leaves it at the start already.
    const std::uint64_t position = device.Status(id, MciStatusItem::Position).Value;
    EXPECT_TRUE(position == length.Value || position == 0) << position;

    EXPECT_EQ(device.SeekToStart(id), 0u);
    EXPECT_EQ(device.Status(id, MciStatusItem::Position).Value, 0u);
    EXPECT_EQ(device.Close(id, false), 0u);
    EXPECT_NE(device.Status(id, MciStatusItem::Mode).Error, 0u);
}

TEST(MciClockSoundTest, TheChimeRingsToItsEndThenItsDeviceIsClosed) {
    MciMediaDevice device;
    testing::FakeSoundHost host;
    TClockSound sound(device, host, ProgramDir());
    sound.PlayChime();
    ASSERT_TRUE(host.Errors.empty()) << host.Errors.front();
    ASSERT_NE(sound.MediaPlayer1.DeviceID(), 0u);
    const long took = PumpUntil([&] { return sound.MediaPlayer1.DeviceID() == 0; }, 15000);
    EXPECT_GE(took, 1800); // the whole two seconds were played
    EXPECT_TRUE(host.Errors.empty());
}

// The alarm under a one-second timer: the 0.29 s beep has ended before each step, so each
// step plays it again. A step played when, 120 ms later, the position was inside the file,
// or when a play ended successfully before the next step.
// NOTE: Wine reports a finished play at position 0 when its notice came, so the player
// does not rewind; Wine then plays from the start but reports the mode as stopped and sends
// no notice for that play. After a rewind it notices but reports a stale position.
TEST(MciClockSoundTest, TheAlarmReplaysTheBeepEverySecond) {
    MciMediaDevice device;
    testing::FakeSoundHost host;
    TClockSound sound(device, host, ProgramDir());
    int completed = 0;
    const std::function<void()> handler = sound.MediaPlayer1.OnNotify;
    sound.MediaPlayer1.OnNotify = [&] {
        completed += sound.MediaPlayer1.NotifyValue == MciNotice::Successful ? 1 : 0;
        handler();
    };
    sound.StartBeep();
    ASSERT_TRUE(host.Errors.empty()) << host.Errors.front();
    std::vector<std::uint64_t> positions;
    std::vector<int> completedBefore;
    PumpUntil([&] { return positions.size() >= 3; }, 10000,
              [&] {
                  completedBefore.push_back(completed);
                  sound.tBeepTimer();
                  PumpUntil([] { return false; }, 120);
                  positions.push_back(sound.MediaPlayer1.Position());
              });
    PumpUntil([] { return false; }, 1000);
    completedBefore.push_back(completed);
    for (std::size_t step = 0; step < positions.size(); ++step) {
        const bool inside = positions[step] > 0 && positions[step] < 290;
        const bool ended = completedBefore[step + 1] > completedBefore[step];
        EXPECT_TRUE(inside || ended) << "step " << step << " at " << positions[step];
    }
    EXPECT_EQ(host.Frames, 4);
    EXPECT_TRUE(host.Errors.empty());
}

} // namespace
} // namespace norvale::win32
