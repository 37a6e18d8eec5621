#include "core/skin/skin_package_names.h"

#include "core/skin/skin_folder.h"
#include "core/skin/skin_fonts.h"
#include "core/skin/skin_limits.h"
#include "core/text/ascii.h"
#include "core/text/utf16.h"

#include <algorithm>

namespace norvale::package {
namespace {

std::string Quoted(std::string_view text) {
    return "\"" + EscapeControls(text) + "\"";
}

} // namespace

std::string FoldedName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        c = ToLowerAscii(c);
    }
    return folded;
}

bool IsTextFile(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot != std::string_view::npos &&
           (EqualsNoCase(name.substr(dot), ".txt") || EqualsNoCase(name.substr(dot), ".md"));
}

EntryName SplitEntryName(std::string_view name) {
    if (name.find('\\') != std::string_view::npos) {
        throw EntryFault("the name holds a \"\\\"; a package separates names with \"/\"");
    }
    if (const auto fault = NameFault(name, "skin's folder")) {
        throw EntryFault(*fault);
    }
    EntryName entry;
    entry.Folder = name.ends_with('/');
    const std::string_view inside = entry.Folder ? name.substr(0, name.size() - 1) : name;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = inside.find('/', start);
        const std::string_view part = inside.substr(start, end - start);
        if (part.empty() || part == ".") {
            throw EntryFault("the name holds an empty part or a \".\"");
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    const std::size_t slash = inside.find('/');
    if (slash == std::string_view::npos && !entry.Folder) {
        throw EntryFault("the file lies outside the skin's folder: a package holds one folder");
    }
    entry.Skin = std::string(inside.substr(0, slash));
    entry.Path = slash == std::string_view::npos ? "" : std::string(inside.substr(slash + 1));
    if (entry.Skin.size() > kMaxSkinNameBytes) {
        throw EntryFault("the skin's name is longer than " + std::to_string(kMaxSkinNameBytes) +
                         " bytes");
    }
    if (entry.Path.size() > kMaxSkinFileName) {
        throw EntryFault("the name below the skin's folder is longer than " +
                         std::to_string(kMaxSkinFileName) + " bytes");
    }
    return entry;
}

std::optional<std::uint64_t> MaxFileBytes(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view folder = slash == std::string_view::npos ? "" : path.substr(0, slash);
    const std::string_view extension = path.substr(std::min(path.rfind('.'), path.size()));
    if (path == "skin.xml") {
        return kMaxSkinXmlBytes;
    }
    if (EqualsNoCase(extension, ".png")) {
        return kMaxSkinBytes;
    }
    if (folder == "fonts" && IsFontFile(path)) {
        return kMaxSkinFontBytes;
    }
    if (IsTextFile(path)) {
        return kMaxSkinTextBytes;
    }
    return std::nullopt;
}

std::optional<std::string> EntryNames::AddFolder(const std::string& path) {
    const auto [at, added] = FSeen.emplace(FoldedName(path), true);
    if (!added && !at->second) {
        return "the folder " + Quoted(path) + " has the name of a file";
    }
    if (added) {
        FFolders.push_back(path);
    }
    return std::nullopt;
}

std::optional<std::string> EntryNames::Add(const EntryName& entry) {
    if (entry.Path.empty()) {
        return std::nullopt; // the skin's folder itself
    }
    for (std::size_t slash = entry.Path.find('/'); slash != std::string::npos;
         slash = entry.Path.find('/', slash + 1)) {
        if (auto fault = AddFolder(entry.Path.substr(0, slash))) {
            return fault;
        }
    }
    if (entry.Folder) {
        return AddFolder(entry.Path);
    }
    if (!FSeen.emplace(FoldedName(entry.Path), false).second) {
        return "another entry has this name (names are told apart without regard to case)";
    }
    return std::nullopt;
}

} // namespace norvale::package
