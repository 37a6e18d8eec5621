#include "win32/registry_win32.h"

#include "win32/wide_text.h"
#include "win32/win32_common.h"

#include <cstring>

namespace norvale::win32 {
namespace {

HKEY RootKey(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RegistryRoot::CurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case RegistryRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegistryRoot::Users:
        return HKEY_USERS;
    case RegistryRoot::DynData:
        return HKEY_DYN_DATA;
    }
    return HKEY_CURRENT_USER;
}

RegistryValueType ValueType(DWORD type) {
    switch (type) {
    case REG_SZ:
        return RegistryValueType::String;
    case REG_EXPAND_SZ:
        return RegistryValueType::ExpandString;
    case REG_DWORD:
        return RegistryValueType::Integer;
    case REG_BINARY:
        return RegistryValueType::Binary;
    default:
        return RegistryValueType::Other;
    }
}

class Win32Key final : public RegistryKey {
public:
    Win32Key(HKEY key, RegistryAccess access)
        : FKey(key), FWritable(access == RegistryAccess::Full) {}
    ~Win32Key() override { RegCloseKey(FKey); }

    std::vector<std::string> SubkeyNames() const override {
        DWORD count = 0;
        DWORD longest = 0;
        std::vector<std::string> names;
        if (RegQueryInfoKeyW(FKey, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            return names;
        }
        std::wstring buffer(longest + 1, L'\0');
        for (DWORD i = 0; i < count; ++i) {
            DWORD length = longest + 1;
            if (RegEnumKeyExW(FKey, i, buffer.data(), &length, nullptr, nullptr, nullptr,
                              nullptr) == ERROR_SUCCESS) {
                names.push_back(ToUtf8(std::wstring_view(buffer.data(), length)));
            }
        }
        return names;
    }

protected:
    std::optional<ValueInfo> QueryValueInfo(std::string_view name) const override {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(FKey, ToWide(name).c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        return ValueInfo{ValueType(type), size};
    }

    std::optional<std::string> QueryText(std::string_view name) const override {
        const std::wstring wideName = ToWide(name);
        DWORD size = 0;
        LSTATUS status = ERROR_MORE_DATA;
        std::wstring text;
        // NOTE: the value may grow between the size query and the read; ask again then.
        while (status == ERROR_MORE_DATA) {
            text.assign(size / sizeof(wchar_t) + 1, L'\0');
            size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
            status = RegQueryValueExW(FKey, wideName.c_str(), nullptr, nullptr,
                                      reinterpret_cast<BYTE*>(text.data()), &size);
        }
        if (status != ERROR_SUCCESS) {
            return std::nullopt;
        }
        text.resize(size / sizeof(wchar_t));
        return ToUtf8(text);
    }

    bool QueryData(std::string_view name, std::span<std::uint8_t> buffer) const override {
        DWORD size = static_cast<DWORD>(buffer.size());
        return RegQueryValueExW(FKey, ToWide(name).c_str(), nullptr, nullptr, buffer.data(),
                                &size) == ERROR_SUCCESS &&
               size == buffer.size();
    }

    bool SetText(std::string_view name, std::string_view text) override {
        const std::wstring wide = ToWide(text);
        // The stored size includes the terminating zero.
        const auto size = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(FKey, ToWide(name).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(wide.c_str()), size) == ERROR_SUCCESS;
    }

    bool SetInteger(std::string_view name, std::uint32_t value) override {
        const DWORD data = value;
        return RegSetValueExW(FKey, ToWide(name).c_str(), 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
    }

    void RemoveValue(std::string_view name) override {
        RegDeleteValueW(FKey, ToWide(name).c_str());
    }

    bool MakeSubkey(std::string_view name) override {
        HKEY created = nullptr;
        if (RegCreateKeyExW(FKey, ToWide(name).c_str(), 0, nullptr, 0, KEY_READ, nullptr, &created,
                            nullptr) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(created);
        return true;
    }

    // NOTE: Windows deletes a subkey whatever the parent handle's access; a read-only key
    // refuses here as it refuses every other change.
    bool RemoveSubkey(std::string_view name) override {
        if (!FWritable) {
            return false;
        }
        const LSTATUS status = RegDeleteTreeW(FKey, ToWide(name).c_str());
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }

private:
    HKEY FKey;
    bool FWritable;
};

} // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(RegistryRoot root, std::string_view path,
                                                    bool createIfMissing, RegistryAccess access) {
    const std::wstring widePath = ToWide(RelativeRegistryPath(path));
    const REGSAM sam = access == RegistryAccess::Read ? KEY_READ : KEY_ALL_ACCESS;
    HKEY key = nullptr;
    const LSTATUS status = createIfMissing
                               ? RegCreateKeyExW(RootKey(root), widePath.c_str(), 0, nullptr, 0,
                                                 sam, nullptr, &key, nullptr)
                               : RegOpenKeyExW(RootKey(root), widePath.c_str(), 0, sam, &key);
    if (status != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32Key>(key, access);
}

} // namespace norvale::win32
