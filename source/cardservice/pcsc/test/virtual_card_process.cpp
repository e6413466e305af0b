#include "virtual_card_process.hpp"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

extern char** environ;

namespace cardservice::pcsc::testing {
namespace {

// True when the process behind pidFd ended within timeout.
bool waitForExit(int pidFd, std::chrono::milliseconds timeout) {
    pollfd fd{pidFd, POLLIN, 0};
    int result;
    do {
        result = ::poll(&fd, 1, static_cast<int>(timeout.count()));
    } while (result < 0 && errno == EINTR);
    return result > 0;
}

}  // namespace

VirtualCardProcess::VirtualCardProcess(std::vector<std::string> const& options) {
    std::vector<std::string> arguments{VIRTUALCARD_PATH};
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    if (::posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error("cannot start the virtual card program " VIRTUALCARD_PATH);
    }
    pidFd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
    if (pidFd_ < 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        throw std::runtime_error("pidfd_open failed for the virtual card program");
    }
}

VirtualCardProcess::~VirtualCardProcess() {
    stop();
}

int VirtualCardProcess::stop(std::chrono::milliseconds timeout) {
    if (pid_ < 0) {
        return 0;
    }
    ::kill(pid_, SIGTERM);
    bool const exited = waitForExit(pidFd_, timeout);
    if (!exited) {
        ::kill(pid_, SIGKILL);
    }
    int status = 0;
    ::waitpid(pid_, &status, 0);
    ::close(pidFd_);
    pid_ = -1;
    pidFd_ = -1;
    return exited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace cardservice::pcsc::testing
