#pragma once

#include "core/skin/package_files.h"
#include "core/skin/skin_loader.h"
#include "core/skin/skin_package.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string_view>

namespace norvale {

// What loading a package's skin for a preview needs: the loader's context without the
// program folder, and a place on the disk for the skin's fonts, since the platform's font
// engine reads fonts from files only.
struct PackagePreviewContext {
    FileSystem& Files;                // writes the fonts and removes them again
    std::filesystem::path FontFolder; // an existing folder of the caller's own, for them
    XmlDocument& Xml;
    const FormatSettings& Settings;
    TextRasterizer& Rasterizer;
    DisplayScale Scale = DisplayScale();
    bool DecodeEveryVariant = false;
};

// A package's skin loaded with the clock's own loader, all its checks included, from the
// package in memory, so that it can be shown before anything is installed: a skin that loads
// here loads once installed. Its fonts lie in the font folder, under their own names, while
// it lives. The package must outlive it.
class PackagedSkin {
public:
    // Fills labels and buttons as LoadSkinFolder does; messages name the files as
    // shownPackage/<skin>/<file>. Throws SkinError.
    PackagedSkin(const SkinPackage& package, std::string_view shownPackage,
                 const PackagePreviewContext& context,
                 std::array<TWindowLabel, kLabelCount>& labels, std::array<TSknButton, 2>& buttons);
    PackagedSkin(const PackagedSkin&) = delete;
    PackagedSkin& operator=(const PackagedSkin&) = delete;
    ~PackagedSkin();

    const TSkin& Skin() const { return *FSkin; }

private:
    class FontFiles;

    PackageFileSystem FFiles;
    std::unique_ptr<FontFiles> FFonts;
    std::unique_ptr<TSkin> FSkin; // the last member: it gives its fonts back first
};

} // namespace norvale
