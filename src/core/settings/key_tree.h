#pragma once

#include "core/platform/registry.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norvale {

// One stored value: a text type holds UTF-8 (zeros included), an integer its four
// little-endian bytes, a binary value its bytes.
struct StoredValue {
    std::string Name;
    RegistryValueType Type = RegistryValueType::String;
    std::string Data;

    bool operator==(const StoredValue&) const = default;
};

// A key of a registry kept in memory: named subkeys in the order Windows enumerates them and
// values in the order they were first written. Names ignore the case of ASCII letters.
class KeyNode {
public:
    using SubkeyMap = std::map<std::string, KeyNode, RegistryNameLess>;
    // A subkey taken out of the tree; it stays where it was in memory while this is held.
    using DetachedKey = SubkeyMap::node_type;

    const SubkeyMap& Subkeys() const { return FSubkeys; }
    const std::vector<StoredValue>& Values() const { return FValues; }

    KeyNode* Subkey(std::string_view name);
    const KeyNode* Subkey(std::string_view name) const;
    // The subkey of that name, made if missing (keeping the first spelling of its name).
    KeyNode& MakeSubkey(std::string_view name);
    // Takes a subkey out of the tree (empty when there is none); what refers to it still may.
    DetachedKey DetachSubkey(std::string_view name);

    const StoredValue* Value(std::string_view name) const;
    // Returns whether anything changed.
    bool SetValue(std::string_view name, RegistryValueType type, std::string_view data);
    bool RemoveValue(std::string_view name);

    bool operator==(const KeyNode&) const;

private:
    StoredValue* Find(std::string_view name);

    SubkeyMap FSubkeys;
    std::vector<StoredValue> FValues;
};

// The names of a key path ("A\B\C", a leading "\" allowed); nullopt when a name is empty.
std::optional<std::vector<std::string_view>> SplitKeyPath(std::string_view path);

} // namespace norvale
