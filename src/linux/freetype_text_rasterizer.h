#pragma once

#include "core/platform/text_rasterizer.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace norvale::linux_adapter {

// Text output with FreeType's anti-aliased glyphs, the font files found by fontconfig from
// the family name. Font sizes become pixels at the font's DPI. Each rasterizer has a fontconfig
// configuration of its own, so the font files it adds are seen by it alone.
class FreeTypeTextRasterizer final : public TextRasterizer {
public:
    FreeTypeTextRasterizer();
    ~FreeTypeTextRasterizer() override;
    FreeTypeTextRasterizer(const FreeTypeTextRasterizer&) = delete;
    FreeTypeTextRasterizer& operator=(const FreeTypeTextRasterizer&) = delete;

    TextExtent MeasureText(const TextFont& font, std::string_view text) const override;
    void PaintText(Bitmap32& target, const TextFont& font, std::uint32_t colour,
                   std::string_view text, int left, int top) const override;
    bool AddPrivateFont(const std::filesystem::path& file) override;
    void RemovePrivateFont(const std::filesystem::path& file) override;

private:
    struct Library;
    struct Face;
    struct FontConfig;

    // The face for the font's family at the font's size.
    Face& FaceFor(const TextFont& font) const;

    std::unique_ptr<Library> FLibrary;
    std::unique_ptr<FontConfig> FFontConfig;
    mutable std::map<std::string, std::unique_ptr<Face>> FFaces;
    std::vector<std::filesystem::path> FPrivateFonts; // once per adding
};

} // namespace norvale::linux_adapter
