#include "linux/freetype_text_rasterizer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <climits>
#include <stdexcept>

namespace norvale::linux_adapter {

struct FreeTypeTextRasterizer::Library {
    FT_Library Handle = nullptr;
    ~Library() {
        if (Handle) {
            FT_Done_FreeType(Handle);
        }
    }
};

struct FreeTypeTextRasterizer::Face {
    FT_Face Handle = nullptr;
    ~Face() {
        if (Handle) {
            FT_Done_Face(Handle);
        }
    }
};

struct FreeTypeTextRasterizer::FontConfig {
    FcConfig* Handle = nullptr;
    ~FontConfig() {
        if (Handle) {
            FcConfigDestroy(Handle);
        }
    }
};

namespace {

// Family names longer than this are cut, as the Windows font record holds no more.
constexpr std::size_t kMaxFamilyLength = 31;

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

// The next code point of UTF-8 text; a malformed sequence yields U+FFFD and one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const int length = lead < 0x80         ? 1
                       : (lead >> 5) == 6  ? 2
                       : (lead >> 4) == 14 ? 3
                       : (lead >> 3) == 30 ? 4
                                           : 0;
    if (length == 0 || i + length > text.size()) {
        ++i;
        return U'\uFFFD';
    }
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return U'\uFFFD';
        }
        cp = cp << 6 | (byte(i + k) & 0x3F);
    }
    i += length;
    return cp;
}

int CeilPixels(FT_Pos value) {
    return static_cast<int>((value + 63) >> 6);
}

// Lays the ink over one colour channel at the given coverage, rounded to the nearest.
std::uint32_t Cover(std::uint32_t back, std::uint32_t ink, std::uint32_t coverage) {
    return (ink * coverage + back * (255 - coverage) + 127) / 255;
}

} // namespace

FreeTypeTextRasterizer::FreeTypeTextRasterizer()
    : FLibrary(std::make_unique<Library>()), FFontConfig(std::make_unique<FontConfig>()) {
    if (FT_Init_FreeType(&FLibrary->Handle) != 0) {
        throw std::runtime_error("FreeType could not be started");
    }
    FFontConfig->Handle = FcInitLoadConfigAndFonts();
    if (!FFontConfig->Handle) {
        throw std::runtime_error("fontconfig could not be started");
    }
}

FreeTypeTextRasterizer::~FreeTypeTextRasterizer() = default;

// Success is judged by the application font set growing: fontconfig also accepts a file in
// which it finds no font.
bool FreeTypeTextRasterizer::AddPrivateFont(const std::filesystem::path& file) {
    FcConfig* const config = FFontConfig->Handle;
    const auto count = [config] {
        const FcFontSet* fonts = FcConfigGetFonts(config, FcSetApplication);
        return fonts ? fonts->nfont : 0;
    };
    const int before = count();
    if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(file.c_str())) ||
        count() == before) {
        return false;
    }
    FPrivateFonts.push_back(file);
    // A family asked for before may have been answered with a stand-in; match it anew.
    FFaces.clear();
    return true;
}

// NOTE: fontconfig can only drop all application fonts at once; the others are added again.
void FreeTypeTextRasterizer::RemovePrivateFont(const std::filesystem::path& file) {
    const auto found = std::find(FPrivateFonts.begin(), FPrivateFonts.end(), file);
    if (found == FPrivateFonts.end()) {
        return;
    }
    FPrivateFonts.erase(found);
    FcConfig* const config = FFontConfig->Handle;
    FcConfigAppFontClear(config);
    for (const std::filesystem::path& kept : FPrivateFonts) {
        FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(kept.c_str()));
    }
    FFaces.clear();
}

