#pragma once

#include <string>
#include <string_view>

namespace norvale {

class Registry;

// The name of the program's entry among the programs started at log-on: the executable's
// file name without folder and extension.
std::string RunValueName(std::string_view executablePath);

// Registers the executable to start at log-on (its full path, unquoted) or removes the
// entry. Raises the registry's error when the entry cannot be written; a missing entry is no
// error when removing.
void ApplyStartupRegistration(Registry& registry, std::string_view executablePath, bool enabled);

} // namespace norvale
