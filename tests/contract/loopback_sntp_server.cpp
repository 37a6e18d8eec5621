#include "contract/loopback_sntp_server.h"

namespace norvale::testing {
namespace {

// The reply fields a fault changes before the reply is made.
SntpReplyFields FaultyFields(SntpFault fault, SntpReplyFields fields) {
    switch (fault) {
    case SntpFault::LeapUnsynchronised:
        fields.LeapIndicator = 3;
        break;
    case SntpFault::StratumZero:
        fields.Stratum = 0;
        break;
    case SntpFault::BroadcastMode:
        fields.Mode = 5;
        break;
    case SntpFault::ZeroReceive:
        fields.Receive = {};
        break;
    case SntpFault::FarRootDistance:
        fields.RootDispersion = 2 << 16;
        break;
    default:
        break;
    }
    return fields;
}

} // namespace

LoopbackSntpServer::LoopbackSntpServer(SntpFault fault, SntpReplyFields fields,
                                       AddressFamily family)
    : FServer(family), FOtherPort(family),
      FThread([this, fault, fields] { Serve(fault, fields); }) {}

LoopbackSntpServer::~LoopbackSntpServer() {
    if (FThread.joinable()) {
        FThread.join();
    }
}

bool LoopbackSntpServer::GotRequest() {
    if (FThread.joinable()) {
        FThread.join();
    }
    return FGotRequest;
}

void LoopbackSntpServer::Serve(SntpFault fault, SntpReplyFields fields) {
    const std::optional<Datagram> request = FServer.Receive(5000);
    if (!request || request->Bytes.size() < kNtpPacketSize) {
        return;
    }
    FGotRequest = true;
    const std::uint16_t client = request->From.Port;
    NtpPacket reply = MakeSntpReply(request->Bytes, FaultyFields(fault, fields));
    std::span<const std::uint8_t> bytes(reply);
    switch (fault) {
    case SntpFault::Silence:
        return;
    case SntpFault::ShortReply:
        bytes = bytes.first(kNtpPacketSize - 1);
        break;
    case SntpFault::WrongOriginate:
        reply[kNtpOriginateOffset + 3] ^= 0x40;
        break;
    case SntpFault::WrongLowEchoBit:
        reply[kNtpOriginateOffset + 7] ^= 0x01;
        break;
    case SntpFault::WrongSourcePort:
        FOtherPort.SendTo(client, bytes);
        return;
    case SntpFault::ForgedThenGenuine: {
        NtpPacket forged = reply;
        forged[kNtpOriginateOffset + 7] ^= 0x01;
        forged[kNtpTransmitOffset] ^= 0x01; // half a year away, if it were believed
        FServer.SendTo(client, forged);
        break;
    }
    default:
        break;
    }
    FServer.SendTo(client, bytes);
}

} // namespace norvale::testing
