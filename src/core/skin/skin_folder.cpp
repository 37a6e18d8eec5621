#include "core/skin/skin_folder.h"

#include "core/skin/skin_limits.h"
#include "core/text/ascii.h"
#include "core/text/utf16.h"

#include <algorithm>
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

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::optional<std::string> NameFault(std::string_view relativePath, std::string_view kind) {
    const std::string outside = "the file lies outside the " + std::string(kind);
    // "\\host\share", "\\.\device", "\\?\C:\" and "/etc" all start at a root.
    if (relativePath.starts_with('/') || relativePath.starts_with('\\') ||
        (relativePath.size() >= 2 && relativePath[1] == ':' && IsDriveLetter(relativePath[0]))) {
        return outside;
    }
    for (const char c : relativePath) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return "the name holds a control character";
        }
    }
    if (relativePath.find(':') != std::string_view::npos) {
        return "the name holds a \":\", which names a drive or a data stream";
    }
    int depth = 0;
    bool climbs = false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = relativePath.find_first_of("\\/", start);
        const std::string_view name = relativePath.substr(start, end - start);
        if (name == "..") {
            if (--depth < 0) {
                return outside;
            }
            climbs = true;
        } else if (!name.empty() && name != ".") {
            ++depth;
            // Windows drops trailing dots and spaces, so "a." would open "a" and "... " its
            // parent.
            if (name.ends_with('.') || name.ends_with(' ')) {
                return "the name \"" + EscapeControls(name) + "\" ends in a dot or a space";
            }
            if (IsDeviceName(name)) {
                return "the name \"" + EscapeControls(name) + "\" is reserved for a device";
            }
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    if (climbs) {
        return std::string("the name goes up a folder with \"..\"");
    }
    return std::nullopt;
}

SkinFolder::SkinFolder(FileSystem& files, const std::filesystem::path& folder,
                       std::string_view shownFolder, std::string kind, std::uint64_t maxBytes)
    : FFiles(files), FFolder(Utf8(folder)), FShown(EscapeControls(shownFolder)),
      FKind(std::move(kind)), FMaxBytes(maxBytes), FBytesLeft(maxBytes) {}

std::string SkinFolder::Shown(std::string_view relativePath) const {
    return FShown + EscapeControls(relativePath);
}

std::optional<std::string> SkinFolder::Resolve(std::string_view relativePath,
                                               std::string_view what) {
    if (relativePath.empty()) {
        return std::nullopt;
    }
    if (const auto fault = NameFault(relativePath, FKind)) {
        throw SkinFileError(Shown(relativePath) + ": " + *fault);
    }
    std::optional<std::string> final;
    try {
        if (!FFinalFolder) {
            FFinalFolder = FFiles.FinalPath(FFolder);
            if (!FFinalFolder) {
                return std::nullopt; // so is every file in it
            }
        }
        final = FFiles.FinalPath(Joined(FFolder, relativePath));
    } catch (const FileError& e) {
        throw SkinFileError(Shown(relativePath) + ": " + e.what());
    }
    if (!final) {
        return std::nullopt;
    }
    // A link inside the folder may lead anywhere.
    const std::string& root = *FFinalFolder;
    const bool inside = final->size() > root.size() && final->starts_with(root) &&
                        (root.ends_with('/') || root.ends_with('\\') ||
                         (*final)[root.size()] == '/' || (*final)[root.size()] == '\\');
    if (!inside) {
        throw SkinFileError(Shown(relativePath) + ": the " + std::string(what) +
                            " lies outside the " + FKind);
    }
    return final;
}

std::optional<std::string> SkinFolder::ReadIfPresent(std::string_view relativePath,
                                                     std::uint64_t maxBytes) {
    const auto final = Resolve(relativePath, "file");
    if (!final) {
        return std::nullopt;
    }
    const std::uint64_t limit = std::min(maxBytes, FBytesLeft);
    std::optional<std::string> bytes;
    try {
        bytes = FFiles.ReadAtMost(*final, limit);
    } catch (const FileTooLarge& e) {
        if (limit < maxBytes) {
            throw SkinFileError(Shown(relativePath) + ": the " + FKind +
                                "'s files hold more than " + std::to_string(FMaxBytes) +
                                " bytes together");
        }
        throw SkinFileError(Shown(relativePath) + ": " + e.what());
    } catch (const FileError& e) {
        throw SkinFileError(Shown(relativePath) + ": " + e.what());
    }
    if (bytes) {
        FBytesLeft -= bytes->size();
    }
    return bytes;
}

std::string SkinFolder::Read(std::string_view relativePath, std::uint64_t maxBytes) {
    auto bytes = ReadIfPresent(relativePath, maxBytes);
    if (!bytes) {
        throw SkinFileError(Shown(relativePath) + ": the file is missing");
    }
    return std::move(*bytes);
}

std::optional<std::filesystem::path> SkinFolder::Find(std::string_view relativePath) {
    const auto final = Resolve(relativePath, "file");
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

std::vector<std::string> SkinFolder::ListFiles(std::string_view subfolder, std::size_t maxEntries) {
    // The folder's final path is listed, not the name: a link could lead the listing anywhere.
    const auto final = Resolve(subfolder, "folder");
    if (!final) {
        return {};
    }
    try {
        return FFiles.ListFiles(*final, maxEntries);
    } catch (const FileError& e) {
        throw SkinFileError(Shown(subfolder) + ": " + e.what());
    }
}

void SkinFolder::TakePixels(std::uint64_t width, std::uint64_t height, int sideLimit,
                            std::uint64_t weight, std::string_view relativePath) {
    const auto limit = static_cast<std::uint64_t>(sideLimit);
    if (width > limit || height > limit) {
        throw SkinFileError(Shown(relativePath) + ": the image is " + std::to_string(width) +
                            " x " + std::to_string(height) + " pixels; no side may pass " +
                            std::to_string(limit));
    }
    // Both sides are at most a few thousand and the weight below a hundred: nothing overflows.
    const std::uint64_t pixels = width * height * weight;
    if (FPixels + pixels > kMaxSkinPixels) {
        throw SkinFileError(Shown(relativePath) + ": the skin's images need more than " +
                            std::to_string(kMaxSkinPixels) + " pixels together at 300 %");
    }
    FPixels += pixels;
}

} // namespace norvale