FreeTypeTextRasterizer::Face& FreeTypeTextRasterizer::FaceFor(const TextFont& font) const {
    const std::string family = font.Name.substr(0, kMaxFamilyLength);
    auto found = FFaces.find(family);
    if (found == FFaces.end()) {
        Pattern pattern(FcPatternCreate());
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(family.c_str()));
        FcConfigSubstitute(FFontConfig->Handle, pattern.get(), FcMatchPattern);
        FcDefaultSubstitute(pattern.get());
        FcResult result = FcResultNoMatch;
        const Pattern match(FcFontMatch(FFontConfig->Handle, pattern.get(), &result));
        FcChar8* file = nullptr;
        int index = 0;
        if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
            throw std::runtime_error("no font file for the family \"" + family + "\"");
        }
        FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
        auto face = std::make_unique<Face>();
        if (FT_New_Face(FLibrary->Handle, reinterpret_cast<const char*>(file), index,
                        &face->Handle) != 0) {
            throw std::runtime_error("cannot open the font file " +
                                     std::string(reinterpret_cast<const char*>(file)));
        }
        found = FFaces.emplace(family, std::move(face)).first;
    }
    // The em height in pixels, rounded: size x DPI / 72.
    const int pixels = std::max(1, (font.Size * font.Dpi + 36) / 72);
    FT_Set_Pixel_Sizes(found->second->Handle, 0, static_cast<FT_UInt>(pixels));
    return *found->second;
}

TextExtent FreeTypeTextRasterizer::MeasureText(const TextFont& font, std::string_view text) const {
    const FT_Face face = FaceFor(font).Handle;
    FT_Pos advance = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (FT_Load_Char(face, NextCodePoint(text, i), FT_LOAD_DEFAULT) == 0) {
            advance += face->glyph->advance.x;
        }
    }
    const FT_Size_Metrics& metrics = face->size->metrics;
    // A font may claim any advance; no text is wider than an int holds.
    const FT_Pos width = std::min<FT_Pos>((advance + 32) >> 6, INT_MAX);
    return {static_cast<int>(width), CeilPixels(metrics.ascender) + CeilPixels(-metrics.descender)};
}

void FreeTypeTextRasterizer::PaintText(Bitmap32& target, const TextFont& font, std::uint32_t colour,
                                       std::string_view text, int left, int top) const {
    const FT_Face face = FaceFor(font).Handle;
    const long long baseline =
        top + static_cast<long long>(CeilPixels(face->size->metrics.ascender));
    const std::uint32_t ink[3] = {colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF};
    FT_Pos pen = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (FT_Load_Char(face, NextCodePoint(text, i), FT_LOAD_DEFAULT) != 0) {
            continue;
        }
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Pos advance = glyph->advance.x;
        // A glyph whose outline lies wholly beside the target is not rendered at all, so a
        // part of a long text costs what that part holds.
        const long long inkLeft = left + ((pen + glyph->metrics.horiBearingX) >> 6) - 1;
        const long long inkRight = inkLeft + (glyph->metrics.width >> 6) + 3;
        pen += advance;
        if (inkRight < 0 || inkLeft >= target.Width() ||
            FT_Render_Glyph(glyph, FT_RENDER_MODE_NORMAL) != 0) {
            continue;
        }
        const FT_Bitmap& bitmap = glyph->bitmap;
        const long long x0 = left + ((pen - advance + 32) >> 6) + glyph->bitmap_left;
        const long long y0 = baseline - glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const long long y = y0 + row;
            if (y < 0 || y >= target.Height()) {
                continue;
            }
            const unsigned char* line =
                bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const long long x = x0 + column;
                std::uint32_t coverage = line[column];
                if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                    coverage = (line[column >> 3] >> (7 - (column & 7)) & 1) ? 255 : 0;
                }
                if (x < 0 || x >= target.Width() || coverage == 0) {
                    continue;
                }
                Pixel32& p = target.At(static_cast<int>(x), static_cast<int>(y));
                p = MakePixel(Cover(BlueOf(p), ink[0], coverage),
                              Cover(GreenOf(p), ink[1], coverage),
                              Cover(RedOf(p), ink[2], coverage), AlphaOf(p));
            }
        }
    }
}

} // namespace norvale::linux_adapter
