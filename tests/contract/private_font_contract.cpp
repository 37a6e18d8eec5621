#include "contract/text_rasterizer_contract.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

namespace norvale::testing {
namespace {

// Replaces every occurrence of `from` in the bytes by `to`, which is as long; returns how many.
int ReplaceAll(std::string& bytes, const std::string& from, const std::string& to) {
    int count = 0;
    for (auto at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at)) {
        bytes.replace(at, from.size(), to);
        ++count;
    }
    return count;
}

std::string Utf16BigEndian(const std::string& ascii) {
    std::string wide;
    for (const char c : ascii) {
        wide += '\0';
        wide += c;
    }
    return wide;
}

// A copy of the seven-segment font the default skin carries, with its family renamed to one
// that no computer has installed (its name tables hold ASCII and UTF-16BE copies of it).
std::filesystem::path RenamedSegmentFont(const TempFolder& folder) {
    std::ifstream in(std::filesystem::path(NORVALE_PROGRAM_DIR) /
                         "face/norvale/fonts/DSEG7Classic-Regular.ttf",
                     std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string from = "DSEG7 Classic";
    const std::string to = "Norvale Seven";
    const int renamed =
        ReplaceAll(bytes, from, to) + ReplaceAll(bytes, Utf16BigEndian(from), Utf16BigEndian(to));
    EXPECT_GE(renamed, 2) << "the font file is missing or its family is not " << from;
    return folder.Write("seven.ttf", bytes);
}

constexpr const char* kSeven = "Norvale Seven";
constexpr const char* kNowhere = "Norvale Nowhere"; // drawn in the platform's stand-in

int WidthOf(const TextRasterizer& rasterizer, const char* family, int size) {
    return rasterizer.MeasureText({family, size, 0}, "88:88:88").Width;
}

// NOTE: Wine keeps a font made for a family name and size and hands it out again for the same
// request, also after a private font of that family came or went; so each check asks for a
// size no earlier check asked for.
TEST_P(PrivateFontContract, AnAddedFileMakesItsFamilyKnown) {
    const TempFolder folder;
    const std::filesystem::path file = RenamedSegmentFont(folder);
    ASSERT_EQ(WidthOf(*Rasterizer, kSeven, 13), WidthOf(*Rasterizer, kNowhere, 13))
        << "the family is known before it is added";
    ASSERT_TRUE(Rasterizer->AddPrivateFont(file));
    EXPECT_NE(WidthOf(*Rasterizer, kSeven, 14), WidthOf(*Rasterizer, kNowhere, 14));
}

TEST_P(PrivateFontContract, TheFontGoesWithTheRasterizer) {
    const TempFolder folder;
    ASSERT_TRUE(Rasterizer->AddPrivateFont(RenamedSegmentFont(folder)));
    ASSERT_NE(WidthOf(*Rasterizer, kSeven, 15), WidthOf(*Rasterizer, kNowhere, 15));
    Rasterizer.reset();
    const std::unique_ptr<TextRasterizer> next = GetParam().Make();
    EXPECT_EQ(WidthOf(*next, kSeven, 16), WidthOf(*next, kNowhere, 16));
}

std::vector<TextRasterizerAdapter> FontFileAdapters() {
    std::vector<TextRasterizerAdapter> adapters = TextRasterizerAdapters();
    std::erase_if(adapters, [](const auto& adapter) { return !adapter.DrawsFamilies; });
    return adapters;
}

INSTANTIATE_TEST_SUITE_P(Adapters, PrivateFontContract, ::testing::ValuesIn(FontFileAdapters()),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace norvale::testing
