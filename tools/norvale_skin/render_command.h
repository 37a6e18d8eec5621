#pragma once

#include "core/platform/date_time.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace norvale::tools {

inline constexpr char kRenderUsage[] =
    "       norvale-skin render FOLDER --mode N --at \"YYYY-MM-DD hh:nn:ss\" [--hands off]\n"
    "                           [--ampm off] [--span SECONDS] [--scale S] [--title TEXT]\n"
    "                           [--boxes] -o FRAME.png\n"
    "  --mode   0 clock, 1 countdown, 2 uptime, 3 stopwatch, 4 timer, 5 atomic\n"
    "  --at     the computer's time of the frame\n"
    "  --span   1: time to the countdown's target (default 93784 = 1 day 02:03:04)\n"
    "           2: the uptime (default 90000 = 25 hours)\n"
    "           3: the stopwatch's elapsed time (default 1.05)\n"
    "           4: the timer's time left (default 10, the timer's default length)\n"
    "           5: the time server's difference (default 2.5)\n"
    "  --scale  the display scale the frame is drawn for, 1 to 5 (1.25 is 125 %; default 1)\n"
    "  --title  the clock's label, Clock mode's title (default Time)\n"
    "  --boxes  outlines the label boxes (magenta) and the button boxes (cyan)\n";

// What one frame is drawn of.
struct RenderOptions {
    std::filesystem::path Folder;
    std::uint8_t Mode = 0;
    DateTime At = 0;
    bool Hands = true;
    bool AmPm = true;
    bool Boxes = false;
    std::optional<double> SpanSeconds;
    int Dpi = 96;                     // the display scale, as dots per inch
    std::optional<std::string> Title; // Clock mode's title, the clock's label
    std::filesystem::path Output;
};

// The options of `render`'s arguments (those after the word render), or the fault's text.
std::variant<RenderOptions, std::string> ParseRenderArguments(const std::vector<std::string>& args);

// Draws one frame of a skin with the clock's own renderer and writes it as a PNG with
// alpha. Exit code 0, 1 when the skin does not load or the file cannot be written, 2 for
// bad arguments.
int Render(const std::vector<std::string>& args);

} // namespace norvale::tools
