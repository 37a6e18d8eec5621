#include "tools/norvale_skin/check_command.h"

#include "core/skin/package_preview.h"
#include "core/text/ascii.h"
#include "core/text/utf16.h"
#include "tools/norvale_skin/platform.h"
#include "tools/norvale_skin/skin_folder.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace norvale::tools {
namespace {

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

void PrintReport(const TSkin& skin, const std::array<TWindowLabel, kLabelCount>& labels,
                 const std::array<TSknButton, 2>& buttons) {
    std::printf("ok\nface %dx%d\n", skin.Width(), skin.Height());
    for (int i = 0; i < kLabelCount; ++i) {
        const TWindowLabel& l = labels[static_cast<std::size_t>(i)];
        std::printf("label %s %s\n", kLabelNames[i], Box(l.Left, l.Top, l.Width, l.Height).c_str());
    }
    for (const char* side : {"left", "right"}) {
        const TSknButton& b = buttons[side[0] == 'l' ? 0 : 1];
        std::printf("button %s %s\n", side, Box(b.Left, b.Top, b.Width, b.Height).c_str());
    }
    std::printf("variants %s\n", Variants(*skin.Sources).c_str());
    // The skin's own words, with its control characters escaped like its messages.
    if (!skin.Author.empty()) {
        std::printf("author %s\n", EscapeControls(skin.Author).c_str());
    }
    if (!skin.Description.empty()) {
        std::printf("description %s\n", EscapeControls(skin.Description).c_str());
    }
}

// A folder of its own under the system's temporary folder for a package's fonts, removed with
// them at the end.
class FontFolder {
public:
    FontFolder()
        : FPath(std::filesystem::temp_directory_path() /
                ("norvale-skin-fonts-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(FPath);
    }
    ~FontFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    FontFolder(const FontFolder&) = delete;
    FontFolder& operator=(const FontFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }

private:
    std::filesystem::path FPath;
};

bool IsPackage(const std::filesystem::path& path) {
    const std::u8string extension = path.extension().u8string();
    return EqualsNoCase(std::string(extension.begin(), extension.end()), kSkinPackageExtension);
}

} // namespace

int Check(const std::filesystem::path& folderOrPackage) {
    auto rasterizer = MakeTextRasterizer();
    const FormatSettings settings = UserFormatSettings();
    TCursorKind cursor = TCursorKind::Default;
    auto labels = InitialLabels(*rasterizer);
    std::array<TSknButton, 2> buttons{TSknButton(10, 67, 24, 16, cursor),
                                      TSknButton(110, 67, 24, 16, cursor)};
    try {
        if (!IsPackage(folderOrPackage)) {
            PrintReport(*LoadSkinFolderAsGiven(folderOrPackage, *rasterizer, settings, labels,
                                               buttons, DisplayScale(), true),
                        labels, buttons);
            return 0;
        }
        const std::u8string shown = folderOrPackage.u8string();
        const std::string shownText(shown.begin(), shown.end());
        const auto files = MakeFileSystem();
        const SkinPackage package = ReadSkinPackageFile(*files, shownText, shownText);
        const FontFolder fonts;
        const auto xml = MakeXmlDocument();
        const PackagedSkin skin(
            package, shownText,
            {*files, fonts.Path(), *xml, settings, *rasterizer, DisplayScale(), true}, labels,
            buttons);
        PrintReport(skin.Skin(), labels, buttons);
        return 0;
    } catch (const std::exception& e) {
        // A SkinError or SkinPackageError, or a failure of the tool's own adapters.
        PrintMessage(e.what());
        return 1;
    }
}

} // namespace norvale::tools
