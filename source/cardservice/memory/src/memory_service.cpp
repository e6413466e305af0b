#include "cardservice/memory/memory_service.hpp"

#include <atomic>
#include <utility>

#include "memory_slot_manager.hpp"

namespace cardservice {

namespace memory {
namespace {

// The process's service: one manager for the whole run, and whether programs may have it.
struct Service {
    std::shared_ptr<detail::MemorySlotManager> const manager =
        std::make_shared<detail::MemorySlotManager>();
    std::atomic<bool> available{true};
};

Service& service() {
    static Service instance;
    return instance;
}

std::shared_ptr<detail::MemorySlot> reader(std::string const& name) {
    return service().manager->reader(name);
}

}  // namespace

void reset() {
    service().manager->holdLookups(false);
    service().manager->removeAllReaders();
    service().available = true;
}

void setManagerAvailable(bool available) {
    service().available = available;
}

void addReader(std::string const& name) {
    service().manager->addReader(name);
}

void removeReader(std::string const& name) {
    service().manager->removeReader(name);
}

void insertCard(std::string const& name,
                std::shared_ptr<testsupport::cardsim::CardSimulator> card) {
    reader(name)->insertCard(std::move(card));
}

void removeCard(std::string const& name) {
    reader(name)->removeCard();
}

void resetCard(std::string const& name) {
    reader(name)->resetCard();
}

void muteCard(std::string const& name) {
    reader(name)->muteCard();
}

void reportState(std::string const& name, std::int64_t state) {
    reader(name)->reportState(state);
}

void failSessions(std::string const& name, std::int64_t code, unsigned times) {
    reader(name)->failSessions(code, times);
}

void failTransmissions(std::string const& name, std::int64_t code, unsigned times) {
    reader(name)->armTransmitFault(detail::MemorySlot::TransmitFault::ErrorOnly, code, times);
}

void replyWithResponseAndError(std::string const& name, std::int64_t code, unsigned times) {
    reader(name)->armTransmitFault(detail::MemorySlot::TransmitFault::ResponseAndError, code,
                                   times);
}

void replyWithNothing(std::string const& name, unsigned times) {
    reader(name)->armTransmitFault(detail::MemorySlot::TransmitFault::Nothing, 0, times);
}

bool sessionHeld(std::string const& name) {
    return reader(name)->sessionHeld();
}

void holdSlotLookups(bool held) {
    service().manager->holdLookups(held);
}

}  // namespace memory

std::shared_ptr<SlotManager> SlotManager::defaultManager() {
    auto& service = memory::service();
    if (!service.available) {
        return nullptr;
    }
    return service.manager;
}

}  // namespace cardservice
