#include "contract/real_ntp_server_check.h"
#include "linux/chrony_server.h"
#include "linux/system_clock_posix.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace norvale::testing {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Chrony, AnswersThroughThePosixSocketInAgreementWithThisClock) {
    const ChronyServer chrony(NORVALE_TEST_WORK_DIR "/chrony");
    for (const char* host : {"127.0.0.1", "::1"}) {
        ExpectAgreeingServerOnLoopback(host, chrony.Port(), linux_adapter::PosixSystemClock());
    }
    if (HasFailure()) {
        ADD_FAILURE() << "chronyd said:\n" << ReadFile(chrony.LogFile());
    }
}

} // namespace
} // namespace norvale::testing
