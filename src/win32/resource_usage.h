#pragma once

#include "core/shell/resource_sample.h"

namespace norvale::win32 {

// The program's own GUI objects, kernel handles and memory now. Seconds and frames are left
// for the caller.
ResourceSample MeasureResourceUsage();

} // namespace norvale::win32
