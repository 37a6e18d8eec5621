#include "core/net/time_server.h"

#include "core/platform/registry.h"
#include "core/shell/settings_paths.h"
#include "core/text/ascii.h"

#include <charconv>

namespace norvale {
namespace {

constexpr std::string_view kTimeServerValue = "TimeServer";

bool IsHostName(std::string_view host) {
    if (host.empty()) {
        return false;
    }
    for (const char c : host) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || c == ':') {
            return false;
        }
    }
    return true;
}

} // namespace

TimeServer ParseTimeServer(std::string_view text) {
    text = TrimBlanks(text);
    std::string_view host = text;
    std::uint16_t port = kDefaultTimeServerPort;
    if (const auto colon = text.find(':'); colon != std::string_view::npos) {
        host = text.substr(0, colon);
        const std::string_view digits = text.substr(colon + 1);
        unsigned value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value);
        const bool whole = error == std::errc() && end == digits.data() + digits.size();
        if (!whole || value == 0 || value > 65535) {
            return {};
        }
        port = static_cast<std::uint16_t>(value);
    }
    if (!IsHostName(host)) {
        return {};
    }
    return {std::string(host), port};
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
