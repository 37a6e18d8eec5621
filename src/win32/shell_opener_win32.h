#pragma once

#include "core/platform/shell_opener.h"

namespace norvale::win32 {

// Opens documents through the shell, with the program registered for their type.
class Win32ShellOpener final : public ShellOpener {
public:
    void Open(std::string_view address, int showCommand) override;
};

} // namespace norvale::win32
