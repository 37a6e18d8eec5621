#include "tools/norvale_skin/skin_folder.h"

#include "core/text/utf16.h"
#include "tools/norvale_skin/platform.h"

#include <cstdio>

namespace norvale::tools {

std::unique_ptr<TSkin> LoadSkinFolderAsGiven(const std::filesystem::path& folder,
                                             TextRasterizer& rasterizer,
                                             const FormatSettings& settings,
                                             std::array<TWindowLabel, kLabelCount>& labels,
                                             std::array<TSknButton, 2>& buttons, DisplayScale scale,
                                             bool decodeEveryVariant) {
    const auto xml = MakeXmlDocument();
    const std::filesystem::path skinFolder = std::filesystem::absolute(folder).lexically_normal();
    const std::u8string name =
        (skinFolder.has_filename() ? skinFolder : skinFolder.parent_path()).filename().u8string();
    const std::u8string shown = folder.u8string();
    // The program folder is two levels up, as for face\<name>; only the chime path uses it.
    const auto files = MakeFileSystem();
    const SkinLoadContext context{skinFolder.parent_path().parent_path(),
                                  *files,
                                  *xml,
                                  settings,
                                  rasterizer,
                                  scale,
                                  decodeEveryVariant};
    return LoadSkinFolder(skinFolder, std::string(shown.begin(), shown.end()) + "/",
                          std::string(name.begin(), name.end()), context, labels, buttons);
}

void PrintMessage(std::string_view message) {
    std::fprintf(stderr, "%s\n", EscapeControls(message, true).c_str());
}

} // namespace norvale::tools
