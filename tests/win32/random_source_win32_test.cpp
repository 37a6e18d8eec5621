#include "win32/random_source_win32.h"

#include <gtest/gtest.h>
#include <set>

namespace norvale::win32 {
namespace {

TEST(Win32RandomSource, GivesDifferentValuesWithEveryLowBitVarying) {
    Win32RandomSource random;
    std::set<std::uint32_t> seen;
    std::uint32_t ones = 0;
    std::uint32_t zeros = 0;
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t value = random.Random32();
        seen.insert(value);
        ones |= value;
        zeros |= ~value;
    }
    EXPECT_GT(seen.size(), 60U);
    // Each of the 22 bits a request's timestamp takes was seen both set and clear.
    EXPECT_EQ(ones & 0x3FFFFF, 0x3FFFFFU);
    EXPECT_EQ(zeros & 0x3FFFFF, 0x3FFFFFU);
}

} // namespace
} // namespace norvale::win32
