#pragma once

#include "core/platform/text_rasterizer.h"

#include <filesystem>

namespace norvale {

// Adds every TrueType and OpenType file (.ttf, .otf in any case) of the skin's "fonts"
// folder to the rasterizer as a private font, in the order of their names, so that the
// skin's labels find the families it names on any computer. A missing folder or a file that
// will not load is no error: the platform's stand-in font is drawn instead. Returns how many
// files were added.
int LoadSkinFonts(const std::filesystem::path& skinFolder, TextRasterizer& rasterizer);

} // namespace norvale
