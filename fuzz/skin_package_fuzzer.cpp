#include "core/skin/package_preview.h"
#include "core/skin/skin_folder.h"
#include "core/skin/skin_limits.h"
#include "core/skin/skin_package_names.h"
#include "core/skin/zip_writer.h"
#include "linux/pugixml_document.h"
#include "support/fake_file_system.h"
#include "support/fake_text_rasterizer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>

// One input is a skin package. The reader may refuse it with a SkinPackageError, and nothing
// else may happen. What it accepts must keep the skin's rules, written apart from the reader:
// one folder of an allowed name, files of the kinds and sizes a skin has, no two names that
// Windows takes for one, at most the skin's bytes; written again by the package writer it
// must read back the same. Its skin is then loaded as a preview: a SkinError is allowed, and
// the fonts written for the font engine must be gone once the preview is.
namespace {

using namespace norvale;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckRules(const SkinPackage& package) {
    Require(!package.Name.empty() && package.Name.size() <= kMaxSkinNameBytes &&
            package.Name.find('/') == std::string::npos && !NameFault(package.Name, "folder"));
    std::uint64_t total = 0;
    std::set<std::string> folded;
    for (const std::string& folder : package.Folders) {
        Require(!NameFault(folder, "folder") && folder.find('\\') == std::string::npos);
        Require(folded.insert(package::FoldedName(folder)).second);
    }
    for (const SkinPackageFile& file : package.Files) {
        Require(file.Path.size() <= kMaxSkinFileName && !NameFault(file.Path, "folder") &&
                file.Path.find('\\') == std::string::npos);
        const auto most = package::MaxFileBytes(file.Path);
        Require(most && file.Bytes.size() <= *most);
        Require(folded.insert(package::FoldedName(file.Path)).second);
        total += file.Bytes.size();
    }
    Require(total <= kMaxSkinBytes);
    Require(std::any_of(package.Files.begin(), package.Files.end(),
                        [](const SkinPackageFile& file) { return file.Path == "skin.xml"; }));
}

SkinPackage Read(const std::string& zip) {
    return ReadSkinPackage({reinterpret_cast<const std::uint8_t*>(zip.data()), zip.size()},
                           "fuzz.nvskin");
}

void CheckRewritten(const SkinPackage& package) {
    ZipWriter zip;
    for (const SkinPackageFile& file : package.Files) {
        zip.Add(package.Name + "/" + file.Path, file.Bytes);
    }
    const SkinPackage again = Read(zip.Finish());
    Require(again.Name == package.Name && again.Files.size() == package.Files.size());
    for (std::size_t i = 0; i < again.Files.size(); ++i) {
        Require(again.Files[i].Path == package.Files[i].Path &&
                again.Files[i].Bytes == package.Files[i].Bytes);
    }
}

void Preview(const SkinPackage& package) {
    static const auto xml = linux_adapter::MakePugixmlDocument();
    testing::FakeFileSystem disk;
    testing::FakeTextRasterizer text;
    text.Files = &disk;
    const FormatSettings settings = FormatSettings::EnglishUnitedStates();
    TCursorKind cursor = TCursorKind::Default;
    auto labels = InitialLabels(text);
    std::array<TSknButton, 2> buttons{TSknButton(10, 67, 24, 16, cursor),
                                      TSknButton(110, 67, 24, 16, cursor)};
    try {
        const PackagedSkin skin(package, "fuzz.nvskin",
                                {disk, "/fonts", *xml, settings, text, DisplayScale()}, labels,
                                buttons);
        Require(skin.Skin().Width() > 0);
    } catch (const SkinError&) {
    }
    Require(disk.Files.empty() && text.PrivateFonts.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SkinPackage package;
    try {
        package = ReadSkinPackage({data, size}, "fuzz.nvskin");
    } catch (const SkinPackageError&) {
        return 0;
    }
    CheckRules(package);
    CheckRewritten(package);
    Preview(package);
    return 0;
}
