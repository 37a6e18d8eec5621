// norvale-skin: checks a skin folder and draws frames of it with the clock's own code.
//   norvale-skin check FOLDER   prints "ok" with the face size, the label and button boxes,
//                               the high-resolution variants its images have and its author
//                               and description, or every fault with its file (a variant of
//                               the wrong size is one); exit code 0 or 1.
//   norvale-skin render FOLDER ...  writes one frame as a PNG (see render_command.h).

#include "core/text/utf16.h"
#include "tools/norvale_skin/platform.h"
#include "tools/norvale_skin/render_command.h"
#include "tools/norvale_skin/skin_folder.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace norvale;

// How many of the skin's images have each variant, for example "@2x 8/8 @3x 0/8".
std::string Variants(const SkinSources& s) {
    std::vector<const SkinImageFiles*> images = {
        &s.Face, &s.Buttons, &s.Glass, &s.AmPm, &s.Hours.Files, &s.Minutes.Files, &s.Seconds.Files};
    if (s.DigitalGlass) {
        images.push_back(&*s.DigitalGlass);
    }
    std::string text;
    for (int factor = 2; factor <= kLargestVariant; ++factor) {
        const auto count = std::count_if(images.begin(), images.end(),
                                         [factor](const auto* i) { return i->HasVariant(factor); });
        text += (text.empty() ? "@" : " @") + std::to_string(factor) + "x " +
                std::to_string(count) + "/" + std::to_string(images.size());
    }
    return text;
}

std::string Box(int left, int top, int width, int height) {
    return std::to_string(left) + "," + std::to_string(top) + " " + std::to_string(width) + "x" +
           std::to_string(height);
}

int Check(const std::filesystem::path& folder) {
    auto rasterizer = tools::MakeTextRasterizer();
    const FormatSettings settings = tools::UserFormatSettings();
    TCursorKind cursor = TCursorKind::Default;
    auto labels = InitialLabels(*rasterizer);
    std::array<TSknButton, 2> buttons{TSknButton(10, 67, 24, 16, cursor),
                                      TSknButton(110, 67, 24, 16, cursor)};
    try {
        const auto skin = tools::LoadSkinFolderAsGiven(folder, *rasterizer, settings, labels,
                                                       buttons, DisplayScale(), true);
        std::printf("ok\nface %dx%d\n", skin->Width(), skin->Height());
        for (int i = 0; i < kLabelCount; ++i) {
            const TWindowLabel& l = labels[static_cast<std::size_t>(i)];
            std::printf("label %s %s\n", tools::kLabelNames[i],
                        Box(l.Left, l.Top, l.Width, l.Height).c_str());
        }
        std::printf(
            "button left %s\nbutton right %s\n",
            Box(buttons[0].Left, buttons[0].Top, buttons[0].Width, buttons[0].Height).c_str(),
            Box(buttons[1].Left, buttons[1].Top, buttons[1].Width, buttons[1].Height).c_str());
        std::printf("variants %s\n", Variants(*skin->Sources).c_str());
        // The skin's own words, with its control characters escaped like its messages.
        if (!skin->Author.empty()) {
            std::printf("author %s\n", EscapeControls(skin->Author).c_str());
        }
        if (!skin->Description.empty()) {
            std::printf("description %s\n", EscapeControls(skin->Description).c_str());
        }
        return 0;
    } catch (const std::exception& e) {
        // A SkinError, or a failure of the tool's own adapters.
        tools::PrintMessage(e.what());
        return 1;
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "check") {
        return Check(args[1]);
    }
    if (!args.empty() && args[0] == "render") {
        return tools::Render({args.begin() + 1, args.end()});
    }
    std::fprintf(stderr, "usage: norvale-skin check FOLDER\n%s", tools::kRenderUsage);
    return 2;
}
