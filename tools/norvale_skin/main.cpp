// norvale-skin: checks a skin folder with the clock's own loader.
//   norvale-skin check FOLDER   prints "ok" with the face size and the label and button
//                               boxes, or every fault with its file; exit code 0 or 1.

#include "core/skin/skin_loader.h"
#include "tools/norvale_skin/platform.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using namespace norvale;

constexpr const char* kLabelNames[kLabelCount] = {"title",  "weekday", "time",
                                                  "timebg", "date",    "ampm"};

std::string Box(int left, int top, int width, int height) {
    return std::to_string(left) + "," + std::to_string(top) + " " + std::to_string(width) + "x" +
           std::to_string(height);
}

int Check(const std::filesystem::path& folder) {
    const auto xml = tools::MakeXmlDocument();
    auto rasterizer = tools::MakeTextRasterizer();
    const FormatSettings settings = tools::UserFormatSettings();
    const std::filesystem::path skinFolder = std::filesystem::absolute(folder).lexically_normal();
    const std::u8string name =
        (skinFolder.has_filename() ? skinFolder : skinFolder.parent_path()).filename().u8string();
    const std::u8string shown = folder.u8string();
    const SkinLoadContext context{skinFolder.parent_path().parent_path(), *xml, settings,
                                  *rasterizer};
    TCursorKind cursor = TCursorKind::Default;
    auto labels = InitialLabels(*rasterizer);
    std::array<TSknButton, 2> buttons{TSknButton(10, 67, 24, 16, cursor),
                                      TSknButton(110, 67, 24, 16, cursor)};
    try {
        const auto skin =
            LoadSkinFolder(skinFolder, std::string(shown.begin(), shown.end()) + "/",
                           std::string(name.begin(), name.end()), context, labels, buttons);
        std::printf("ok\nface %dx%d\n", skin->Width(), skin->Height());
        for (int i = 0; i < kLabelCount; ++i) {
            const TWindowLabel& l = labels[static_cast<std::size_t>(i)];
            std::printf("label %s %s\n", kLabelNames[i],
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
    if (argc != 3 || std::string(argv[1]) != "check") {
        std::fprintf(stderr, "usage: norvale-skin check FOLDER\n");
        return 2;
    }
    return Check(argv[2]);
}
