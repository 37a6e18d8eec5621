#include "tools/norvale_skin/render_command.h"

#include "core/clock/clock_window.h"
#include "core/raster/png_encoder.h"
#include "core/time/calendar.h"
#include "tools/norvale_skin/check_command.h"
#include "tools/norvale_skin/pack_command.h"
#include "tools/norvale_skin/platform.h"
#include "tools/norvale_skin/skin_folder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace norvale::tools {
namespace {

constexpr Pixel32 kLabelBoxColour = 0xFFFF00FF;
constexpr Pixel32 kButtonBoxColour = 0xFF00FFFF;
constexpr double kDefaultSpans[] = {0, 93784, 90000, 1.05, 10, 2.5};

double SpanOf(const RenderOptions& options) {
    return options.SpanSeconds.value_or(kDefaultSpans[options.Mode]);
}

// The computer's clock stopped at the frame's time, with no zone rules of its own; its
// monotonic count is the up-time the frame shows.
class FixedClock final : public SystemClock {
public:
    FixedClock(DateTime now, std::int64_t count) : FNow(now), FCount(count) {}
    DateTime Now() const override { return FNow; }
    DateTime UtcNow() const override { return FNow; }
    std::int64_t MonotonicMilliseconds() const override { return FCount; }
    std::uint32_t GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) const override {
        info = {};
        return kTimeZoneIdUnknown;
    }
    std::string LastErrorText() const override { return {}; }

private:
    DateTime FNow;
    std::int64_t FCount;
};

// No zone database, so the clock shows the computer's own time: the --at value.
class NoRegistry final : public Registry {
public:
    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot, std::string_view, bool,
                                         RegistryAccess) override {
        return nullptr;
    }
};

// A window that is always visible and shows nothing; frames stay in the skin's Frame.
class ToolHost final : public ClockWindowHost {
public:
    bool WindowVisible() const override { return true; }
    void ShowAndActivate() override {}
    void StartBeep() override {}
    void StartAlarmSound(const std::string&) override {}
    bool BeepRunning() const override { return false; }
    void PlayChime() override {}
    void SetButtonTips(const TButtonTips&) override {}
    void PresentFrame(const PresentRequest&) override {}
    POINT WindowPosition() const override { return {}; }
    void MoveWindowTo(POINT) override {}
    void DisableBeepTimer() override {}
    POINT CursorClientPos() const override { return {}; }
    void StartWindowDrag() override {}
    void SetTopmost(bool) override {}
    void StepBehind() override {}
    void SetClickThrough(bool) override {}
    std::string ExecutablePath() const override { return {}; }
    void RequestClose() override {}
    void ShowError(std::string_view) override {}
    void SetTrayHint(std::string_view) override {}
    void SkinCannotBeDrawn(std::string_view text) override { BrokenFrame = text; }

    std::string BrokenFrame;
};

std::optional<DateTime> ParseAt(const std::string& text) {
    int year, month, day, hour, minute, second;
    char end;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &minute,
                    &second, &end) != 6) {
        return std::nullopt;
    }
    const auto date = EncodeDate(year, month, day);
    const auto time = EncodeTime(hour, minute, second, 0);
    if (!date || !time) {
        return std::nullopt;
    }
    return *date + *time;
}

std::optional<double> ParseNumber(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Outlines the pixels of the box (right and bottom exclusive), clipped to the frame.
void Outline(Bitmap32& frame, const RECT& box, Pixel32 colour) {
    const auto put = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < frame.Width() && y < frame.Height()) {
            frame.At(x, y) = colour;
        }
    };
    for (int x = box.left; x < box.right; ++x) {
        put(x, box.top);
        put(x, box.bottom - 1);
    }
    for (int y = box.top; y < box.bottom; ++y) {
        put(box.left, y);
        put(box.right - 1, y);
    }
}

// Sets up the clock window for the mode and draws the frame the way its tick does.
void DrawFrame(TfrmMain& window, const RenderOptions& options) {
    const double span = SpanOf(options);
    window.SetDefaults();
    window.FDisplayArrows = options.Hands;
    window.FClockLabel = options.Title.value_or(window.FClockLabel);
    window.AMPM1Checked = options.AmPm;
    window.FCountdownTarget = options.At + span * kOneSecond;
    window.StopWatch1.SetRunningTotal(span * kOneSecond);
    // A timer shorter than the default length has run part of it.
    window.FTimerLength = std::max(span, 10.0) * kOneSecond;
    window.swTimer.SetRunningTotal(window.FTimerLength - span * kOneSecond);
    window.FTimeDiff = span * kOneSecond;
    // Frames are blended with the fade's level, which is full only after the start-up fade.
    TSkin& skin = const_cast<TSkin&>(*window.Skin());
    window.FFade.StartStartupFadeIn();
    while (window.FFade.Enabled()) {
        window.FFade.fadeTimerTimer(skin.Frame, skin.ZoomFrame);
    }
    window.SetClockType(options.Mode);
    if (options.Mode == ctAtomic) {
        // Atomic mode has no tick of its own: its hands show the stored difference.
        window.SetHandAngles(window.FTimeDiff);
        window.RenderFrame();
    } else {
        window.Timer1Timer();
    }
}

