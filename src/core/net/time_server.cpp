#include "core/net/time_server.h"

#include "core/platform/registry.h"
#include "core/platform/settings_paths.h"
#include "core/text/ascii.h"

#include <algorithm>
#include <charconv>

namespace norvale {
namespace {

constexpr std::string_view kTimeServerValue = "TimeServer";

bool IsPrintable(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte != 0x7F;
}

bool IsHostName(std::string_view host) {
    return !host.empty() &&
           std::ranges::all_of(host, [](char c) { return IsPrintable(c) && c != ':'; });
}

bool IsHexDigit(char c) {
    return IsDigitAscii(c) || (ToLowerAscii(c) >= 'a' && ToLowerAscii(c) <= 'f');
}

// An IPv6 address as text: hex digits, colons (two at least) and the dots of an embedded IPv4
// address, then perhaps "%" and a zone.
bool IsIpv6Address(std::string_view text) {
    const std::string_view address = text.substr(0, text.find('%'));
    const std::string_view zone = text.substr(address.size());
    return std::ranges::count(address, ':') >= 2 &&
           std::ranges::all_of(address,
                               [](char c) { return IsHexDigit(c) || c == ':' || c == '.'; }) &&
           std::ranges::all_of(zone, [](char c) { return IsPrintable(c) && c != ']'; });
}

std::optional<std::uint16_t> ParsePort(std::string_view digits) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || value == 0 ||
        value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

} // namespace

std::optional<TimeServer> TryParseTimeServer(std::string_view text) {
    text = TrimBlanks(text);
    std::string_view host = text;
    std::optional<std::string_view> port;
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        host = text.substr(1, close - 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (!rest.starts_with(':')) {
                return std::nullopt;
            }
            port = rest.substr(1);
        }
        if (!IsIpv6Address(host)) {
            return std::nullopt;
        }
    } else if (const auto colon = text.find(':');
               colon != std::string_view::npos && !IsIpv6Address(text)) {
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (!IsHostName(host) && !IsIpv6Address(host)) {
        return std::nullopt;
    }
    TimeServer server{std::string(host), kDefaultTimeServerPort};
    if (port) {
        const std::optional<std::uint16_t> number = ParsePort(*port);
        if (!number) {
            return std::nullopt;
        }
        server.Port = *number;
    }
    return server;
}

TimeServer ParseTimeServer(std::string_view text) {
    return TryParseTimeServer(text).value_or(TimeServer{});
}

std::string TimeServerText(const TimeServer& server) {
    if (server.Port == kDefaultTimeServerPort) {
        return server.Host;
    }
    const bool ipv6 = server.Host.find(':') != std::string::npos;
    const std::string host = ipv6 ? "[" + server.Host + "]" : server.Host;
    return host + ":" + std::to_string(server.Port);
}

TimeServer ReadTimeServerSetting(Registry& registry) {
    const auto key =
        registry.OpenKey(RegistryRoot::CurrentUser, kMainSettingsPath, false, RegistryAccess::Read);
    if (!key || !key->ValueExists(kTimeServerValue)) {
        return {};
    }
    try {
        return ParseTimeServer(key->ReadString(kTimeServerValue));
    } catch (const RegistryError&) {
        return {};
    }
}

} // namespace norvale
