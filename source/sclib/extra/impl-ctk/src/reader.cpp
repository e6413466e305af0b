#include "sclib/impl/ctk/reader.hpp"

#include "ctkwrapper/slot_manager.hpp"
#include "sclib/exceptions.hpp"
#include "sclib/impl/ctk/reader_monitor.hpp"
#include "sclib/impl/ctk/smartcard.hpp"

namespace sclib::impl::ctk {

Reader::Reader(std::string name) : name_(std::move(name)) {}

std::string Reader::GetName() const {
    return name_;
}

std::unique_ptr<sclib::Smartcard> Reader::ConnectSmartcard() {
    auto slot = ctkwrapper::SlotManager::getInstance().slotNamed(name_);
    if (!slot.isValid()) {
        throw ReaderInvalidError("Reader no longer accessible");
    }
    auto card = slot.makeSmartcard();
    if (!card.isValid()) {
        throw NoSmartcardError("No smartcard in reader");
    }

    std::shared_ptr<ReaderMonitor> monitor;
    {
        // Held across the start so that concurrent connections share one started monitor.
        std::lock_guard<std::mutex> lock(monitorMutex_);
        monitor = monitor_.lock();
        if (!monitor) {
            monitor = std::make_shared<ReaderMonitor>(shared_from_this());
            monitor->Start();
            monitor_ = monitor;
        }
    }
    return std::make_unique<Smartcard>(std::move(card), std::move(monitor));
}

}  // namespace sclib::impl::ctk
