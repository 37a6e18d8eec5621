#pragma once

#include "core/shell/command_line.h"

namespace norvale::win32 {

// The elevated job of "--sync-time": sets the computer's clock on the Windows ports and gives
// the exit code (SyncJobExit). Shows no window, no tray icon and saves no settings.
int RunSyncJobProcess(const CommandLineOptions& options);

} // namespace norvale::win32
