#include "memory_slot.hpp"

#include <stdexcept>
#include <utility>

#include "memory_card.hpp"

namespace cardservice::memory::detail {

namespace {

ErrorPtr makeError(std::int64_t code) {
    return std::make_shared<Error const>(code);
}

}  // namespace

MemorySlot::MemorySlot(std::string name, std::shared_ptr<ReplyWorker> worker)
    : name_(std::move(name)),
      worker_(std::move(worker)),
      state_("state", ObservedValue{std::int64_t{StateEmpty}}) {}

std::string MemorySlot::name() const {
    return name_;
}

std::int64_t MemorySlot::state() const {
    return std::get<std::int64_t>(state_.value());
}

std::shared_ptr<Card> MemorySlot::makeSmartCard() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!present_ || !insertion_ || state() != StateValidCard) {
        return nullptr;
    }
    return std::make_shared<MemoryCard>(weak_from_this(), insertion_, worker_);
}

std::optional<AtrBytes> MemorySlot::atr() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!insertion_) {
        return std::nullopt;
    }
    return insertion_->atr();
}

KeyValueObservable::ObservationId MemorySlot::addObserver(std::string const& keyPath,
                                                          unsigned options,
                                                          ChangeCallback callback) {
    return state_.add(keyPath, options, std::move(callback));
}

void MemorySlot::removeObserver(ObservationId id) {
    state_.remove(id);
}

bool MemorySlot::present() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return present_;
}

ErrorPtr MemorySlot::absenceError_(CardInsertion const& insertion) const {
    if (!present_ || insertion_.get() != &insertion) {
        return makeError(TokenNotFound);
    }
    if (insertion.mute()) {
        return makeError(CommunicationError);
    }
    return nullptr;
}

ErrorPtr MemorySlot::takeSessionError(CardInsertion const& insertion) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (auto error = absenceError_(insertion)) {
        return error;
    }
    if (sessionFaults_.empty()) {
        return nullptr;
    }
    ArmedSessionFault& armed = sessionFaults_.front();
    auto const code = armed.code;
    if (--armed.times == 0) {
        sessionFaults_.pop_front();
    }
    return makeError(code);
}

TransmitPlan MemorySlot::takeTransmitPlan(CardInsertion const& insertion) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (auto error = absenceError_(insertion)) {
        return TransmitPlan{false, std::move(error)};
    }
    if (transmitFaults_.empty()) {
        return TransmitPlan{};
    }
    ArmedTransmitFault& armed = transmitFaults_.front();
    TransmitPlan plan;
    switch (armed.fault) {
        case TransmitFault::ErrorOnly:
            plan = TransmitPlan{false, makeError(armed.code)};
            break;
        case TransmitFault::ResponseAndError:
            plan = TransmitPlan{true, makeError(armed.code)};
            break;
        case TransmitFault::Nothing:
            plan = TransmitPlan{false, nullptr};
            break;
    }
    if (--armed.times == 0) {
        transmitFaults_.pop_front();
    }
    return plan;
}

std::shared_ptr<CardInsertion> MemorySlot::requireCard_() const {
    if (!insertion_) {
        throw std::logic_error("No card in reader " + name_);
    }
    return insertion_;
}

void MemorySlot::insertCard(std::shared_ptr<testsupport::cardsim::CardSimulator> card) {
    if (!card) {
        throw std::invalid_argument("No card simulator for reader " + name_);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (insertion_) {
            throw std::logic_error("Reader " + name_ + " already holds a card");
        }
        insertion_ = std::make_shared<CardInsertion>(std::move(card));
        state_.change(std::int64_t{StateProbing});
        state_.change(std::int64_t{StateValidCard});
    }
    state_.deliverPending();
}

void MemorySlot::removeCard() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requireCard_();
        insertion_.reset();
        state_.change(std::int64_t{StateEmpty});
    }
    state_.deliverPending();
}

void MemorySlot::resetCard() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requireCard_()->reset();
        state_.change(std::int64_t{StateProbing});
        state_.change(std::int64_t{StateValidCard});
    }
    state_.deliverPending();
}

void MemorySlot::muteCard() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requireCard_()->setMute(true);
        state_.change(std::int64_t{StateMuteCard});
    }
    state_.deliverPending();
}

void MemorySlot::reportState(std::int64_t state) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        state_.change(state);
    }
    state_.deliverPending();
}

void MemorySlot::markMissing() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        present_ = false;
        insertion_.reset();
        state_.change(std::int64_t{StateMissing});
    }
    state_.deliverPending();
}

void MemorySlot::failSessions(std::int64_t code, unsigned times) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (times > 0) {
        sessionFaults_.push_back(ArmedSessionFault{code, times});
    }
}

void MemorySlot::armTransmitFault(TransmitFault fault, std::int64_t code, unsigned times) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (times > 0) {
        transmitFaults_.push_back(ArmedTransmitFault{fault, code, times});
    }
}

bool MemorySlot::sessionHeld() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return insertion_ && insertion_->sessionOpen();
}

}  // namespace cardservice::memory::detail
