#pragma once

#include <string_view>

namespace norvale {

// The show command that opens a window maximised (SW_SHOWMAXIMIZED).
inline constexpr int kShowMaximized = 3;

// Opens documents and addresses with the program the user chose for them.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    // "open" verb, no owner, parameters or directory; failures are not reported.
    virtual void Open(std::string_view address, int showCommand) = 0;
};

} // namespace norvale
