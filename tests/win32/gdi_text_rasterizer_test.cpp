#include "contract/text_rasterizer_contract.h"
#include "win32/gdi_text_rasterizer.h"

namespace norvale::testing {

INSTANTIATE_TEST_SUITE_P(Gdi, TextRasterizerContract,
                         ::testing::Values(TextRasterizerSubject{
                             "GDI", [] { return std::make_unique<win32::GdiTextRasterizer>(); },
                             "DejaVu Sans"}));

} // namespace norvale::testing
