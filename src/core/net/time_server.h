#pragma once

#include <cstdint>
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

// Reads the user's "TimeServer" setting, "host" or "host:port". Blank text, a host with
// blanks or control characters in it, or a port that is not a number from 1 to 65535 gives
// the default server rather than a half-understood one.
TimeServer ParseTimeServer(std::string_view text);

class Registry;

// The server the clock asks: the string value "TimeServer" of the main settings key when
// there is one, otherwise the default. A value of another type also gives the default.
TimeServer ReadTimeServerSetting(Registry& registry);

} // namespace norvale
