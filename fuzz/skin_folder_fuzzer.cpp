#include "core/clock/clock_window.h"
#include "core/skin/skin_loader.h"
#include "core/time/calendar.h"
#include "linux/pugixml_document.h"
#include "support/fake_clock.h"
#include "support/fake_clock_window_host.h"
#include "support/fake_file_system.h"
#include "support/fake_registry.h"
#include "support/fake_text_rasterizer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// One input is a whole skin folder: its parts, split at every "\n--\n", are "skin.xml" and
// then the files named below, in this order. The skin is loaded through an in-memory file
// system and, when it loads, drawn in every display mode, with and without hands, at the
// scale NORVALE_FUZZ_SCALE names (1 to 3), or at 100 % and 300 % without it. A load may fail
// with a SkinError; nothing else may happen, whatever the bytes. Run with -rss_limit_mb=256
// and -timeout=2, it finds any skin that takes more memory or time than the limits allow.
namespace {

using namespace norvale;

constexpr const char* kPartNames[] = {"skin.xml",    "face.png",    "hand.png",    "glass.png",
                                      "buttons.png", "face@2x.png", "hand@3x.png", "fonts/f.ttf"};

std::vector<std::string_view> Parts(std::string_view input) {
    std::vector<std::string_view> parts;
    constexpr std::string_view kSeparator = "\n--\n";
    while (parts.size() + 1 < std::size(kPartNames)) {
        const std::size_t at = input.find(kSeparator);
        if (at == std::string_view::npos) {
            break;
        }
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + kSeparator.size());
    }
    parts.push_back(input);
    return parts;
}

// The scales a run draws at, as its environment chose them.
std::vector<int> Scales() {
    const char* chosen = std::getenv("NORVALE_FUZZ_SCALE");
    if (chosen == nullptr) {
        return {1, 3};
    }
    return {std::clamp(std::atoi(chosen), 1, 3)};
}

void DrawEveryMode(TfrmMain& window) {
    static const std::vector<int> scales = Scales();
    for (const int scale : scales) {
        window.SetDisplayScale(DisplayScale(scale * kSkinDpi));
        for (const bool arrows : {true, false}) {
            window.FDisplayArrows = arrows;
            for (std::uint8_t mode = ctClock; mode <= ctAtomic; ++mode) {
                window.SetClockType(mode);
                window.RenderFrame();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace norvale::testing;
    static const auto xml = linux_adapter::MakePugixmlDocument();
    const std::vector<std::string_view> parts =
        Parts(std::string_view(reinterpret_cast<const char*>(data), size));
    FakeFileSystem files;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        files.Put(std::string("/clock/face/fuzz/") + kPartNames[i], std::string(parts[i]));
    }
    FakeClock clock;
    clock.Set(*EncodeDate(2026, 12, 7) + *EncodeTime(10, 9, 30, 0));
    FakeRegistry registry;
    TVeskRegistryTimeZones zones(registry, true);
    FakeClockWindowHost host;
    FakeTextRasterizer text;
    text.Files = &files;
    TfrmMain window(clock, zones, host, text);
    window.SetDefaults();
    const SkinLoadContext context{"/clock", files, *xml, window.FFormatSettings, text};
    try {
        window.SetSkin(LoadSkin("fuzz", context, window.Labels, window.Buttons));
    } catch (const SkinError&) {
        return 0;
    }
    DrawEveryMode(window);
    return 0;
}
