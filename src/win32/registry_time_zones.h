#pragma once

#include "core/timezone/zone_database.h"

namespace norvale::win32 {

// The one process-wide zone list, read from the system's registry on first use. The program
// asks for it before it creates its first window; it lives until the program ends.
const TVeskRegistryTimeZones& RegistryTimeZones();

} // namespace norvale::win32
