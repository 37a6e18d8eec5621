#pragma once

#include "core/platform/registry.h"

namespace norvale::win32 {

// The Windows registry through the wide advapi32 functions; texts cross as UTF-16.
class Win32Registry final : public Registry {
public:
    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                         bool createIfMissing, RegistryAccess access) override;
};

} // namespace norvale::win32
