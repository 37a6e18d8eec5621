#include "core/settings/atomic_file.h"

namespace norvale {

void ReplaceFileContents(FileSystem& files, const std::string& path, std::string_view contents) {
    const std::string temporary = path + ".tmp";
    try {
        const auto file = files.Create(temporary);
        file->Write(contents);
        file->Flush();
        file->Close();
        files.Replace(temporary, path);
    } catch (const FileError&) {
        files.Remove(temporary);
        throw;
    }
}

} // namespace norvale
