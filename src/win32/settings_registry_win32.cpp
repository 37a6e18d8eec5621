#include "win32/settings_registry_win32.h"

#include "core/settings/ini_registry.h"
#include "core/settings/portable_registry.h"
#include "win32/file_system_win32.h"
#include "win32/registry_win32.h"
#include "win32/wide_text.h"
#include "win32/win32_common.h"

namespace norvale::win32 {
namespace {

// Portable mode's parts, kept together for the program's run.
class PortableSettings final : public Registry {
public:
    PortableSettings(const std::wstring& file, std::function<void(const std::string&)> report)
        : FIni(FFiles, ToUtf8(file), std::move(report)) {}

    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                         bool createIfMissing, RegistryAccess access) override {
        return FPortable.OpenKey(root, path, createIfMissing, access);
    }

private:
    Win32FileSystem FFiles;
    Win32Registry FSystem;
    IniRegistry FIni;
    PortableRegistry FPortable{FIni, FSystem};
};

} // namespace

std::unique_ptr<Registry> OpenSettingsRegistry(const std::filesystem::path& programFolder,
                                               std::function<void(const std::string&)> report) {
    const std::wstring file = (programFolder / ToWide(kPortableSettingsFile)).wstring();
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::make_unique<Win32Registry>();
    }
    return std::make_unique<PortableSettings>(file, std::move(report));
}

} // namespace norvale::win32
