#pragma once

#include "core/platform/registry.h"

#include <string_view>

namespace norvale {

// The file beside the program that turns portable mode on and holds its settings.
inline constexpr std::string_view kPortableSettingsFile = "NorvaleTimeClock.ini";

// Portable mode's registry: the keys under HKEY_CURRENT_USER\Software\Brannick, where every
// setting of the clock and its dialogs lives, are kept by `settings` (the settings file); every
// other key, such as the Run entry of "Load at Startup", stays with `system`.
class PortableRegistry final : public Registry {
public:
    PortableRegistry(Registry& settings, Registry& system) : FSettings(settings), FSystem(system) {}

    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                         bool createIfMissing, RegistryAccess access) override;

private:
    Registry& FSettings;
    Registry& FSystem;
};

// Whether the key at `path` is `ancestor` or lies below it; names ignore case.
bool IsKeyWithin(std::string_view path, std::string_view ancestor);

} // namespace norvale
