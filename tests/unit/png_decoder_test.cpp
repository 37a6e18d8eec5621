#include "core/raster/png_decoder.h"
#include "support/png_builder.h"

#include <gtest/gtest.h>
#include <string>

namespace norvale {
namespace {

using testing::PngBuilder;
using testing::RepeatRows;
using Bytes = std::vector<std::uint8_t>;

// The message of the error DecodePng throws for `file`, or "" when it decodes.
std::string FaultOf(const Bytes& file) {
    try {
        DecodePng(file, "skin.png");
    } catch (const PngError& e) {
        return e.what();
    }
    return "";
}

// A 2 x 2 straight RGBA image in one IDAT.
PngBuilder SmallRgba() {
    PngBuilder png;
    png.Header(2, 2, 8, 6)
        .ImageData({0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 9, 10, 11, 12, 13, 14, 15, 16})
        .End();
    return png;
}

TEST(PngDecoder, DecodesRgbaSamplesInOrder) {
    const PngImage image = DecodePng(SmallRgba().Bytes(), "skin.png");
    EXPECT_EQ(image.Width, 2);
    EXPECT_EQ(image.Height, 2);
    EXPECT_EQ(image.ColourType, 6);
    EXPECT_EQ(image.Rgba, (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
}

TEST(PngDecoder, ImageDataMaySpanManyChunks) {
    const Bytes packed = PngBuilder::Compress(RepeatRows({10, 20, 30, 40}, 3));
    PngBuilder png;
    png.Header(1, 3, 8, 6);
    for (std::uint8_t byte : packed) {
        png.Chunk("IDAT", {byte});
    }
    png.End();
    EXPECT_EQ(DecodePng(png.Bytes(), "x").Rgba,
              (Bytes{10, 20, 30, 40, 10, 20, 30, 40, 10, 20, 30, 40}));
}

TEST(PngDecoder, PaletteIndexBeyondThePaletteIsOpaqueBlack) {
    PngBuilder png;
    png.Header(2, 1, 8, 3).Chunk("PLTE", {255, 0, 0}).ImageData({0, 0, 7}).End();
    EXPECT_EQ(DecodePng(png.Bytes(), "x").Rgba, (Bytes{255, 0, 0, 255, 0, 0, 0, 255}));
}

TEST(PngDecoder, SkipsUnknownAncillaryChunksEvenWhenDamaged) {
    PngBuilder png;
    png.Header(1, 1, 8, 0).Chunk("teXt", {'a', 0, 'b'});
    Bytes file = png.Bytes();
    file.back() ^= 0xFF; // the text chunk's CRC
    PngBuilder rest;
    rest.ImageData({0, 77}).End();
    file.insert(file.end(), rest.Bytes().begin() + 8, rest.Bytes().end());
    EXPECT_EQ(DecodePng(file, "x").Rgba, (Bytes{77, 77, 77, 255}));
}

TEST(PngDecoder, ErrorsNameTheFileAndTheFault) {
    EXPECT_EQ(FaultOf({}), "skin.png: not a PNG file");
    EXPECT_EQ(FaultOf({'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}), "skin.png: not a PNG file");

    Bytes badHeaderCrc = SmallRgba().Bytes();
    badHeaderCrc[8 + 8 + 13] ^= 1;
    EXPECT_EQ(FaultOf(badHeaderCrc), "skin.png: CRC error in IHDR");

    Bytes badDataCrc = SmallRgba().Bytes();
    badDataCrc[SmallRgba().ChunkEnds()[1] - 1] ^= 1;
    EXPECT_EQ(FaultOf(badDataCrc), "skin.png: CRC error in IDAT");
}

TEST(PngDecoder, RejectsAFileCutAnywhere) {
    const PngBuilder png = SmallRgba();
    const Bytes& whole = png.Bytes();
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_NE(FaultOf(part), "") << "cut at " << cut;
    }
    for (std::size_t end : png.ChunkEnds()) {
        if (end < whole.size()) {
            const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(end));
            EXPECT_EQ(FaultOf(part), "skin.png: truncated file") << "cut after " << end;
        }
    }
}

TEST(PngDecoder, RefusesHugeImagesBeforeReadingTheirData) {
    PngBuilder huge;
    huge.Header(100000, 100000, 8, 6).ImageData({0, 0, 0, 0, 0}).End();
    EXPECT_EQ(FaultOf(huge.Bytes()), "skin.png: image too large");

    PngBuilder wide;
    wide.Header(16385, 1, 8, 0).ImageData({0}).End();
    EXPECT_EQ(FaultOf(wide.Bytes()), "skin.png: image too large");

    PngBuilder manyPixels;
    manyPixels.Header(16384, 4097, 1, 0).ImageData({0}).End();
    EXPECT_EQ(FaultOf(manyPixels.Bytes()), "skin.png: image too large");

    // Within the limits, but a few bytes cannot inflate to 256 MiB: refused unallocated.
    PngBuilder bomb;
    bomb.Header(16384, 4096, 8, 6).ImageData({0, 0, 0, 0, 0}).End();
    EXPECT_EQ(FaultOf(bomb.Bytes()), "skin.png: truncated image data");
}

TEST(PngDecoder, ChecksTheImageDataAmount) {
    PngBuilder tooFew;
    tooFew.Header(2, 2, 8, 6).ImageData(RepeatRows({1, 2, 3, 4, 5, 6, 7, 8}, 1)).End();
    EXPECT_EQ(FaultOf(tooFew.Bytes()), "skin.png: truncated image data");

    PngBuilder tooMany;
    tooMany.Header(2, 2, 8, 6).ImageData(RepeatRows({1, 2, 3, 4, 5, 6, 7, 8}, 3)).End();
    EXPECT_EQ(FaultOf(tooMany.Bytes()), "skin.png: too much image data");

    PngBuilder oneByteMore;
    Bytes raw = RepeatRows({1, 2, 3, 4, 5, 6, 7, 8}, 2);
    raw.push_back(0);
    oneByteMore.Header(2, 2, 8, 6).ImageData(raw).End();
    EXPECT_EQ(FaultOf(oneByteMore.Bytes()), "skin.png: too much image data");

    PngBuilder badStream;
    badStream.Header(2, 2, 8, 6).Chunk("IDAT", {0x78, 0x9C, 0xFF, 0xFF, 0xFF, 0xFF}).End();
    EXPECT_EQ(FaultOf(badStream.Bytes()), "skin.png: bad compressed data");

    Bytes cutStream = PngBuilder::Compress(RepeatRows({1, 2, 3, 4, 5, 6, 7, 8}, 2));
    cutStream.resize(cutStream.size() - 6);
    PngBuilder unfinished;
    unfinished.Header(2, 2, 8, 6).Chunk("IDAT", cutStream).End();
    EXPECT_EQ(FaultOf(unfinished.Bytes()), "skin.png: truncated image data");
}

TEST(PngDecoder, ValidatesTheHeader) {
    const auto headerFault = [](std::uint32_t w, std::uint32_t h, int depth, int type) {
        PngBuilder png;
        png.Header(w, h, depth, type).ImageData({0, 0, 0, 0, 0, 0, 0, 0, 0}).End();
        return FaultOf(png.Bytes());
    };
    EXPECT_EQ(headerFault(0, 1, 8, 0), "skin.png: bad image size");
    EXPECT_EQ(headerFault(0x80000000u, 1, 8, 0), "skin.png: bad image size");
    EXPECT_EQ(headerFault(1, 1, 8, 1), "skin.png: bad colour type 1");
    EXPECT_EQ(headerFault(1, 1, 4, 2), "skin.png: bad bit depth 4 for colour type 2");
    EXPECT_EQ(headerFault(1, 1, 16, 3), "skin.png: bad bit depth 16 for colour type 3");
    EXPECT_EQ(headerFault(1, 1, 0, 0), "skin.png: bad bit depth 0 for colour type 0");

    PngBuilder interlace;
    interlace.Header(1, 1, 8, 0, 2).ImageData({0, 0}).End();
    EXPECT_EQ(FaultOf(interlace.Bytes()), "skin.png: unknown interlace method");
}

TEST(PngDecoder, ValidatesTheChunkSequence) {
    PngBuilder noHeader;
    noHeader.ImageData({0, 0}).End();
    EXPECT_EQ(FaultOf(noHeader.Bytes()), "skin.png: missing IHDR");

    PngBuilder noData;
    noData.Header(1, 1, 8, 0).End();
    EXPECT_EQ(FaultOf(noData.Bytes()), "skin.png: missing image data");

    PngBuilder noPalette;
    noPalette.Header(1, 1, 8, 3).ImageData({0, 0}).End();
    EXPECT_EQ(FaultOf(noPalette.Bytes()), "skin.png: missing palette");

    PngBuilder bigPalette;
    bigPalette.Header(1, 1, 1, 3)
        .Chunk("PLTE", {1, 2, 3, 4, 5, 6, 7, 8, 9})
        .ImageData({0, 0})
        .End();
    EXPECT_EQ(FaultOf(bigPalette.Bytes()), "skin.png: bad palette");

    PngBuilder unknown;
    unknown.Header(1, 1, 8, 0).Chunk("ABCD", {}).ImageData({0, 0}).End();
    EXPECT_EQ(FaultOf(unknown.Bytes()), "skin.png: unknown critical chunk ABCD");

    PngBuilder split;
    split.Header(1, 2, 8, 0).ImageData({0, 1}).Chunk("tEXt", {'a', 0}).ImageData({0, 2}).End();
    EXPECT_EQ(FaultOf(split.Bytes()), "skin.png: IDAT chunks not consecutive");

    PngBuilder badFilter;
    badFilter.Header(1, 1, 8, 0).ImageData({5, 0}).End();
    EXPECT_EQ(FaultOf(badFilter.Bytes()), "skin.png: bad filter type 5");
}

} // namespace
} // namespace norvale
