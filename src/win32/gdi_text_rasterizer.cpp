#include "win32/gdi_text_rasterizer.h"

#include "win32/wide_text.h"
#include "win32/win32_common.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <system_error>

namespace norvale::win32 {
namespace {

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct ObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using GdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, ObjectDeleter>;

// Family names longer than this do not fit the font record.
constexpr std::size_t kMaxFamilyLength = LF_FACESIZE - 1;

// A memory device context with the font selected, its pixel size at the font's DPI.
struct FontDc {
    explicit FontDc(const TextFont& font) : Dc(CreateCompatibleDC(nullptr)) {
        if (!Dc) {
            throw std::runtime_error("CreateCompatibleDC failed");
        }
        LOGFONTW record{};
        record.lfHeight = -MulDiv(font.Size, font.Dpi, 72);
        record.lfWeight = FW_NORMAL;
        record.lfCharSet = DEFAULT_CHARSET;
        record.lfQuality = ANTIALIASED_QUALITY;
        const std::wstring family = ToWide(font.Name).substr(0, kMaxFamilyLength);
        std::memcpy(record.lfFaceName, family.c_str(), (family.size() + 1) * sizeof(wchar_t));
        Font.reset(CreateFontIndirectW(&record));
        SelectObject(Dc.get(), Font.get());
    }

    // Declared first, so the font is deleted after the device context that holds it.
    GdiObject Font;
    MemoryDc Dc;
};

} // namespace

GdiTextRasterizer::~GdiTextRasterizer() {
    for (const std::wstring& file : FPrivateFonts) {
        RemoveFontResourceExW(file.c_str(), FR_PRIVATE, nullptr);
    }
}

// The full path is kept, as removing a font must name it as adding did, whatever the
// current folder is by then.
bool GdiTextRasterizer::AddPrivateFont(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(file, error);
    std::wstring name = (error ? file : full).wstring();
    if (AddFontResourceExW(name.c_str(), FR_PRIVATE, nullptr) == 0) {
        return false;
    }
    FPrivateFonts.push_back(std::move(name));
    return true;
}

void GdiTextRasterizer::RemovePrivateFont(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(file, error);
    const std::wstring name = (error ? file : full).wstring();
    const auto found = std::find(FPrivateFonts.begin(), FPrivateFonts.end(), name);
    if (found != FPrivateFonts.end()) {
        RemoveFontResourceExW(name.c_str(), FR_PRIVATE, nullptr);
        FPrivateFonts.erase(found);
    }
}

TextExtent GdiTextRasterizer::MeasureText(const TextFont& font, std::string_view text) const {
    const FontDc dc(font);
    const std::wstring wide = ToWide(text);
    ::SIZE size{};
    GetTextExtentPoint32W(dc.Dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Dc.get(), &metrics);
    return {static_cast<int>(size.cx), static_cast<int>(metrics.tmHeight)};
}

void GdiTextRasterizer::PaintText(Bitmap32& target, const TextFont& font, std::uint32_t colour,
                                  std::string_view text, int left, int top) const {
    if (target.Width() == 0 || target.Height() == 0) {
        return;
    }
    const FontDc dc(font);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = target.Width();
    info.bmiHeader.biHeight = -target.Height(); // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const GdiObject section(
        CreateDIBSection(dc.Dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits) {
        throw std::runtime_error("CreateDIBSection failed");
    }
    const std::size_t pixels = static_cast<std::size_t>(target.Width()) * target.Height();
    std::memcpy(bits, target.Bits(), pixels * sizeof(Pixel32));
    const HGDIOBJ previous = SelectObject(dc.Dc.get(), section.get());
    SetBkMode(dc.Dc.get(), TRANSPARENT);
    SetTextColor(dc.Dc.get(), colour & 0xFFFFFF); // COLORREF is 0x00BBGGRR as well
    SetTextAlign(dc.Dc.get(), TA_LEFT | TA_TOP);
    const std::wstring wide = ToWide(text);
    // GDI clips to the section: a corner outside it draws the part that falls inside.
    TextOutW(dc.Dc.get(), left, top, wide.c_str(), static_cast<int>(wide.size()));
    GdiFlush();
    SelectObject(dc.Dc.get(), previous);
    // NOTE: GDI text zeroes the alpha byte of the pixels it touches; only colour comes back.
    const auto* drawn = static_cast<const Pixel32*>(bits);
    Pixel32* out = target.Bits();
    for (std::size_t i = 0; i < pixels; ++i) {
        out[i] = (drawn[i] & 0x00FFFFFF) | (out[i] & 0xFF000000);
    }
}

} // namespace norvale::win32
