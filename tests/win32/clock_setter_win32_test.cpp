#include "win32/clock_setter_win32.h"

#include <gtest/gtest.h>
#include <vector>

// Only the privilege handling is tested: nothing here may set the computer's clock.

namespace norvale::win32 {
namespace {

// The attributes of the system-time privilege in this process's token; nullopt when the
// token does not hold it at all.
std::optional<DWORD> SystemTimePrivilegeAttributes(const ProcessToken& token) {
    LUID id{};
    if (!LookupPrivilegeValueA(nullptr, "SeSystemtimePrivilege", &id)) {
        return std::nullopt;
    }
    DWORD size = 0;
    GetTokenInformation(token.Handle(), TokenPrivileges, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.Handle(), TokenPrivileges, buffer.data(), size, &size)) {
        return std::nullopt;
    }
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID& luid = privileges->Privileges[i].Luid;
        if (luid.LowPart == id.LowPart && luid.HighPart == id.HighPart) {
            return privileges->Privileges[i].Attributes;
        }
    }
    return std::nullopt;
}

TEST(SystemTimePrivilege, IsEnabledWhileHeldAndPutBackAfter) {
    const ProcessToken token;
    ASSERT_TRUE(token.IsOpen());
    const std::optional<DWORD> before = SystemTimePrivilegeAttributes(token);
    ASSERT_TRUE(before) << "the token does not hold the system-time privilege";
    {
        const SystemTimePrivilege privilege(token);
        ASSERT_TRUE(privilege.Enabled());
        EXPECT_TRUE(privilege.Held());
        const std::optional<DWORD> during = SystemTimePrivilegeAttributes(token);
        ASSERT_TRUE(during);
        EXPECT_NE(*during & SE_PRIVILEGE_ENABLED, 0U);
    }
    EXPECT_EQ(SystemTimePrivilegeAttributes(token), before);
}

TEST(SystemTimePrivilege, AlreadyEnabledStaysEnabled) {
    const ProcessToken token;
    const SystemTimePrivilege outer(token);
    ASSERT_TRUE(outer.Enabled());
    { const SystemTimePrivilege inner(token); }
    const std::optional<DWORD> after = SystemTimePrivilegeAttributes(token);
    ASSERT_TRUE(after);
    EXPECT_NE(*after & SE_PRIVILEGE_ENABLED, 0U);
}

} // namespace
} // namespace norvale::win32
