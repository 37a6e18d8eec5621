#pragma once

#include "core/platform/registry.h"
#include "core/platform/shell_opener.h"

#include <string>
#include <string_view>

namespace norvale {

// The product page the About item opens. The product has no public site, so it is the
// read-me that ships in the program folder.
inline constexpr std::string_view kMakerPage = "README.txt";

// Where the browser keeps the setting that lets a link reuse an open browser window.
inline constexpr std::string_view kBrowserMainPath = "Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr std::string_view kAllowWindowReuse = "AllowWindowReuse";

// The address of the product page for a program folder.
std::string MakerPageAddress(std::string_view programFolder);

// Opens the product page in a new, maximised browser window: "AllowWindowReuse" is held at
// 0 for the call and put back as it was. A registry error leaves the page unopened.
void OpenMakerPage(Registry& registry, ShellOpener& shell, std::string_view address);

} // namespace norvale
