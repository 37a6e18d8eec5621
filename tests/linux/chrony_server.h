#pragma once

#include <cstdint>
#include <filesystem>
#include <sys/types.h>

namespace norvale::testing {

// chronyd serving NTP on an unused port of 127.0.0.1 and ::1, in the foreground, with -x so that it
// never touches the system clock; its configuration, pid, drift and log files live in
// `folder`. Stopped when this object goes.
class ChronyServer {
public:
    explicit ChronyServer(const std::filesystem::path& folder);
    ~ChronyServer();
    ChronyServer(const ChronyServer&) = delete;
    ChronyServer& operator=(const ChronyServer&) = delete;

    std::uint16_t Port() const { return FPort; }
    std::filesystem::path LogFile() const { return FFolder / "chronyd.log"; }

private:
    std::filesystem::path FFolder;
    std::uint16_t FPort = 0;
    pid_t FProcess = -1;
};

} // namespace norvale::testing
