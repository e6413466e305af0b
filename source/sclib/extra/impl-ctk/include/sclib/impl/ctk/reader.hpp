#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "sclib/reader.hpp"
#include "sclib/smartcard.hpp"

namespace sclib::impl::ctk {

class ReaderMonitor;

// One slot of the card service, by name. Made only by the provider's registry. Its destructor
// waits for nothing, because the registry makes anyone asking for the same name wait until the
// old object is gone.
class Reader : public sclib::Reader, public std::enable_shared_from_this<Reader> {
public:
    explicit Reader(std::string name);

    std::string GetName() const override;
    // Waits for the service's answers, each at most ctkwrapper::SlotLookupTimeout, then fails
    // with SmartcardCommError. The connected cards of this reader's slot share one started reader
    // monitor, which their transactions pump to learn about resets.
    std::unique_ptr<sclib::Smartcard> ConnectSmartcard() override;

private:
    std::unique_ptr<sclib::Smartcard> Connect_();

    std::string const name_;
    // Guards monitor_: the event thread and host threads both connect cards.
    std::mutex monitorMutex_;
    std::weak_ptr<ReaderMonitor> monitor_;
};

}  // namespace sclib::impl::ctk
