#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace cardservice::pcsc::testing {

// The virtual card program, run as a child process: while it runs, its card is in the vpcd
// reader. Stopped by its process id, at the latest when the object goes.
class VirtualCardProcess {
public:
    // Throws std::runtime_error when the program cannot be started.
    explicit VirtualCardProcess(std::vector<std::string> const& options = {});
    ~VirtualCardProcess();
    VirtualCardProcess(VirtualCardProcess const&) = delete;
    VirtualCardProcess& operator=(VirtualCardProcess const&) = delete;

    // SIGTERM, then waits at most timeout for the exit; the exit status, or -1 when the program
    // had to be killed.
    int stop(std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    pid_t pid_ = -1;
    int pidFd_ = -1;
};

}  // namespace cardservice::pcsc::testing
