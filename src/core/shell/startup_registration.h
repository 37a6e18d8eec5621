#pragma once

#include <string>
#include <string_view>

namespace norvale {

class Registry;

// The name of the program's entry among the programs started at log-on: the executable's
// file name without folder and extension.
std::string RunValueName(std::string_view executablePath);

// Registers the executable to start at log-on or removes the entry. The path is written in
// quotes: Windows splits an unquoted path at its blanks and may start another program
// ("C:\Program.exe" for a folder under "C:\Program Files"). Raises the registry's error when the
// entry cannot be written; a missing entry is no error when removing.
void ApplyStartupRegistration(Registry& registry, std::string_view executablePath, bool enabled);

} // namespace norvale
