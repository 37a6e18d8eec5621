#include "contract/text_rasterizer_contract.h"
#include "linux/freetype_text_rasterizer.h"

namespace norvale::testing {

INSTANTIATE_TEST_SUITE_P(
    FreeType, TextRasterizerContract,
    ::testing::Values(TextRasterizerSubject{
        "FreeType", [] { return std::make_unique<linux_platform::FreeTypeTextRasterizer>(); },
        "DejaVu Sans"}));

} // namespace norvale::testing
