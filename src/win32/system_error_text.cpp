#include "win32/system_error_text.h"

#include "core/text/ascii.h"
#include "win32/wide_text.h"
#include "win32/win32_common.h"

namespace norvale::win32 {

std::string SystemErrorText(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer) {
        text = ToUtf8(std::wstring_view(buffer, length));
    }
    LocalFree(buffer);
    return std::string(TrimBlanks(text));
}

} // namespace norvale::win32
