// norvale-skin: checks a skin folder and draws frames of it with the clock's own code.
//   norvale-skin check FOLDER   prints "ok" with the face size and the label and button
//                               boxes, or every fault with its file; exit code 0 or 1.
//   norvale-skin render FOLDER ...  writes one frame as a PNG (see render_command.h).

#include "tools/norvale_skin/platform.h"
#include "tools/norvale_skin/render_command.h"
#include "tools/norvale_skin/skin_folder.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace norvale;

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
        const auto skin =
            tools::LoadSkinFolderAsGiven(folder, *rasterizer, settings, labels, buttons);
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
        return 0;
    } catch (const SkinError& e) {
        std::fprintf(stderr, "%s\n", e.what());
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
