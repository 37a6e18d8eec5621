#pragma once

#include "core/platform/registry.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace norvale::win32 {

// Where the clock keeps its settings: in the settings file when one stands in the program's
// folder (portable mode), else in the registry. `report` shows the settings file's troubles.
std::unique_ptr<Registry> OpenSettingsRegistry(const std::filesystem::path& programFolder,
                                               std::function<void(const std::string&)> report);

} // namespace norvale::win32
