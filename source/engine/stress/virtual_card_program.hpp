#pragma once

#include <sys/types.h>

#include <chrono>

namespace engine::stress {

// The virtual card program as a child process: while it runs, its card is in the vpcd reader.
// Stopped by its process id, at the latest when the object goes. The exit is awaited by polling,
// since valgrind, which runs this program's tests too, does not know pidfd_open.
class VirtualCardProgram {
public:
    // Throws std::runtime_error when the program cannot be started.
    VirtualCardProgram();
    ~VirtualCardProgram();
    VirtualCardProgram(VirtualCardProgram const&) = delete;
    VirtualCardProgram& operator=(VirtualCardProgram const&) = delete;

    // SIGTERM, then at most timeout for the exit, then SIGKILL; false when it had to be killed.
    bool stop(std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    pid_t pid_ = -1;
};

}  // namespace engine::stress
