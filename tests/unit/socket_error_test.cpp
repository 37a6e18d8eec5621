#include "core/net/socket_error.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TEST(SocketError, DescribesTheWinsockCodes) {
    EXPECT_EQ(WinsockErrorText(11001), "Socket Error # 11001\r\nHost not found.");
    EXPECT_EQ(WinsockErrorText(10040), "Socket Error # 10040\r\nMessage too long.");
    EXPECT_EQ(WinsockErrorText(10051), "Socket Error # 10051\r\nNetwork is unreachable.");
    EXPECT_EQ(WinsockErrorText(10054), "Socket Error # 10054\r\nConnection reset by peer.");
    EXPECT_EQ(WinsockErrorText(10065), "Socket Error # 10065\r\nNo route to host.");
    // The ends of the table and codes next to listed ones.
    EXPECT_EQ(WinsockErrorDescription(10004), "Interrupted system call.");
    EXPECT_EQ(WinsockErrorDescription(11004), "Valid name, no data record (check DNS setup).");
    for (const int unknown : {0, -1, 10003, 10005, 10090, 11005, 123456}) {
        EXPECT_EQ(WinsockErrorDescription(unknown), "Unknown error.") << unknown;
    }
}

TEST(SocketError, FormatsAnyDescription) {
    EXPECT_EQ(SocketErrorText(111, "Connection refused"),
              "Socket Error # 111\r\nConnection refused");
    EXPECT_EQ(kCannotAllocateSocket, "Cannot allocate socket.");
}

} // namespace
} // namespace norvale