bool WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

} // namespace

std::variant<RenderOptions, std::string>
ParseRenderArguments(const std::vector<std::string>& args) {
    RenderOptions options;
    bool haveMode = false;
    bool haveAt = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--boxes") {
            options.Boxes = true;
            continue;
        }
        if (arg.rfind("-", 0) != 0) {
            if (!options.Folder.empty()) {
                return "more than one skin folder: \"" + arg + "\"";
            }
            options.Folder = arg;
            continue;
        }
        if (i + 1 == args.size()) {
            return arg + " needs a value";
        }
        const std::string& value = args[++i];
        if (arg == "--mode") {
            if (value.size() != 1 || value[0] < '0' || value[0] > '5') {
                return "--mode: \"" + value + "\" is not a mode from 0 to 5";
            }
            options.Mode = static_cast<std::uint8_t>(value[0] - '0');
            haveMode = true;
        } else if (arg == "--at") {
            const auto at = ParseAt(value);
            if (!at) {
                return "--at: \"" + value + "\" is not a date and time YYYY-MM-DD hh:nn:ss";
            }
            options.At = *at;
            haveAt = true;
        } else if (arg == "--hands" || arg == "--ampm") {
            if (value != "off" && value != "on") {
                return arg + ": \"" + value + "\" is neither on nor off";
            }
            (arg == "--hands" ? options.Hands : options.AmPm) = value == "on";
        } else if (arg == "--span") {
            options.SpanSeconds = ParseNumber(value);
            if (!options.SpanSeconds) {
                return "--span: \"" + value + "\" is not a number of seconds";
            }
        } else if (arg == "--scale") {
            const std::optional<double> scale = ParseNumber(value);
            const double dpi = scale.value_or(0) * kSkinDpi;
            if (!scale || dpi < kMinDpi || dpi > kMaxDpi || dpi != std::round(dpi)) {
                return "--scale: \"" + value +
                       "\" is not a scale from 1 to 5 that makes whole dots per inch (96 x S)";
            }
            options.Dpi = static_cast<int>(dpi);
        } else if (arg == "--title") {
            options.Title = value;
        } else if (arg == "-o") {
            options.Output = value;
        } else {
            return "unknown option " + arg;
        }
    }
    if (options.Folder.empty()) {
        return "no skin folder given";
    }
    if (!haveMode || !haveAt || options.Output.empty()) {
        return "--mode, --at and -o are required";
    }
    if (options.SpanSeconds && options.Mode == ctClock) {
        return "--span is not used in mode 0";
    }
    if (options.SpanSeconds && *options.SpanSeconds < 0 && options.Mode != ctCountdown &&
        options.Mode != ctAtomic) {
        return "--span: the uptime, the stopwatch and the timer do not go below 0";
    }
    return options;
}

int Render(const std::vector<std::string>& args) {
    const auto parsed = ParseRenderArguments(args);
    if (const auto* fault = std::get_if<std::string>(&parsed)) {
        std::fprintf(stderr, "norvale-skin render: %s\n%s%s%s", fault->c_str(), kCheckUsage,
                     kRenderUsage, kPackUsage);
        return 2;
    }
    const auto& options = std::get<RenderOptions>(parsed);
    const bool upTime = options.Mode == ctUpTime;
    FixedClock clock(options.At, upTime ? std::llround(SpanOf(options) * 1000) : 0);
    NoRegistry registry;
    const TVeskRegistryTimeZones zones(registry, true);
    ToolHost host;
    auto rasterizer = MakeTextRasterizer();
    TfrmMain window(clock, zones, host, *rasterizer);
    window.FFormatSettings = UserFormatSettings();
    const DisplayScale scale(options.Dpi);
    window.SetDisplayScale(scale);
    try {
        window.SetSkin(LoadSkinFolderAsGiven(options.Folder, *rasterizer, window.FFormatSettings,
                                             window.Labels, window.Buttons, scale));
    } catch (const SkinError& e) {
        PrintMessage(e.what());
        return 1;
    }
    DrawFrame(window, options);
    if (!host.BrokenFrame.empty()) {
        PrintMessage(host.BrokenFrame);
        return 1;
    }

    Bitmap32 frame = window.Skin()->Frame;
    if (options.Boxes) {
        for (const TWindowLabel& l : window.Labels) {
            Outline(frame, scale.ToPhysical({l.Left, l.Top, l.Left + l.Width, l.Top + l.Height}),
                    kLabelBoxColour);
        }
        for (const TSknButton& b : window.Buttons) {
            Outline(frame, scale.ToPhysical({b.Left, b.Top, b.Left + b.Width, b.Top + b.Height}),
                    kButtonBoxColour);
        }
    }
    const std::u8string output = options.Output.u8string();
    if (!WriteFile(options.Output, EncodePng(frame))) {
        std::fprintf(stderr, "norvale-skin render: cannot write %s\n",
                     std::string(output.begin(), output.end()).c_str());
        return 1;
    }
    return 0;
}

} // namespace norvale::tools
