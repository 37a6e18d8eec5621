#pragma once

#include <string>
#include <string_view>

namespace norvale::win32 {

// The core keeps text as UTF-8; the wide Windows API speaks UTF-16.
std::wstring ToWide(std::string_view utf8);
std::string ToUtf8(std::wstring_view wide);

} // namespace norvale::win32
