#include "contract/platform_file_system.h"
#include "linux/file_system_posix.h"

namespace norvale::testing {

std::unique_ptr<FileSystem> MakePlatformFileSystem() {
    return std::make_unique<linux_adapter::PosixFileSystem>();
}

} // namespace norvale::testing
