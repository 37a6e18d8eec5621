#include "contract/text_rasterizer_contract.h"
#include "linux/freetype_text_rasterizer.h"
#include "support/fake_text_rasterizer.h"

namespace norvale::testing {

// The fake runs here only: it is the same code on every platform.
std::vector<TextRasterizerAdapter> TextRasterizerAdapters() {
    return {
        {"Fake",
         []() -> std::unique_ptr<TextRasterizer> { return std::make_unique<FakeTextRasterizer>(); },
         "Block", false},
        {"FreeType",
         []() -> std::unique_ptr<TextRasterizer> {
             return std::make_unique<linux_adapter::FreeTypeTextRasterizer>();
         },
         "DejaVu Sans", true}};
}

} // namespace norvale::testing
