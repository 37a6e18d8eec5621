#pragma once

#include <string>
#include <string_view>

// The socket layer's error texts, shared by the Windows and the POSIX adapters.

namespace norvale {

inline constexpr std::string_view kCannotAllocateSocket = "Cannot allocate socket.";

// The short description of a Winsock error code; "Unknown error." for a code not listed.
std::string_view WinsockErrorDescription(int code);

// "Socket Error # <code>\r\n<description>".
std::string SocketErrorText(int code, std::string_view description);

// The text for a Winsock error code, described from the table.
std::string WinsockErrorText(int code);

} // namespace norvale
