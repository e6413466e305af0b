// The virtual card: serves the card simulator to the vpcd reader until SIGTERM or SIGINT.
// While the program runs the card is in the reader; when pcscd goes away, the program waits for
// it to come back.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "apdu_log.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "velk/erase_memory.hpp"
#include "virtual_card_options.hpp"
#include "vpcd_link.hpp"

namespace testsupport::virtualcard {
namespace {

constexpr int RetryIntervalMs = 100;

// Written by the signal handler, polled by the serving loop.
int stopPipe[2] = {-1, -1};

extern "C" void onStopSignal(int) {
    char const byte = 0;
    [[maybe_unused]] ssize_t const n = ::write(stopPipe[1], &byte, 1);
}

void installStopHandlers() {
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::system_error(errno, std::generic_category(), "pipe");
    }
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

// Waits up to timeoutMs for the stop signal or, when fd is not -1, for fd to become readable.
// True when the program is to stop.
bool waitForStopOr(int fd, int timeoutMs) {
    pollfd fds[2] = {{stopPipe[0], POLLIN, 0}, {fd, POLLIN, 0}};
    int const count = fd < 0 ? 1 : 2;
    while (::poll(fds, static_cast<nfds_t>(count), timeoutMs) < 0) {
        if (errno != EINTR) {
            throw std::system_error(errno, std::generic_category(), "poll");
        }
    }
    return (fds[0].revents & POLLIN) != 0;
}

cardsim::ByteVector answer(cardsim::CardSimulator& card, ApduLog& log,
                           VpcdLink::Message const& message) {
    if (message.size() != 1) {
        cardsim::ByteVector command(message.begin(), message.end());
        cardsim::ByteVector response = card.transmit(command);
        log.record(command, response);
        velk::EraseMemory(command.data(), command.size());
        return response;
    }
    switch (message[0]) {
        case VpcdLink::PowerOn:
        case VpcdLink::Reset:
            card.reset();
            return {};
        case VpcdLink::GetAtr:
            return card.atr();
        default:
            return {};
    }
}

// Serves one connection until the reader closes it; true when the program is to stop.
bool serve(cardsim::CardSimulator& card, ApduLog& log, VpcdLink& link) {
    VpcdLink::Message message;
    while (!waitForStopOr(link.descriptor(), -1)) {
        if (!link.receive(message)) {
            return false;
        }
        cardsim::ByteVector reply = answer(card, log, message);
        // Power and reset commands get no answer; every other message does.
        bool const needsReply = message.size() != 1 || message[0] == VpcdLink::GetAtr;
        if (needsReply) {
            link.send(reply);
        }
        velk::EraseMemory(reply.data(), reply.size());
    }
    return true;
}

int run(VirtualCardOptions const& options) {
    installStopHandlers();
    cardsim::CardProfile profile = cardsim::CardProfile::standard(options.type);
    profile.pin.value = options.pin;
    cardsim::CardSimulator card(profile);
    ApduLog log(options.logPath);
    for (;;) {
        try {
            VpcdLink link(options.host, options.port);
            if (serve(card, log, link)) {
                return 0;
            }
        } catch (std::system_error const&) {
            // The reader is not there (yet) or went away with pcscd: try again shortly.
        }
        if (waitForStopOr(-1, RetryIntervalMs)) {
            return 0;
        }
    }
}

}  // namespace
}  // namespace testsupport::virtualcard

int main(int argc, char** argv) {
    using namespace testsupport::virtualcard;
    try {
        return run(parseOptions(std::vector<std::string>(argv + 1, argv + argc)));
    } catch (std::invalid_argument const& e) {
        std::cerr << e.what() << std::endl;
        return 2;
    } catch (std::exception const& e) {
        std::cerr << "virtualcard: " << e.what() << std::endl;
        return 1;
    }
}
