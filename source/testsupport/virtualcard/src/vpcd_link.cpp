#include "vpcd_link.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace testsupport::virtualcard {
namespace {

std::system_error lastError(char const* what) {
    return std::system_error(errno, std::generic_category(), what);
}

}  // namespace

VpcdLink::VpcdLink(std::string const& host, std::uint16_t port)
    : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    if (fd_ < 0) {
        throw lastError("socket");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
        ::close(fd_);
        throw std::system_error(EINVAL, std::generic_category(), "bad reader address " + host);
    }
    if (::connect(fd_, reinterpret_cast<sockaddr const*>(&address), sizeof address) != 0) {
        std::system_error const error = lastError("connect to the vpcd reader");
        ::close(fd_);
        throw error;
    }
    int const on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

VpcdLink::~VpcdLink() {
    ::close(fd_);
}

bool VpcdLink::receiveExactly(unsigned char* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        // Delayed acknowledgements would hold every reply of the reader for ~40 ms; the option
        // does not stick, so it is set again before each read.
        int const on = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
        ssize_t const n = ::recv(fd_, buffer + done, size - done, 0);
        if (n == 0) {
            return false;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == ECONNRESET) {
                return false;
            }
            throw lastError("receive from the vpcd reader");
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool VpcdLink::receive(Message& message) {
    unsigned char length[2];
    if (!receiveExactly(length, sizeof length)) {
        return false;
    }
    message = Message(static_cast<std::size_t>(length[0] << 8 | length[1]), 0);
    return receiveExactly(message.data(), message.size());
}

void VpcdLink::send(cardsim::ByteVector const& payload) {
    Message frame;
    frame.reserve(payload.size() + 2);
    frame.push_back(static_cast<unsigned char>(payload.size() >> 8));
    frame.push_back(static_cast<unsigned char>(payload.size() & 0xFF));
    frame.append(payload.begin(), payload.end());
    std::size_t done = 0;
    while (done < frame.size()) {
        ssize_t const n = ::send(fd_, frame.data() + done, frame.size() - done, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw lastError("send to the vpcd reader");
        }
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace testsupport::virtualcard
