#pragma once

#include "core/skin/skin_loader.h"

#include <filesystem>
#include <memory>

namespace norvale::tools {

// The labels' names in skin.xml, in the order of LabelIndex.
inline constexpr const char* kLabelNames[kLabelCount] = {"title",  "weekday", "time",
                                                         "timebg", "date",    "ampm"};

// Loads any skin folder with the clock's own loader into the given labels and buttons, its
// bitmaps drawn for the scale (every variant decoded when decodeEveryVariant asks for it); the
// messages of a SkinError name the files under the folder as the user typed it.
std::unique_ptr<TSkin>
LoadSkinFolderAsGiven(const std::filesystem::path& folder, TextRasterizer& rasterizer,
                      const FormatSettings& settings, std::array<TWindowLabel, kLabelCount>& labels,
                      std::array<TSknButton, 2>& buttons, DisplayScale scale = DisplayScale(),
                      bool decodeEveryVariant = false);

// Writes a message to the standard error with the skin's control characters escaped, so that
// no skin can steer the terminal.
void PrintMessage(std::string_view message);

} // namespace norvale::tools
