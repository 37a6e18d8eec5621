#include "core/skin/skin_folder.h"

#include "core/skin/skin_limits.h"
#include "core/text/ascii.h"

#include <array>

namespace norvale {
namespace {

constexpr std::array<std::string_view, 6> kDeviceNames = {"CON", "PRN",    "AUX",
                                                          "NUL", "CONIN$", "CONOUT$"};

// CON, NUL, COM1, LPT¹ and their kin name devices on Windows, also with an extension
// ("nul.png") and trailing spaces before it.
bool IsDeviceName(std::string_view name) {
    std::string_view stem = name.substr(0, name.find('.'));
    while (stem.ends_with(' ')) {
        stem.remove_suffix(1);
    }
    for (const std::string_view device : kDeviceNames) {
        if (EqualsNoCase(stem, device)) {
            return true;
        }
    }
    if (stem.size() < 4 ||
        !(EqualsNoCase(stem.substr(0, 3), "COM") || EqualsNoCase(stem.substr(0, 3), "LPT"))) {
        return false;
    }
    const std::string_view digit = stem.substr(3);
    return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" ||
           digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

bool IsSafeName(std::string_view name) {
    if (name == "..") {
        return false;
    }
    if (name.empty() || name == ".") {
        return true;
    }
    // Windows drops trailing dots and spaces, so "a." would open "a" and "... " its parent.
    return !name.ends_with('.') && !name.ends_with(' ') && !IsDeviceName(name);
}

std::string Joined(const std::string& folder, std::string_view relative) {
    std::string path = folder;
    if (!path.empty() && !path.ends_with('/') && !path.ends_with('\\')) {
        path += '/';
    }
    for (const char c : relative) {
        path += c == '\\' ? '/' : c;
    }
    return path;
}

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

bool StaysInFolder(std::string_view relativePath) {
    if (relativePath.starts_with('/') || relativePath.starts_with('\\')) {
        return false;
    }
    for (const char c : relativePath) {
        if (c == ':' || static_cast<unsigned char>(c) < 0x20) {
            return false;
        }
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = relativePath.find_first_of("\\/", start);
        if (!IsSafeName(relativePath.substr(start, end - start))) {
            return false;
        }
        if (end == std::string_view::npos) {
            return true;
        }
        start = end + 1;
    }
}

SkinFolder::SkinFolder(FileSystem& files, const std::filesystem::path& folder,
                       std::string shownFolder, std::string kind)
    : FFiles(files), FFolder(Utf8(folder)), FShown(std::move(shownFolder)), FKind(std::move(kind)) {
}

std::optional<std::string> SkinFolder::Resolve(std::string_view relativePath) {
    if (relativePath.empty()) {
        return std::nullopt;
    }
    if (!StaysInFolder(relativePath)) {
        throw SkinFileError(Shown(relativePath) + ": the file lies outside the " + FKind);
    }
    if (!FFinalFolder) {
        FFinalFolder = FFiles.FinalPath(FFolder);
        if (!FFinalFolder) {
            return std::nullopt; // so is every file in it
        }
    }
    auto final = FFiles.FinalPath(Joined(FFolder, relativePath));
    if (!final) {
        return std::nullopt;
    }
    // A link inside the folder may lead anywhere.
    const std::string& root = *FFinalFolder;
    const bool inside = final->size() > root.size() && final->starts_with(root) &&
                        (root.ends_with('/') || root.ends_with('\\') ||
                         (*final)[root.size()] == '/' || (*final)[root.size()] == '\\');
    if (!inside) {
        throw SkinFileError(Shown(relativePath) + ": the file lies outside the " + FKind);
    }
    return final;
}

std::optional<std::string> SkinFolder::ReadIfPresent(std::string_view relativePath,
                                                     std::uint64_t maxBytes) {
    const auto final = Resolve(relativePath);
    if (!final) {
        return std::nullopt;
    }
    try {
        return FFiles.ReadAtMost(*final, maxBytes);
    } catch (const FileError& e) {
        throw SkinFileError(Shown(relativePath) + ": " + e.what());
    }
}

std::string SkinFolder::Read(std::string_view relativePath, std::uint64_t maxBytes) {
    auto bytes = ReadIfPresent(relativePath, maxBytes);
    if (!bytes) {
        throw SkinFileError(Shown(relativePath) + ": the file is missing");
    }
    return std::move(*bytes);
}

std::optional<std::filesystem::path> SkinFolder::Find(std::string_view relativePath) {
    const auto final = Resolve(relativePath);
    if (!final) {
        return std::nullopt;
    }
    return std::filesystem::path(std::u8string(final->begin(), final->end()));
}

std::filesystem::path SkinFolder::Locate(std::string_view relativePath) {
    auto found = Find(relativePath);
    if (!found) {
        throw SkinFileError(Shown(relativePath) + ": the file is missing");
    }
    return std::move(*found);
}

std::vector<std::string> SkinFolder::ListFiles(std::string_view subfolder) {
    if (!StaysInFolder(subfolder)) {
        return {};
    }
    return FFiles.ListFiles(Joined(FFolder, subfolder));
}

void SkinFolder::TakePixels(std::uint64_t width, std::uint64_t height, int sideLimit,
                            std::string_view relativePath) {
    const auto limit = static_cast<std::uint64_t>(sideLimit);
    if (width > limit || height > limit) {
        throw SkinFileError(Shown(relativePath) + ": the image is " + std::to_string(width) +
                            " x " + std::to_string(height) + " pixels; no side may pass " +
                            std::to_string(limit));
    }
    // Both sides are at most a few thousand, so neither product nor sum can overflow.
    if (FPixels + width * height > kMaxSkinPixels) {
        throw SkinFileError(Shown(relativePath) + ": the skin's images hold more than " +
                            std::to_string(kMaxSkinPixels) + " pixels together");
    }
    FPixels += width * height;
}

} // namespace norvale
