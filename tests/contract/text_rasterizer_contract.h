#pragma once

#include "core/platform/text_rasterizer.h"

#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <vector>

namespace norvale::testing {

struct TextRasterizerAdapter {
    const char* Name;
    std::unique_ptr<TextRasterizer> (*Make)();
    const char* Family; // a font family the platform has
    bool DrawsFamilies; // each family in its own glyphs (the fake draws blocks for any)

    // Names the test cases after the adapter.
    friend std::ostream& operator<<(std::ostream& out, const TextRasterizerAdapter& adapter) {
        return out << adapter.Name;
    }
};

// The adapters a test program checks; each program defines it for its platform.
std::vector<TextRasterizerAdapter> TextRasterizerAdapters();

// Every TextRasterizer passes this suite, the fake of the unit tests included.
class TextRasterizerContract : public ::testing::TestWithParam<TextRasterizerAdapter> {
protected:
    void SetUp() override { Rasterizer = GetParam().Make(); }

    TextFont Font(int size, std::uint32_t colour = 0) const {
        return {GetParam().Family, size, colour};
    }

    std::unique_ptr<TextRasterizer> Rasterizer;
};

// The cases for the adapters that draw real font files.
class PrivateFontContract : public TextRasterizerContract {};

} // namespace norvale::testing
