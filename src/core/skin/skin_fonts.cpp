#include "core/skin/skin_fonts.h"

#include "core/text/ascii.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

namespace norvale {
namespace {

bool IsFontFile(const std::filesystem::path& file) {
    const auto extension = file.extension().native();
    std::string lower;
    for (const auto c : extension) {
        if (static_cast<unsigned long>(c) > 0x7F) {
            return false;
        }
        lower += ToLowerAscii(static_cast<char>(c));
    }
    return lower == ".ttf" || lower == ".otf";
}

// The font files of the folder sorted by name; none when it cannot be listed.
std::vector<std::filesystem::path> FontFilesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    std::filesystem::directory_iterator entry(folder, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::error_code typeError;
        if (entry->is_regular_file(typeError) && IsFontFile(entry->path())) {
            files.push_back(entry->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int LoadSkinFonts(const std::filesystem::path& skinFolder, TextRasterizer& rasterizer) {
    int added = 0;
    for (const std::filesystem::path& file : FontFilesIn(skinFolder / "fonts")) {
        added += rasterizer.AddPrivateFont(file) ? 1 : 0;
    }
    return added;
}

} // namespace norvale
