#include "virtual_card_program.hpp"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>
#include <thread>

extern char** environ;

namespace engine::stress {

VirtualCardProgram::VirtualCardProgram() {
    char path[] = VIRTUALCARD_PATH;
    char* const argv[] = {path, nullptr};
    if (::posix_spawn(&pid_, path, nullptr, nullptr, argv, environ) != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start the virtual card program " VIRTUALCARD_PATH);
    }
}

VirtualCardProgram::~VirtualCardProgram() {
    stop();
}

bool VirtualCardProgram::stop(std::chrono::milliseconds timeout) {
    if (pid_ < 0) {
        return true;
    }
    ::kill(pid_, SIGTERM);
    auto const deadline = std::chrono::steady_clock::now() + timeout;
    bool exited = ::waitpid(pid_, nullptr, WNOHANG) == pid_;
    while (!exited && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        exited = ::waitpid(pid_, nullptr, WNOHANG) == pid_;
    }
    if (!exited) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
    return exited;
}

}  // namespace engine::stress
