#include "sclib/impl/ctk/smartcard.hpp"

#include <exception>

#include "sclib/impl/ctk/provider.hpp"
#include "sclib/impl/ctk/smartcard_provider.hpp"
#include "velk/log_writing_stream.hpp"
#include "velk/path.hpp"

namespace sclib::impl::ctk {

Smartcard::Smartcard(ctkwrapper::Smartcard card, std::shared_ptr<ReaderMonitor> monitor)
    : card_(std::move(card)),
      monitor_(std::move(monitor)),
      wasReset_(std::make_shared<std::atomic<bool>>(false)) {
    resetConnection_ = monitor_->resetSmartcard().connect(
        [wasReset = wasReset_](std::shared_ptr<sclib::Reader> const&) { wasReset->exchange(true); },
        boost::signals2::at_back);
}

void Smartcard::transaction(TransactionBody body) {
    std::exception_ptr failure;
    // A session that ends with an error after the body ran has still done the body's work: a PIN
    // change the card accepted must not be reported as failed.
    bool bodyReturned = false;
    auto const code = card_.inSession([&]() {
        try {
            // Resets of this reader since the last pump reach every card object of it.
            monitor_->Process();
            bool const wasReset = wasReset_->exchange(false);
            SmartcardProvider provider(card_);
            body(provider, wasReset);
            bodyReturned = true;
        } catch (...) {
            failure = std::current_exception();
        }
    });
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (!code) {
        return;
    }
    if (!bodyReturned) {
        Provider::ThrowException(code, "Unable to start session");
    }
    velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Warning, velk::GetFileName(__FILE__),
                           __LINE__)
        << "Ending the card session failed: " << code.message() << std::endl;
}

iso7816::interchange::Atr Smartcard::getAtr() const {
    return iso7816::interchange::Atr(card_.getAtr());
}

}  // namespace sclib::impl::ctk
