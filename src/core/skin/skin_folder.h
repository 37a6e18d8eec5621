#pragma once

#include "core/platform/file_system.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace norvale {

// A file of a skin that cannot be used; the text names the file and the fault.
class SkinFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Whether a file name from a skin, relative to its folder ('\' or '/' between the names),
// names a file below that folder on every system: no absolute, drive, UNC or device path, no
// "..", no ":" (drive letters, alternate data streams), no reserved device name such as CON,
// NUL or COM1 (with or without an extension), no name ending in a dot or a space, no control
// character.
bool StaysInFolder(std::string_view relativePath);

// The files of one skin folder, read through the file system port: nothing outside the folder
// is opened, whatever the skin names, and all the images of the skin together decode at most
// kMaxSkinPixels pixels.
class SkinFolder {
public:
    // shownFolder is put in front of the skin's file names in messages; kind names the folder
    // in them.
    SkinFolder(FileSystem& files, const std::filesystem::path& folder, std::string shownFolder,
               std::string kind = "skin folder");

    // How messages name the file.
    std::string Shown(std::string_view relativePath) const {
        return FShown + std::string(relativePath);
    }

    // The file's bytes. Throws SkinFileError when the name leaves the folder (also through a
    // link), when the file is missing or cannot be read, or when it is larger than maxBytes.
    std::string Read(std::string_view relativePath, std::uint64_t maxBytes);
    // The same, but a missing file is nullopt.
    std::optional<std::string> ReadIfPresent(std::string_view relativePath, std::uint64_t maxBytes);
    // The full path of a file the skin names and that exists inside the folder, for a platform
    // service that opens files itself; the same faults as Read.
    std::filesystem::path Locate(std::string_view relativePath);
    // The same, but a missing file is nullopt.
    std::optional<std::filesystem::path> Find(std::string_view relativePath);
    // The names of the plain files in a subfolder, sorted.
    std::vector<std::string> ListFiles(std::string_view subfolder);

    // Counts an image of width x height about to be decoded; throws SkinFileError naming the
    // file when its side is longer than sideLimit or the skin's pixels would pass the limit.
    void TakePixels(std::uint64_t width, std::uint64_t height, int sideLimit,
                    std::string_view relativePath);

private:
    // The final path of the file, checked to lie below the folder's; nullopt when missing.
    std::optional<std::string> Resolve(std::string_view relativePath);

    FileSystem& FFiles;
    std::string FFolder;
    std::string FShown;
    std::string FKind;
    std::optional<std::string> FFinalFolder;
    std::uint64_t FPixels = 0;
};

} // namespace norvale
