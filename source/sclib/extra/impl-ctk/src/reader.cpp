#include "sclib/impl/ctk/reader.hpp"

#include "ctkwrapper/errors.hpp"
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
    try {
        return Connect_();
    } catch (ctkwrapper::NoReplyError const& e) {
        // Fails this reader only, as any other failure to reach it does.
        throw SmartcardCommError(e.what());
    }
}

std::unique_ptr<sclib::Smartcard> Reader::Connect_() {
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
        // A monitor whose slot has gone stays with the cards of that slot; the slot of a reader
        // that came back needs a monitor of its own.
        if (!monitor || !monitor->IsWatching()) {
            monitor = std::make_shared<ReaderMonitor>(shared_from_this());
            monitor->Start();
            monitor_ = monitor;
        }
    }
    return std::make_unique<Smartcard>(std::move(card), std::move(monitor));
}

}  // namespace sclib::impl::ctk
