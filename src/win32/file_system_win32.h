#pragma once

#include "core/platform/file_system.h"

namespace norvale::win32 {

// Files through the wide Win32 file functions; errors carry the system's message text.
class Win32FileSystem final : public FileSystem {
public:
    std::optional<std::string> Read(std::string_view path) override;
    std::optional<std::string> ReadAtMost(std::string_view path, std::uint64_t maxBytes) override;
    std::optional<std::string> FinalPath(std::string_view path) override;
    std::vector<std::string> ListFiles(std::string_view folder, std::size_t maxEntries) override;
    std::unique_ptr<WritableFile> Create(std::string_view path) override;
    void Replace(std::string_view from, std::string_view to) override;
    void Rename(std::string_view from, std::string_view to) override;
    void Remove(std::string_view path) override;
};

} // namespace norvale::win32
