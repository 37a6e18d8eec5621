#pragma once

#include "core/time/format_settings.h"

namespace norvale::win32 {

// The date, time and number conventions of the user's default locale.
FormatSettings ReadUserFormatSettings();

} // namespace norvale::win32
