#pragma once

#include "core/platform/file_system.h"
#include "core/skin/skin_package.h"

#include <map>
#include <set>
#include <string>

namespace norvale {

// A skin package's files as a file system that only reads, so that the clock's own loader can
// load the skin from memory: the skin's folder is SkinFolder(), below a root folder that holds
// nothing else. Paths take '/' or '\' between the names; "." and ".." are resolved. The package
// must outlive it.
class PackageFileSystem final : public FileSystem {
public:
    explicit PackageFileSystem(const SkinPackage& package, std::string_view root = "/package");

    const std::string& Root() const { return FRoot; }
    std::string SkinFolder() const { return FRoot + "/" + FPackageName; }

    std::optional<std::string> Read(std::string_view path) override;
    std::optional<std::string> ReadAtMost(std::string_view path, std::uint64_t maxBytes) override;
    std::optional<std::string> FinalPath(std::string_view path) override;
    std::vector<std::string> ListFiles(std::string_view folder, std::size_t maxEntries) override;
    // Writing throws FileError: a package is only read.
    std::unique_ptr<WritableFile> Create(std::string_view path) override;
    void Replace(std::string_view from, std::string_view to) override;
    void Rename(std::string_view from, std::string_view to) override;
    void Remove(std::string_view path) override;

private:
    const std::string FPackageName;
    const std::string FRoot;
    std::map<std::string, const std::string*> FFiles; // full path -> the file's bytes
    std::set<std::string> FFolders;                   // full paths, the root's included
};

} // namespace norvale
