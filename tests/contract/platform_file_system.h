#pragma once

#include "core/platform/file_system.h"

#include <memory>

namespace norvale::testing {

// The platform's own file system; each test program defines it for its platform.
std::unique_ptr<FileSystem> MakePlatformFileSystem();

} // namespace norvale::testing
