#include "contract/platform_udp_socket.h"
#include "linux/udp_socket_posix.h"

namespace norvale::testing {

std::unique_ptr<UdpSocket> MakePlatformUdpSocket() {
    return std::make_unique<linux_adapter::PosixUdpSocket>();
}

} // namespace norvale::testing
