#pragma once

#include "core/platform/udp_socket.h"

#include <memory>

namespace norvale::testing {

// The real UdpSocket adapter of the platform the tests run on.
std::unique_ptr<UdpSocket> MakePlatformUdpSocket();

} // namespace norvale::testing
