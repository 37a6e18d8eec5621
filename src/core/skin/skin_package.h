#pragma once

#include "core/platform/file_system.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace norvale {

// What a skin package's file name ends in: a zip file of one skin folder.
inline constexpr char kSkinPackageExtension[] = ".nvskin";

// A package that cannot be used; what() is the message the user sees: the package, the entry
// and the fault.
class SkinPackageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SkinPackageFile {
    std::string Path; // below the skin's folder, '/' between the names
    std::string Bytes;
};

// One skin folder as its package holds it, every file read, checked and in memory, ready to be
// shown (PackagedSkin) and then written where the user's skins live: each folder of
// Folders created in its order (parents first), each file of Files written below the skin's
// folder, all of it first in a folder of another name that is then renamed to Name, so that a
// failure never leaves half a skin.
struct SkinPackage {
    std::string Name;                   // the package's one folder: the skin's name
    std::vector<std::string> Folders;   // below it, each after its parent
    std::vector<SkinPackageFile> Files; // in the package's order
};

// Reads a package held in memory; shownName names it in messages. Every entry must lie in one
// folder, the skin's, and follow the rules of a skin's files (the names NameFault allows,
// at most kMaxSkinFileName bytes below the folder, no link or device, only the kinds of file a
// skin uses, within the skin's limits); the package holds at most kMaxSkinPackageEntries
// entries and kMaxSkinBytes bytes inflated, and no entry inflates more than
// kMaxSkinPackageRatio times. All of it is checked from the zip's directory and headers before
// anything is inflated, and again while inflating, where no entry may come out longer or
// shorter than it says or with another CRC-32. Refused besides: encryption, ZIP64, several
// disks, data descriptors, comments, bytes outside the entries, methods other than stored and
// deflated, and names not marked UTF-8 that are not ASCII. Throws SkinPackageError.
SkinPackage ReadSkinPackage(std::span<const std::uint8_t> package, std::string_view shownName);

// The same for a package file read through the port, at most kMaxSkinPackageBytes of it.
SkinPackage ReadSkinPackageFile(FileSystem& files, std::string_view path,
                                std::string_view shownName);

} // namespace norvale
