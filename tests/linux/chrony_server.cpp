#include "linux/chrony_server.h"

#include "contract/loopback_peer.h"

#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace norvale::testing {
namespace {

// An unused UDP port of 127.0.0.1: the one the system picks for a socket bound to port 0,
// free again once that socket is closed.
std::uint16_t UnusedLoopbackPort() {
    const LoopbackPeer probe;
    return probe.Endpoint().Port;
}

} // namespace

ChronyServer::ChronyServer(const std::filesystem::path& folder)
    : FFolder(folder), FPort(UnusedLoopbackPort()) {
    std::filesystem::create_directories(FFolder);
    const std::filesystem::path config = FFolder / "chrony.conf";
    std::ofstream(config) << "port " << FPort << "\n"
                          << "bindaddress 127.0.0.1\n"
                          << "bindaddress ::1\n"
                          << "local stratum 8\n"
                          << "allow 127.0.0.1\n"
                          << "allow ::1\n"
                          << "cmdport 0\n"
                          << "pidfile " << (FFolder / "chronyd.pid").string() << "\n"
                          << "driftfile " << (FFolder / "drift").string() << "\n";

    std::vector<std::string> arguments{"chronyd", "-x", "-d", "-f", config.string()};
    // NOTE: chronyd must start as root and then drops to its own user, which cannot write
    // our folder; staying root keeps the pid and drift files where we put them.
    if (geteuid() == 0) {
        arguments.insert(arguments.end(), {"-u", "root"});
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string log = LogFile().string();
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const int spawned = posix_spawnp(&FProcess, "chronyd", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start chronyd (is the chrony package installed?)");
    }
}

ChronyServer::~ChronyServer() {
    kill(FProcess, SIGTERM);
    int status = 0;
    waitpid(FProcess, &status, 0);
}

} // namespace norvale::testing
