#include "win32/shell_opener_win32.h"

#include "win32/wide_text.h"
#include "win32/win32_common.h"

#include <shellapi.h>

namespace norvale::win32 {

// NOTE: the wide call, so that a program folder with letters outside the ANSI code page
// still opens.
void Win32ShellOpener::Open(std::string_view address, int showCommand) {
    ShellExecuteW(nullptr, L"open", ToWide(address).c_str(), nullptr, nullptr, showCommand);
}

} // namespace norvale::win32
