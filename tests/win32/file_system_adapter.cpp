#include "contract/platform_file_system.h"
#include "win32/file_system_win32.h"

namespace norvale::testing {

std::unique_ptr<FileSystem> MakePlatformFileSystem() {
    return std::make_unique<win32::Win32FileSystem>();
}

} // namespace norvale::testing
