#pragma once

#include "core/platform/file_system.h"

#include <string>
#include <string_view>

namespace norvale {

// Gives the file at `path` the new contents through a temporary file beside it, flushed to
// the disk before it takes the file's place: a failure or a crash at any step leaves either
// the old file or the new one, never a mix. Throws FileError, with the old file in place.
void ReplaceFileContents(FileSystem& files, const std::string& path, std::string_view contents);

} // namespace norvale
