#include "core/skin/window_label.h"

namespace norvale {
namespace {

constexpr std::size_t kTabWidth = 8;

// The first `count` characters of a UTF-8 text.
std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (!continuation && characters++ == count) {
            return text.substr(0, i);
        }
    }
    return text;
}

// Tabs stop every eight characters, as the platform's single-line text output expands them.
std::string ExpandTabs(std::string_view text) {
    std::string out;
    std::size_t column = 0;
    for (const char c : text) {
        if (c == '\t') {
            const std::size_t blanks = kTabWidth - column % kTabWidth;
            out.append(blanks, ' ');
            column += blanks;
        } else {
            out += c;
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
                ++column;
            }
        }
    }
    return out;
}

} // namespace

TWindowLabel::TWindowLabel(const TextRasterizer& rasterizer, bool autoSize, int left, int top,
                           int width, int height, std::string text, TextFont font)
    : Left(left), Top(top), Width(width), Height(height), FRasterizer(&rasterizer),
      FAutoSize(autoSize), FText(std::move(text)), FFont(std::move(font)) {}

void TWindowLabel::SetText(std::string_view text) {
    if (text == FText) {
        return;
    }
    FText = text;
    AdjustBounds();
}

void TWindowLabel::SetFontName(std::string_view name) {
    SetFont(name, FFont.Size, FFont.Color);
}

void TWindowLabel::SetFontSize(int size) {
    SetFont(FFont.Name, size, FFont.Color);
}

// A colour never changes the text's size, so it measures nothing.
void TWindowLabel::SetFontColor(std::uint32_t color) {
    FFont.Color = color;
}

void TWindowLabel::SetFont(std::string_view name, int size, std::uint32_t color) {
    FFont.Color = color;
    const std::string_view cut = FirstCharacters(name, kMaxFontNameLength);
    const bool newName = !cut.empty() && cut != FFont.Name;
    if (!newName && size == FFont.Size) {
        return;
    }
    if (newName) {
        FFont.Name = cut;
    }
    FFont.Size = size;
    AdjustBounds();
}

void TWindowLabel::AdjustBounds() {
    if (!FAutoSize) {
        return;
    }
    const TextExtent extent = FRasterizer->MeasureText(FFont, ExpandTabs(FText));
    if (Alignment == TAlignment::Right) {
        Left += Width - extent.Width;
    }
    Width = extent.Width;
    Height = extent.Height;
}

} // namespace norvale
