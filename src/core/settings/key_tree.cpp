#include "core/settings/key_tree.h"

#include "core/text/ascii.h"

#include <algorithm>

namespace norvale {

KeyNode* KeyNode::Subkey(std::string_view name) {
    const auto it = FSubkeys.find(name);
    return it == FSubkeys.end() ? nullptr : &it->second;
}

const KeyNode* KeyNode::Subkey(std::string_view name) const {
    return const_cast<KeyNode*>(this)->Subkey(name);
}

KeyNode& KeyNode::MakeSubkey(std::string_view name) {
    if (KeyNode* existing = Subkey(name)) {
        return *existing;
    }
    return FSubkeys.emplace(std::string(name), KeyNode()).first->second;
}

KeyNode::DetachedKey KeyNode::DetachSubkey(std::string_view name) {
    const auto it = FSubkeys.find(name);
    return it == FSubkeys.end() ? DetachedKey() : FSubkeys.extract(it);
}

StoredValue* KeyNode::Find(std::string_view name) {
    const auto it = std::find_if(FValues.begin(), FValues.end(), [&](const StoredValue& value) {
        return EqualsNoCase(value.Name, name);
    });
    return it == FValues.end() ? nullptr : &*it;
}

const StoredValue* KeyNode::Value(std::string_view name) const {
    return const_cast<KeyNode*>(this)->Find(name);
}

bool KeyNode::SetValue(std::string_view name, RegistryValueType type, std::string_view data) {
    if (StoredValue* value = Find(name)) {
        if (value->Type == type && value->Data == data) {
            return false;
        }
        value->Type = type;
        value->Data = std::string(data);
        return true;
    }
    FValues.push_back({std::string(name), type, std::string(data)});
    return true;
}

bool KeyNode::RemoveValue(std::string_view name) {
    return std::erase_if(FValues, [&](const StoredValue& value) {
               return EqualsNoCase(value.Name, name);
           }) > 0;
}

bool KeyNode::operator==(const KeyNode& other) const {
    return FValues == other.FValues &&
           std::equal(FSubkeys.begin(), FSubkeys.end(), other.FSubkeys.begin(),
                      other.FSubkeys.end(), [](const auto& a, const auto& b) {
                          return a.first == b.first && a.second == b.second;
                      });
}

std::optional<std::vector<std::string_view>> SplitKeyPath(std::string_view path) {
    path = RelativeRegistryPath(path);
    std::vector<std::string_view> names;
    if (path.empty()) {
        return names;
    }
    for (;;) {
        const std::size_t slash = path.find('\\');
        const std::string_view name = path.substr(0, slash);
        if (name.empty()) {
            return std::nullopt;
        }
        names.push_back(name);
        if (slash == std::string_view::npos) {
            return names;
        }
        path.remove_prefix(slash + 1);
    }
}

} // namespace norvale
