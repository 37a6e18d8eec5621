#include "core/settings/portable_registry.h"

#include "core/platform/settings_paths.h"
#include "core/settings/key_tree.h"
#include "core/text/ascii.h"

namespace norvale {

bool IsKeyWithin(std::string_view path, std::string_view ancestor) {
    const auto names = SplitKeyPath(path);
    const auto ancestorNames = SplitKeyPath(ancestor);
    if (!names || !ancestorNames || names->size() < ancestorNames->size()) {
        return false;
    }
    for (std::size_t i = 0; i < ancestorNames->size(); ++i) {
        if (!EqualsNoCase((*names)[i], (*ancestorNames)[i])) {
            return false;
        }
    }
    return true;
}

std::unique_ptr<RegistryKey> PortableRegistry::OpenKey(RegistryRoot root, std::string_view path,
                                                       bool createIfMissing,
                                                       RegistryAccess access) {
    Registry& store = root == RegistryRoot::CurrentUser && IsKeyWithin(path, kMainSettingsKey)
                          ? FSettings
                          : FSystem;
    return store.OpenKey(root, path, createIfMissing, access);
}

} // namespace norvale
