#pragma once

#include "core/settings/atomic_file.h"
#include "core/settings/ini_text.h"

#include <string>

namespace norvale::testing {

// Writes a value of any type into a settings file, past the registry that keeps it.
inline void PlantIniValue(FileSystem& files, const std::string& file, const std::string& keyPath,
                          const std::string& name, RegistryValueType type,
                          const std::string& data) {
    KeyNode root = ReadIniText(files.Read(file).value_or(""));
    KeyNode* node = &root;
    const auto keys = SplitKeyPath(keyPath).value();
    for (const std::string_view key : keys) {
        node = &node->MakeSubkey(key);
    }
    node->SetValue(name, type, data);
    ReplaceFileContents(files, file, WriteIniText(root));
}

} // namespace norvale::testing
