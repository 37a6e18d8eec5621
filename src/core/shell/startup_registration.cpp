#include "core/shell/startup_registration.h"

#include "core/platform/registry.h"
#include "core/platform/settings_paths.h"

namespace norvale {

std::string RunValueName(std::string_view executablePath) {
    const std::size_t slash = executablePath.find_last_of("\\/");
    std::string_view name =
        slash == std::string_view::npos ? executablePath : executablePath.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) {
        name = name.substr(0, dot);
    }
    return std::string(name);
}

void ApplyStartupRegistration(Registry& registry, std::string_view executablePath, bool enabled) {
    const std::string name = RunValueName(executablePath);
    const auto key =
        registry.OpenKey(RegistryRoot::CurrentUser, kRunKeyPath, true, RegistryAccess::Full);
    if (!key) {
        if (enabled) {
            throw RegistryError("Failed to set data for '" + name + "'");
        }
        return;
    }
    if (enabled) {
        key->WriteString(name, "\"" + std::string(executablePath) + "\"");
    } else {
        key->DeleteValue(name);
    }
}

} // namespace norvale
