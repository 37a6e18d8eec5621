#include "core/skin/package_files.h"

#include <vector>

namespace norvale {
namespace {

constexpr char kReadOnly[] = "a skin package is only read";

// The path with '/' between its names, "." and empty names left out and ".." resolved; no
// name climbs above the top.
std::string Normal(std::string_view path) {
    std::vector<std::string_view> names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find_first_of("/\\", start);
        const std::string_view name = path.substr(start, end - start);
        if (name == "..") {
            if (!names.empty()) {
                names.pop_back();
            }
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    std::string normal;
    for (const std::string_view name : names) {
        normal.append("/").append(name);
    }
    return normal.empty() ? "/" : normal;
}

} // namespace

PackageFileSystem::PackageFileSystem(const SkinPackage& package, std::string_view root)
    : FPackageName(package.Name), FRoot(Normal(root)) {
    const std::string inside = SkinFolder() + "/";
    FFolders = {FRoot, SkinFolder()};
    for (const std::string& sub : package.Folders) {
        FFolders.insert(inside + sub);
    }
    for (const SkinPackageFile& file : package.Files) {
        FFiles[inside + file.Path] = &file.Bytes;
    }
}

std::optional<std::string> PackageFileSystem::Read(std::string_view path) {
    return ReadAtMost(path, UINT64_MAX);
}

std::optional<std::string> PackageFileSystem::ReadAtMost(std::string_view path,
                                                         std::uint64_t maxBytes) {
    const std::string normal = Normal(path);
    if (FFolders.count(normal) != 0) {
        throw FileError(kNotRegularFile);
    }
    const auto found = FFiles.find(normal);
    if (found == FFiles.end()) {
        return std::nullopt;
    }
    if (found->second->size() > maxBytes) {
        throw FileTooLarge(maxBytes);
    }
    return *found->second;
}

std::optional<std::string> PackageFileSystem::FinalPath(std::string_view path) {
    std::string normal = Normal(path);
    if (FFiles.count(normal) == 0 && FFolders.count(normal) == 0) {
        return std::nullopt;
    }
    return normal;
}

std::vector<std::string> PackageFileSystem::ListFiles(std::string_view folder,
                                                      std::size_t maxEntries) {
    const std::string normal = Normal(folder);
    if (FFolders.count(normal) == 0) {
        return {};
    }
    const std::string prefix = normal == "/" ? normal : normal + "/";
    const auto inside = [&](const std::string& path) {
        return path.size() > prefix.size() && path.starts_with(prefix) &&
               path.find('/', prefix.size()) == std::string::npos;
    };
    std::size_t entries = 0;
    for (const std::string& sub : FFolders) {
        entries += inside(sub) ? 1 : 0;
    }
    std::vector<std::string> names; // sorted, as the map is
    for (const auto& file : FFiles) {
        if (inside(file.first)) {
            ++entries;
            names.push_back(file.first.substr(prefix.size()));
        }
    }
    if (entries > maxEntries) {
        throw FileError(kTooManyEntries);
    }
    return names;
}

std::unique_ptr<WritableFile> PackageFileSystem::Create(std::string_view) {
    throw FileError(kReadOnly);
}

void PackageFileSystem::Replace(std::string_view, std::string_view) {
    throw FileError(kReadOnly);
}

void PackageFileSystem::Rename(std::string_view, std::string_view) {
    throw FileError(kReadOnly);
}

void PackageFileSystem::Remove(std::string_view) {}

} // namespace norvale
