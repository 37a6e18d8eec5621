#include "core/shell/maker_page.h"

#include <cstdint>
#include <optional>

namespace norvale {

std::string MakerPageAddress(std::string_view programFolder) {
    std::string address(programFolder);
    if (!address.empty() && address.back() != '\\' && address.back() != '/') {
        address += '\\';
    }
    address += kMakerPage;
    return address;
}

void OpenMakerPage(Registry& registry, ShellOpener& shell, std::string_view address) {
    const auto key =
        registry.OpenKey(RegistryRoot::CurrentUser, kBrowserMainPath, false, RegistryAccess::Full);
    if (!key) {
        // As a write to a key that could not be opened.
        throw RegistryError("Failed to set data for '" + std::string(kAllowWindowReuse) + "'");
    }
    std::optional<std::uint32_t> previous;
    if (key->ValueExists(kAllowWindowReuse)) {
        previous = key->ReadInteger(kAllowWindowReuse);
    }
    key->WriteInteger(kAllowWindowReuse, 0);
    shell.Open(address, kShowMaximized);
    if (previous) {
        key->WriteInteger(kAllowWindowReuse, *previous);
    } else {
        key->DeleteValue(kAllowWindowReuse);
    }
}

} // namespace norvale
