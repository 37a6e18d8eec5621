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

// Why a file name from a skin, relative to its folder ('\' or '/' between the names), cannot
// name a file below that folder on every system, or nullopt when it can. Absolute, drive,
// network and device paths and ".." that climbs above the folder lie outside it ("the file
// lies outside the " + kind); each other refused name says the rule it breaks: a ".." at all,
// a ":" (a drive or an alternate data stream), a reserved device name such as CON, NUL or COM1
// (with or without an extension), a name ending in a dot or a space, a control character.
std::optional<std::string> NameFault(std::string_view relativePath, std::string_view kind);

// The files of one skin folder, read through the file system port: nothing outside the folder
// is opened or listed, whatever the skin names, and all its files together hold at most
// maxBytes bytes and its images at most kMaxSkinPixels pixels.
class SkinFolder {
public:
    // shownFolder is put in front of the skin's file names in messages; kind names the folder
    // in them.
    SkinFolder(FileSystem& files, const std::filesystem::path& folder, std::string_view shownFolder,
               std::string kind = "skin folder", std::uint64_t maxBytes = UINT64_MAX);

    // How messages name the file; control characters of the name are escaped.
    std::string Shown(std::string_view relativePath) const;

    // The file's bytes, counted against the folder's bytes. Throws SkinFileError when the name
    // is refused or leaves the folder (also through a link), when the file is missing, is no
    // regular file or cannot be read, or when it is larger than maxBytes or than the folder's
    // bytes left.
    std::string Read(std::string_view relativePath, std::uint64_t maxBytes);
    // The same, but a missing file is nullopt.
    std::optional<std::string> ReadIfPresent(std::string_view relativePath, std::uint64_t maxBytes);
    // The full path of a file the skin names and that exists inside the folder, for a platform
    // service that opens files itself; the same faults as Read.
    std::filesystem::path Locate(std::string_view relativePath);
    // The same, but a missing file is nullopt.
    std::optional<std::filesystem::path> Find(std::string_view relativePath);
    // The names of the regular files in a subfolder, sorted, once the subfolder's final path is
    // known to lie inside the folder; none when it is missing. Throws SkinFileError for a
    // subfolder outside or of more than maxEntries entries.
    std::vector<std::string> ListFiles(std::string_view subfolder, std::size_t maxEntries);

    // Counts `weight` pixels for each of an image's width x height, about to be decoded and
    // drawn; throws SkinFileError naming the file when its side is longer than sideLimit or the
    // skin's pixels would pass kMaxSkinPixels.
    void TakePixels(std::uint64_t width, std::uint64_t height, int sideLimit, std::uint64_t weight,
                    std::string_view relativePath);
    // The bytes the folder's files may still hold.
    std::uint64_t BytesLeft() const { return FBytesLeft; }

private:
    // The final path of the file or folder (what), checked to lie below the folder's;
    // nullopt when missing.
    std::optional<std::string> Resolve(std::string_view relativePath, std::string_view what);

    FileSystem& FFiles;
    std::string FFolder;
    std::string FShown;
    std::string FKind;
    std::optional<std::string> FFinalFolder;
    std::uint64_t FPixels = 0;
    std::uint64_t FMaxBytes;
    std::uint64_t FBytesLeft;
};

} // namespace norvale
