#include "contract/registry_contract.h"
#include "win32/registry_win32.h"
#include "win32/wide_text.h"
#include "win32/win32_common.h"

namespace norvale::win32 {
namespace {

constexpr wchar_t kScratch[] = L"Software\\NorvaleRegistryContract";

DWORD NativeType(RegistryValueType type) {
    switch (type) {
    case RegistryValueType::String:
        return REG_SZ;
    case RegistryValueType::ExpandString:
        return REG_EXPAND_SZ;
    case RegistryValueType::Integer:
        return REG_DWORD;
    case RegistryValueType::Binary:
        return REG_BINARY;
    case RegistryValueType::Other:
        break;
    }
    return REG_MULTI_SZ;
}

testing::RegistryContractTarget Win32Target() {
    testing::RegistryContractTarget target;
    target.Name = "Win32";
    target.Make = [] { return std::make_unique<Win32Registry>(); };
    target.ScratchPath = ToUtf8(kScratch);
    target.Plant = [](Registry&, const std::string& path, const std::string& name,
                      RegistryValueType type, const std::string& data) {
        const bool text =
            type == RegistryValueType::String || type == RegistryValueType::ExpandString;
        const std::wstring wide = ToWide(data) + L'\0';
        const void* bytes = text ? static_cast<const void*>(wide.data()) : data.data();
        const auto size = static_cast<DWORD>(text ? wide.size() * sizeof(wchar_t) : data.size());
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, ToWide(path).c_str(), ToWide(name).c_str(),
                                  NativeType(type), bytes, size),
                  ERROR_SUCCESS);
    };
    target.RemoveScratch = [](Registry&) { RegDeleteTreeW(HKEY_CURRENT_USER, kScratch); };
    return target;
}

using testing::RegistryContract;
INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract, ::testing::Values(Win32Target()),
                         testing::RegistryContractName);

// Every contract test removes its scratch key, and the key with it.
TEST(Win32Registry, TheContractSuiteLeavesNoScratchKeyBehind) {
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kScratch, 0, KEY_READ, &key), ERROR_SUCCESS);
    if (key != nullptr) {
        RegCloseKey(key);
    }
}

} // namespace
} // namespace norvale::win32
