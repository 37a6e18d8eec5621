#include "tools/norvale_skin/pack_command.h"

#include "core/skin/skin_description.h"
#include "core/skin/skin_fonts.h"
#include "core/skin/skin_image.h"
#include "core/skin/skin_limits.h"
#include "core/skin/skin_package.h"
#include "core/skin/skin_package_names.h"
#include "core/skin/zip_writer.h"
#include "core/text/utf16.h"
#include "tools/norvale_skin/check_command.h"
#include "tools/norvale_skin/platform.h"
#include "tools/norvale_skin/skin_folder.h"

#include <cstdio>
#include <map>
#include <optional>
#include <set>

namespace norvale::tools {
namespace {

// Entries of the skin's own folder looked at for its texts.
constexpr std::size_t kMaxListedEntries = 256;

// A name from skin.xml as a package names it: '/' between the names, no "." or empty names.
std::string PackagePath(std::string_view name) {
    std::string path;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find_first_of("\\/", start);
        const std::string_view part = name.substr(start, end - start);
        if (!part.empty() && part != ".") {
            path.append(path.empty() ? "" : "/").append(part);
        }
        if (end == std::string_view::npos) {
            return path;
        }
        start = end + 1;
    }
}

// The files the skin needs, by their paths in the package, each read once through the skin's
// folder with its rules and limits; one file named twice (in any case) is taken once.
class PackedFiles {
public:
    explicit PackedFiles(SkinFolder& folder) : FFolder(folder) {}

    void Add(std::string_view name, std::uint64_t maxBytes, bool required) {
        const std::string path = PackagePath(name);
        const std::string folded = package::FoldedName(path);
        if (FTaken.count(folded) != 0) {
            return;
        }
        std::optional<std::string> bytes =
            required ? FFolder.Read(name, maxBytes) : FFolder.ReadIfPresent(name, maxBytes);
        if (bytes) {
            FTaken.insert(folded);
            FFiles[path] = std::move(*bytes);
        }
    }

    // The image and its variants.
    void AddImage(const std::string& name) {
        Add(name, kMaxSkinBytes, true);
        for (int factor = 2; factor <= kLargestVariant; ++factor) {
            Add(VariantPath(name, factor), kMaxSkinBytes, false);
        }
    }

    const std::map<std::string, std::string>& Files() const { return FFiles; }

private:
    SkinFolder& FFolder;
    std::set<std::string> FTaken;
    std::map<std::string, std::string> FFiles; // sorted, so the package is the same each time
};

SkinDescription Describe(const std::string& xml) {
    const auto document = MakeXmlDocument();
    document->LoadText(XmlTextAsUtf8(xml));
    std::vector<std::string> problems; // none: the skin passed its check
    SkinDescription skin = ReadSkinDescription(*document, UserFormatSettings(), problems);
    document->Close();
    return skin;
}

// The package's bytes, without the files read for it, or throws with the message to show.
std::string ZipOfSkin(const std::filesystem::path& skinFolder, const std::string& name,
                      const std::string& shown) {
    const auto files = MakeFileSystem();
    SkinFolder folder(*files, skinFolder, shown, "skin folder", kMaxSkinBytes);
    PackedFiles packed(folder);
    packed.Add("skin.xml", kMaxSkinXmlBytes, true);
    const SkinDescription skin = Describe(packed.Files().at("skin.xml"));
    for (const std::string* image :
         {&skin.ClockFace, &skin.Buttons, &skin.Glass, &skin.AmPm, &skin.Hours.FileName,
          &skin.Minutes.FileName, &skin.Seconds.FileName}) {
        packed.AddImage(*image);
    }
    if (skin.DigitalGlass) {
        packed.AddImage(*skin.DigitalGlass);
    }
    for (const std::string& font : folder.ListFiles("fonts", kMaxSkinFolderEntries)) {
        if (IsFontFile(font) || package::IsTextFile(font)) {
            const std::string path = "fonts/" + font;
            packed.Add(path, *package::MaxFileBytes(path), true);
        }
    }
    for (const std::string& text : files->ListFiles(PathText(skinFolder), kMaxListedEntries)) {
        if (package::IsTextFile(text)) {
            packed.Add(text, kMaxSkinTextBytes, true);
        }
    }
    ZipWriter zip;
    for (const auto& [path, bytes] : packed.Files()) {
        zip.Add(name + "/" + path, bytes);
    }
    return zip.Finish();
}

// The package, read back with the clock's own reader: what the clock will not read is not
// written.
std::string MakePackage(const std::filesystem::path& skinFolder, const std::string& name,
                        const std::string& shown) {
    std::string package = ZipOfSkin(skinFolder, name, shown);
    ReadSkinPackage({reinterpret_cast<const std::uint8_t*>(package.data()), package.size()},
                    name + kSkinPackageExtension);
    return package;
}

void WritePackage(const std::filesystem::path& output, const std::string& bytes) {
    const auto files = MakeFileSystem();
    const std::string path = PathText(output);
    const std::string partial = path + ".partial";
    try {
        const auto out = files->Create(partial);
        out->Write(bytes);
        out->Flush();
        out->Close();
        files->Replace(partial, path);
    } catch (const FileError&) {
        files->Remove(partial);
        throw;
    }
}

} // namespace

int Pack(const std::vector<std::string>& args) {
    std::filesystem::path folder;
    std::filesystem::path output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size() && output.empty()) {
            output = args[++i];
        } else if (!args[i].starts_with("-") && folder.empty()) {
            folder = args[i];
        } else {
            std::fprintf(stderr, "norvale-skin pack: unexpected \"%s\"\n%s%s",
                         EscapeControls(args[i]).c_str(), kCheckUsage, kPackUsage);
            return 2;
        }
    }
    if (folder.empty()) {
        std::fprintf(stderr, "norvale-skin pack: no skin folder given\n%s%s", kCheckUsage,
                     kPackUsage);
        return 2;
    }
    const int checked = Check(folder);
    std::fflush(stdout); // the check's report before any message of the packing
    if (checked != 0) {
        return 1;
    }
    const std::filesystem::path skinFolder = std::filesystem::absolute(folder).lexically_normal();
    const std::string name =
        PathText((skinFolder.has_filename() ? skinFolder : skinFolder.parent_path()).filename());
    if (output.empty()) {
        output = std::filesystem::path(std::u8string(name.begin(), name.end())) += ".nvskin";
    }
    try {
        const std::string package = MakePackage(skinFolder, name, PathText(folder) + "/");
        WritePackage(output, package);
        std::printf("packed %s into %s: %zu bytes\n", EscapeControls(name).c_str(),
                    EscapeControls(PathText(output)).c_str(), package.size());
        return 0;
    } catch (const std::exception& e) {
        PrintMessage(e.what());
        return 1;
    }
}

} // namespace norvale::tools
