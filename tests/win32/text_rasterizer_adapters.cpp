#include "contract/text_rasterizer_contract.h"
#include "win32/gdi_text_rasterizer.h"

namespace norvale::testing {

// NOTE: Wine finds the Linux fonts through fontconfig, so GDI has DejaVu Sans here too.
std::vector<TextRasterizerAdapter> TextRasterizerAdapters() {
    return {{"GDI",
             []() -> std::unique_ptr<TextRasterizer> {
                 return std::make_unique<win32::GdiTextRasterizer>();
             },
             "DejaVu Sans", true}};
}

} // namespace norvale::testing
