#pragma once

#include "core/skin/skin_loader.h"

#include <filesystem>
#include <memory>

namespace norvale::tools {

// The labels' names in skin.xml, in the order of LabelIndex.
inline constexpr const char* kLabelNames[kLabelCount] = {"title",  "weekday", "time",
                                                         "timebg", "date",    "ampm"};

// Loads any skin folder with the clock's own loader into the given labels and buttons; the
// messages of a SkinError name the files under the folder as the user typed it.
std::unique_ptr<TSkin> LoadSkinFolderAsGiven(const std::filesystem::path& folder,
                                             TextRasterizer& rasterizer,
                                             const FormatSettings& settings,
                                             std::array<TWindowLabel, kLabelCount>& labels,
                                             std::array<TSknButton, 2>& buttons);

} // namespace norvale::tools
