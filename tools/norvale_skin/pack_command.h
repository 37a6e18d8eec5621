#pragma once

#include <string>
#include <vector>

namespace norvale::tools {

inline constexpr char kPackUsage[] = "       norvale-skin pack FOLDER [-o PACKAGE.nvskin]\n";

// `pack FOLDER [-o FILE]` (the arguments after the word pack): checks the skin as `check`
// does, then writes the package of what the skin needs (skin.xml, the images it names and
// their variants, the fonts in fonts, the .txt and .md texts beside skin.xml and in fonts),
// read back with the clock's own package reader before it is written, to FILE or to
// <skin>.nvskin in the current folder. Exit code 0, 1 when the skin fails or the package
// cannot be made or written, 2 for bad arguments.
int Pack(const std::vector<std::string>& args);

} // namespace norvale::tools
