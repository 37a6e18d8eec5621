#include "win32/registry_time_zones.h"

#include "win32/registry_win32.h"

namespace norvale::win32 {

const TVeskRegistryTimeZones& RegistryTimeZones() {
    static Win32Registry registry;
    // Every Windows an x64 program runs on is of the NT family.
    static const TVeskRegistryTimeZones zones(registry, true);
    return zones;
}

} // namespace norvale::win32
