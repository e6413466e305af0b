#pragma once

#include <functional>
#include <memory>
#include <string>
#include <system_error>

#include "velk/allocated_string.hpp"

namespace ctkwrapper {

class SmartcardImpl;

// A card connected by the card service. Move-only.
class Smartcard {
public:
    using Bytes = velk::basic_allocated_string<unsigned char>;
    using TransmitReply = std::function<void(std::error_code, Bytes const&)>;

    explicit Smartcard(std::unique_ptr<SmartcardImpl> impl);
    Smartcard(Smartcard&& other) noexcept;
    Smartcard& operator=(Smartcard&& other) noexcept;
    ~Smartcard();

    bool isValid() const;

    // Runs body on this thread inside an exclusive session; the session's error code, 0 when
    // the body ran. body must not throw.
    std::error_code inSession(std::function<void()> body);

    // Sends one command inside a session and returns at once; reply is called exactly once, on
    // another thread. A reply that carries a response counts as success.
    void transmitRequest(Bytes const& request, TransmitReply reply);

    // Empty when the card's slot or its ATR has gone.
    std::basic_string<unsigned char> getAtr() const;

    // The session lasts only as long as callback.
    void beginSessionWithReply(std::function<void(std::error_code)> callback);

    void setSensitive(bool sensitive);
    bool getSensitive() const;

private:
    std::unique_ptr<SmartcardImpl> impl_;
};

}  // namespace ctkwrapper
