#pragma once

#include "contract/loopback_peer.h"
#include "support/sntp_reply.h"

#include <thread>

namespace norvale::testing {

// What the loopback server does with the one request it answers.
enum class SntpFault {
    None,               // a good reply
    Silence,            // no reply at all
    ShortReply,         // 47 bytes
    LeapUnsynchronised, // Leap Indicator 3
    StratumZero,        // stratum 0 (kiss-o'-death)
    BroadcastMode,      // Mode 5 rather than 4
    ZeroReceive,        // a Receive Timestamp of zero
    FarRootDistance,    // root dispersion of two seconds
    WrongOriginate,     // does not echo the request's Transmit Timestamp
    WrongLowEchoBit,    // echoes it but for the lowest bit of the fraction
    WrongSourcePort,    // a good reply, sent from another port
    ForgedThenGenuine,  // a forged datagram first, then a good reply
};

// An SNTP server on the loopback address of a family that answers one request, in a thread of
// its own, the way `fault` says; a good reply carries `fields`.
class LoopbackSntpServer {
public:
    LoopbackSntpServer(SntpFault fault, SntpReplyFields fields,
                       AddressFamily family = AddressFamily::IPv4);
    ~LoopbackSntpServer();
    LoopbackSntpServer(const LoopbackSntpServer&) = delete;
    LoopbackSntpServer& operator=(const LoopbackSntpServer&) = delete;

    std::uint16_t Port() const { return FServer.Endpoint().Port; }
    // Whether a request arrived (once the server has finished).
    bool GotRequest();

private:
    void Serve(SntpFault fault, SntpReplyFields fields);

    LoopbackPeer FServer;
    LoopbackPeer FOtherPort;
    bool FGotRequest = false;
    std::thread FThread;
};

} // namespace norvale::testing
