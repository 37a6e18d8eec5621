#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace norvale {

inline constexpr std::string_view kDefaultTimeServerHost = "pool.ntp.org";
inline constexpr std::uint16_t kDefaultTimeServerPort = 123;

struct TimeServer {
    std::string Host = std::string(kDefaultTimeServerHost);
    std::uint16_t Port = kDefaultTimeServerPort;

    friend bool operator==(const TimeServer&, const TimeServer&) = default;
};

// Reads a server as the "TimeServer" setting names it: "host", "host:port", an IPv6 address
// ("::1"), or one in brackets with or without a port ("[::1]:123"); nullopt for blank text, a
// host with blanks or control characters in it, or a port that is not a number from 1 to
// 65535.
std::optional<TimeServer> TryParseTimeServer(std::string_view text);

// As TryParseTimeServer, with the default server for what it cannot read, rather than a
// half-understood one.
TimeServer ParseTimeServer(std::string_view text);

// The server as the setting would name it, the port left out when it is 123; parsed again it
// gives the same server.
std::string TimeServerText(const TimeServer& server);

class Registry;

// The server the clock asks: the string value "TimeServer" of the main settings key when
// there is one, otherwise the default. A value of another type also gives the default.
TimeServer ReadTimeServerSetting(Registry& registry);

} // namespace norvale
