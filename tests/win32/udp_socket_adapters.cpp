#include "contract/platform_udp_socket.h"
#include "win32/udp_socket_win32.h"

namespace norvale::testing {

std::unique_ptr<UdpSocket> MakePlatformUdpSocket() {
    return std::make_unique<win32::Win32UdpSocket>();
}

} // namespace norvale::testing
