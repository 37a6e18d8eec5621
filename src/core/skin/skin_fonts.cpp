#include "core/skin/skin_fonts.h"

#include "core/skin/skin_limits.h"
#include "core/text/ascii.h"

#include <string>

namespace norvale {
namespace {

bool IsFontFile(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    const std::string_view extension = name.substr(dot);
    return EqualsNoCase(extension, ".ttf") || EqualsNoCase(extension, ".otf");
}

} // namespace

SkinFontSet LoadSkinFonts(SkinFolder& folder, TextRasterizer& rasterizer) {
    std::vector<std::string> names;
    for (const std::string& name : folder.ListFiles("fonts")) {
        if (IsFontFile(name)) {
            names.push_back("fonts/" + name);
        }
    }
    if (names.size() > static_cast<std::size_t>(kMaxSkinFonts)) {
        throw SkinFileError(folder.Shown("fonts") + ": more than " + std::to_string(kMaxSkinFonts) +
                            " font files");
    }
    SkinFontSet added(rasterizer);
    for (const std::string& name : names) {
        // Read once to check the size through the same port that checked where it lies.
        folder.Read(name, kMaxSkinFontBytes);
        if (!added.Add(folder.Locate(name))) {
            throw SkinFileError(folder.Shown(name) + ": the font engine refuses the file");
        }
    }
    return added;
}

} // namespace norvale
