#pragma once

#include <filesystem>

namespace norvale::tools {

inline constexpr char kCheckUsage[] = "usage: norvale-skin check FOLDER|PACKAGE.nvskin\n";

// Loads a skin folder, or the skin of a package, with the clock's own loader and every variant
// decoded, and prints "ok" with the face's size, the label and button boxes, the variants and
// the skin's author and description; or the message the clock would show. Exit code 0 or 1.
int Check(const std::filesystem::path& folderOrPackage);

} // namespace norvale::tools
