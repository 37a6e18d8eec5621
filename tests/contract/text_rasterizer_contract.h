#pragma once

#include "core/platform/text_rasterizer.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

namespace norvale::testing {

// One implementation of the TextRasterizer port under test, and a font family it has.
struct TextRasterizerSubject {
    std::string Name;
    std::function<std::unique_ptr<TextRasterizer>()> Make;
    std::string Family;

    friend void PrintTo(const TextRasterizerSubject& subject, std::ostream* out) {
        *out << subject.Name;
    }
};

// The behaviour every TextRasterizer must show; each platform instantiates it with
// INSTANTIATE_TEST_SUITE_P(Name, TextRasterizerContract, ::testing::Values(subject)).
class TextRasterizerContract : public ::testing::TestWithParam<TextRasterizerSubject> {
protected:
    void SetUp() override { Rasterizer = GetParam().Make(); }

    TextFont Font(int size, std::uint32_t colour = 0) const {
        return {GetParam().Family, size, colour};
    }

    std::unique_ptr<TextRasterizer> Rasterizer;
};

} // namespace norvale::testing
