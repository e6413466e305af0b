#include "memory_slot_manager.hpp"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace cardservice::memory::detail {

MemorySlotManager::MemorySlotManager()
    : worker_(std::make_shared<ReplyWorker>()),
      names_("slotNames", ObservedValue{std::vector<std::string>{}}) {}

std::vector<std::string> MemorySlotManager::slotNames() const {
    return std::get<std::vector<std::string>>(names_.value());
}

void MemorySlotManager::getSlotWithName(std::string const& name,
                                        std::function<void(std::shared_ptr<Slot>)> reply) const {
    std::function<void()> answer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        answer = [found = find_(name), reply = std::move(reply)] { reply(found); };
        if (lookupsHeld_) {
            heldLookups_.push_back(std::move(answer));
            return;
        }
    }
    worker_->post(std::move(answer));
}

KeyValueObservable::ObservationId MemorySlotManager::addObserver(std::string const& keyPath,
                                                                 unsigned options,
                                                                 ChangeCallback callback) {
    return names_.add(keyPath, options, std::move(callback));
}

void MemorySlotManager::removeObserver(ObservationId id) {
    names_.remove(id);
}

std::shared_ptr<MemorySlot> MemorySlotManager::find_(std::string const& name) const {
    auto const found =
        std::find_if(slots_.begin(), slots_.end(),
                     [&name](std::shared_ptr<MemorySlot> const& s) { return s->name() == name; });
    return found == slots_.end() ? nullptr : *found;
}

void MemorySlotManager::publishNames_() {
    std::vector<std::string> names;
    for (auto const& slot : slots_) {
        names.push_back(slot->name());
    }
    names_.change(std::move(names));
}

void MemorySlotManager::addReader(std::string const& name) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (find_(name)) {
            throw std::invalid_argument("Reader " + name + " is already present");
        }
        slots_.push_back(std::make_shared<MemorySlot>(name, worker_));
        publishNames_();
    }
    names_.deliverPending();
}

void MemorySlotManager::removeReader(std::string const& name) {
    auto const slot = reader(name);
    // The reader reports Missing before it leaves the list, as a reader that is pulled out does.
    slot->markMissing();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        slots_.erase(std::remove(slots_.begin(), slots_.end(), slot), slots_.end());
        publishNames_();
    }
    names_.deliverPending();
}

void MemorySlotManager::removeAllReaders() {
    std::vector<std::shared_ptr<MemorySlot>> slots;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        slots = slots_;
    }
    for (auto const& slot : slots) {
        removeReader(slot->name());
    }
}

void MemorySlotManager::holdLookups(bool held) {
    std::vector<std::function<void()>> released;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        lookupsHeld_ = held;
        if (!held) {
            released.swap(heldLookups_);
        }
    }
    for (auto& answer : released) {
        worker_->post(std::move(answer));
    }
}

std::shared_ptr<MemorySlot> MemorySlotManager::reader(std::string const& name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto slot = find_(name);
    if (!slot) {
        throw std::invalid_argument("No reader " + name);
    }
    return slot;
}

}  // namespace cardservice::memory::detail
