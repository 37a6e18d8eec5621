#pragma once

#include "core/platform/text_rasterizer.h"
#include "core/skin/skin_folder.h"

#include <filesystem>
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
    void Release() {
        if (FRasterizer) {
            for (const std::filesystem::path& file : FFiles) {
                FRasterizer->RemovePrivateFont(file);
            }
        }
        FFiles.clear();
    }

    TextRasterizer* FRasterizer = nullptr; // not owned; outlives every skin
    std::vector<std::filesystem::path> FFiles;
};

// Adds every TrueType and OpenType file (.ttf, .otf in any case) of the skin's "fonts"
// folder to the rasterizer as a private font, in the order of their names, so that the
// skin's labels find the families it names on any computer. A missing folder is no error.
// Throws SkinFileError naming the file for more than kMaxSkinFonts files, a file larger than
// kMaxSkinFontBytes, one outside the folder, or one the font engine refuses; the fonts added
// before the fault are taken back then.
SkinFontSet LoadSkinFonts(SkinFolder& folder, TextRasterizer& rasterizer);

} // namespace norvale
