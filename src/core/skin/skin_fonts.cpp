#include "core/skin/skin_fonts.h"

#include "core/skin/skin_limits.h"
#include "core/text/ascii.h"

#include <string>

namespace norvale {
namespace {

std::uint64_t Read16(std::string_view file, std::uint64_t at) {
    if (at + 2 > file.size()) {
        return 0;
    }
    return static_cast<std::uint64_t>(static_cast<unsigned char>(file[at])) << 8 |
           static_cast<unsigned char>(file[at + 1]);
}

std::uint64_t Read32(std::string_view file, std::uint64_t at) {
    return Read16(file, at) << 16 | Read16(file, at + 2);
}

// One font's faces: itself and the named instances of its 'fvar' table, if it has one.
std::uint64_t FacesOfFont(std::string_view file, std::uint64_t offset) {
    const std::uint64_t tables = Read16(file, offset + 4);
    for (std::uint64_t i = 0; i < tables; ++i) {
        const std::uint64_t record = offset + 12 + 16 * i;
        if (Read32(file, record) == 0x66766172) { // 'fvar'
            return 1 + Read16(file, Read32(file, record + 8) + 12);
        }
    }
    return 1;
}

} // namespace

bool IsFontFile(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    const std::string_view extension = name.substr(dot);
    return EqualsNoCase(extension, ".ttf") || EqualsNoCase(extension, ".otf");
}

std::uint64_t CountFontFaces(std::string_view file) {
    if (Read32(file, 0) != 0x74746366) { // 'ttcf'
        return FacesOfFont(file, 0);
    }
    const std::uint64_t fonts = Read32(file, 8);
    // No collection may be looked through font by font: the count alone may pass the limit.
    if (fonts > static_cast<std::uint64_t>(kMaxSkinFontFaces)) {
        return fonts;
    }
    std::uint64_t faces = 0;
    for (std::uint64_t i = 0; i < fonts; ++i) {
        faces += FacesOfFont(file, Read32(file, 12 + 4 * i));
    }
    return faces;
}

SkinFontSet LoadSkinFonts(SkinFolder& folder, TextRasterizer& rasterizer) {
    std::vector<std::string> names;
    for (const std::string& name : folder.ListFiles("fonts", kMaxSkinFolderEntries)) {
        if (IsFontFile(name)) {
            names.push_back("fonts/" + name);
        }
    }
    if (names.size() > static_cast<std::size_t>(kMaxSkinFonts)) {
        throw SkinFileError(folder.Shown("fonts") + ": more than " + std::to_string(kMaxSkinFonts) +
                            " font files");
    }
    SkinFontSet added(rasterizer);
    std::uint64_t faces = 0;
    for (const std::string& name : names) {
        // Read once to check its size and its faces through the same port that checked where
        // it lies, before the font engine looks at it.
        const std::uint64_t inFile = CountFontFaces(folder.Read(name, kMaxSkinFontBytes));
        faces += inFile;
        if (faces > static_cast<std::uint64_t>(kMaxSkinFontFaces)) {
            throw SkinFileError(folder.Shown(name) + ": the skin's fonts hold more than " +
                                std::to_string(kMaxSkinFontFaces) +
                                " faces together (this file holds " + std::to_string(inFile) + ")");
        }
        if (!added.Add(folder.Locate(name))) {
            throw SkinFileError(folder.Shown(name) + ": the font engine refuses the file");
        }
    }
    return added;
}

} // namespace norvale
