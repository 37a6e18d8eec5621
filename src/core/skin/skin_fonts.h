#pragma once

#include "core/platform/text_rasterizer.h"
#include "core/skin/skin_folder.h"

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

namespace norvale {

// The private fonts one skin added, taken back from the rasterizer when the skin goes, so that
// how a skin looks never depends on the skins shown before it.
class SkinFontSet {
public:
    SkinFontSet() = default;
    explicit SkinFontSet(TextRasterizer& rasterizer) : FRasterizer(&rasterizer) {}
    SkinFontSet(SkinFontSet&& other) noexcept
        : FRasterizer(std::exchange(other.FRasterizer, nullptr)), FFiles(std::move(other.FFiles)) {}
    SkinFontSet& operator=(SkinFontSet&& other) noexcept {
        if (this != &other) {
            Release();
            FRasterizer = std::exchange(other.FRasterizer, nullptr);
            FFiles = std::move(other.FFiles);
        }
        return *this;
    }
    SkinFontSet(const SkinFontSet&) = delete;
    SkinFontSet& operator=(const SkinFontSet&) = delete;
    ~SkinFontSet() { Release(); }

    const std::vector<std::filesystem::path>& Files() const { return FFiles; }
    // Adds the file to the rasterizer; false when it refuses the file.
    bool Add(const std::filesystem::path& file) {
        if (!FRasterizer->AddPrivateFont(file)) {
            return false;
        }
        FFiles.push_back(file);
        return true;
    }

private:
    // Last added, first taken back: an engine that adds the remaining fonts again on each
    // removal (fontconfig) then has the least to add.
    void Release() {
        if (FRasterizer) {
            for (auto file = FFiles.rbegin(); file != FFiles.rend(); ++file) {
                FRasterizer->RemovePrivateFont(*file);
            }
        }
        FFiles.clear();
    }

    TextRasterizer* FRasterizer = nullptr; // not owned; outlives every skin
    std::vector<std::filesystem::path> FFiles;
};

// Whether a file of the fonts folder is a font the skin adds: .ttf or .otf, in any case.
bool IsFontFile(std::string_view name);

// How many faces the font engine looks at in a font file: each font of a collection, each
// named instance of a variable font, one for any other file. Read from the file's tables
// alone, in a time that does not grow with the count.
std::uint64_t CountFontFaces(std::string_view file);

// Adds every TrueType and OpenType file (.ttf, .otf in any case) of the skin's "fonts"
// folder to the rasterizer as a private font, in the order of their names, so that the
// skin's labels find the families it names on any computer. A missing folder is no error.
// Throws SkinFileError naming the file for more than kMaxSkinFonts files (or a folder of more
// than kMaxSkinFolderEntries entries), a file larger than kMaxSkinFontBytes, faces past
// kMaxSkinFontFaces (before the font engine sees the file), one outside the folder, or one the
// font engine refuses; the fonts added before the fault are taken back then.
SkinFontSet LoadSkinFonts(SkinFolder& folder, TextRasterizer& rasterizer);

} // namespace norvale
