#include "pcsc_slot_manager.hpp"

#include <algorithm>
#include <exception>
#include <optional>
#include <set>

#include <pcsclite.h>

#include "bounded_call.hpp"
#include "pcsc_context.hpp"
#include "pcsc_slot.hpp"
#include "reader_state.hpp"
#include "timeouts.hpp"
#include "velk/log_writing_stream.hpp"
#include "velk/path.hpp"

namespace cardservice::impl::pcsc {
namespace {

// The daemon's pseudo-reader whose state changes when a reader comes or goes.
char const PlugAndPlayReader[] = "\\\\?PnP?\\Notification";

LONG listReaders(SCARDCONTEXT context, std::vector<std::string>& names) {
    names.clear();
    DWORD length = 0;
    LONG result = SCardListReaders(context, nullptr, nullptr, &length);
    if (result == SCARD_E_NO_READERS_AVAILABLE) {
        return SCARD_S_SUCCESS;
    }
    if (result != SCARD_S_SUCCESS) {
        return result;
    }
    std::string buffer(length, '\0');
    result = SCardListReaders(context, nullptr, buffer.data(), &length);
    if (result == SCARD_E_NO_READERS_AVAILABLE) {
        return SCARD_S_SUCCESS;
    }
    // A double-NUL-terminated list of names.
    for (std::size_t start = 0; result == SCARD_S_SUCCESS && start < buffer.size();) {
        std::size_t const end = buffer.find('\0', start);
        if (end == start || end == std::string::npos) {
            break;
        }
        names.push_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

void logFailure(char const* what) {
    velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Error, velk::GetFileName(__FILE__),
                           __LINE__)
        << "PC/SC reader monitor: " << what << std::endl;
}

}  // namespace

std::shared_ptr<PcscSlotManager> PcscSlotManager::create() {
    std::optional<std::shared_ptr<PcscContext>> context;
    {
        // A daemon that accepts the connection but never answers must not hold the caller.
        SerialQueue establishing;
        context = boundedCall<std::shared_ptr<PcscContext>>(
            establishing, ConnectTimeout, [] { return std::make_shared<PcscContext>(); });
    }
    if (!context || !(*context)->valid()) {
        return nullptr;
    }
    std::shared_ptr<PcscSlotManager> manager(new PcscSlotManager);
    manager->thread_ = std::thread(&PcscSlotManager::run_, manager.get(), std::move(*context));
    // The readers present now are listed before anyone asks.
    std::unique_lock<std::mutex> lock(manager->stop_);
    manager->stopChanged_.wait_for(lock, FirstListingTimeout,
                                   [&] { return manager->firstLookDone_; });
    return manager;
}

PcscSlotManager::~PcscSlotManager() {
    {
        std::lock_guard<std::mutex> lock(stop_);
        stopRequested_ = true;
        if (watching_) {
            SCardCancel(watched_);
        }
    }
    stopChanged_.notify_all();
    thread_.join();
}

std::vector<std::string> PcscSlotManager::slotNames() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return names_;
}

void PcscSlotManager::getSlotWithName(std::string const& name,
                                      std::function<void(std::shared_ptr<Slot>)> reply) const {
    replies_.post([this, name, reply = std::move(reply)] {
        std::shared_ptr<Slot> slot;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            auto const found = slots_.find(name);
            if (found != slots_.end()) {
                slot = found->second;
            }
        }
        reply(std::move(slot));
    });
}

KeyValueObservable::ObservationId PcscSlotManager::addObserver(std::string const& keyPath,
                                                               unsigned options,
                                                               ChangeCallback callback) {
    std::lock_guard<std::recursive_mutex> publishing(publishing_);
    return observers_.add(keyPath, options, std::move(callback), slotNames());
}

void PcscSlotManager::removeObserver(ObservationId id) {
    std::lock_guard<std::recursive_mutex> publishing(publishing_);
    observers_.remove(id);
}

bool PcscSlotManager::isStopping_() const {
    std::lock_guard<std::mutex> lock(stop_);
    return stopRequested_;
}

bool PcscSlotManager::pause_(std::chrono::milliseconds duration) {
    std::unique_lock<std::mutex> lock(stop_);
    return stopChanged_.wait_for(lock, duration, [this] { return stopRequested_; });
}

void PcscSlotManager::noteFirstLook_() {
    std::lock_guard<std::mutex> lock(stop_);
    firstLookDone_ = true;
    stopChanged_.notify_all();
}

void PcscSlotManager::setWatchedContext_(PcscContext const* context) {
    std::lock_guard<std::mutex> lock(stop_);
    watching_ = context != nullptr;
    watched_ = context != nullptr ? context->get() : 0;
}

void PcscSlotManager::run_(std::shared_ptr<PcscContext> first) {
    std::shared_ptr<PcscContext> context = std::move(first);
    while (!isStopping_()) {
        // Nothing may leave this thread: a failure costs the readers (they go Missing) and the
        // monitor starts over with a fresh context.
        try {
            if (!context) {
                context = std::make_shared<PcscContext>();
            }
            if (context->valid()) {
                setWatchedContext_(context.get());
                LONG const failure = watch_(*context);
                if (failure != SCARD_S_SUCCESS && failure != SCARD_E_NO_SERVICE &&
                    failure != SCARD_E_SERVICE_STOPPED) {
                    logFailure(pcsc_stringify_error(failure));
                }
            }
        } catch (std::exception const& e) {
            logFailure(e.what());
        } catch (...) {
            logFailure("unknown failure");
        }
        setWatchedContext_(nullptr);
        context.reset();
        if (isStopping_()) {
            break;
        }
        try {
            apply_({});
        } catch (...) {
            logFailure("readers not marked missing");
        }
        noteFirstLook_();
        if (pause_(DaemonRetryInterval)) {
            break;
        }
    }
}

LONG PcscSlotManager::watch_(PcscContext const& context) {
    std::map<std::string, DWORD> known;
    DWORD plugAndPlay = SCARD_STATE_UNAWARE;
    std::vector<std::string> names;
    while (!isStopping_()) {
        LONG result = listReaders(context.get(), names);
        if (result != SCARD_S_SUCCESS) {
            return result;
        }
        if (names.empty()) {
            // The wait below ends only when a reader arrives; no reader is a complete look.
            apply_({});
            noteFirstLook_();
        }
        std::vector<SCARD_READERSTATE> states(names.size() + 1);
        bool unseen = false;
        for (std::size_t i = 0; i < names.size(); ++i) {
            auto const found = known.find(names[i]);
            unseen = unseen || found == known.end();
            states[i].szReader = names[i].c_str();
            states[i].dwCurrentState = found == known.end() ? SCARD_STATE_UNAWARE : found->second;
        }
        states.back().szReader = PlugAndPlayReader;
        states.back().dwCurrentState = plugAndPlay;
        auto const wait = unseen ? std::chrono::milliseconds(0) : StatusPollInterval;
        result = SCardGetStatusChange(context.get(), static_cast<DWORD>(wait.count()),
                                      states.data(), static_cast<DWORD>(states.size()));
        if (result == SCARD_E_TIMEOUT || result == SCARD_E_CANCELLED ||
            result == SCARD_E_UNKNOWN_READER) {
            // Nothing changed, the manager stops, or a reader went before the wait: look again.
            continue;
        }
        if (result != SCARD_S_SUCCESS) {
            return result;
        }
        std::vector<Look> looks;
        known.clear();
        for (std::size_t i = 0; i < names.size(); ++i) {
            DWORD const eventState = states[i].dwEventState & ~DWORD{SCARD_STATE_CHANGED};
            known[names[i]] = eventState;
            looks.push_back({names[i], eventState, AtrBytes(states[i].rgbAtr, states[i].cbAtr)});
        }
        plugAndPlay = states.back().dwEventState & ~DWORD{SCARD_STATE_CHANGED};
        apply_(looks);
        noteFirstLook_();
    }
    return SCARD_S_SUCCESS;
}

void PcscSlotManager::apply_(std::vector<Look> const& looks) {
    std::vector<std::string> names;
    for (Look const& look : looks) {
        names.push_back(look.name);
    }
    std::vector<std::pair<std::shared_ptr<PcscSlot>, Look const*>> present;
    std::vector<std::shared_ptr<PcscSlot>> gone;
    bool changed = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto it = slots_.begin(); it != slots_.end();) {
            if (std::find(names.begin(), names.end(), it->first) == names.end()) {
                gone.push_back(it->second);
                it = slots_.erase(it);
            } else {
                ++it;
            }
        }
        for (Look const& look : looks) {
            auto const found = slots_.find(look.name);
            if (found != slots_.end()) {
                present.emplace_back(found->second, &look);
                continue;
            }
            // A reader seen for the first time starts in the state it is in.
            ReaderState const initial =
                readerStateOf(look.eventState).value_or(ReaderState{StateEmpty, 0});
            slots_.emplace(look.name, std::make_shared<PcscSlot>(look.name, initial, look.atr));
        }
        changed = names != names_;
        names_ = names;
    }
    for (auto const& [slot, look] : present) {
        if (std::optional<ReaderState> const now = readerStateOf(look->eventState)) {
            slot->update(*now, look->atr);
        }
    }
    for (std::shared_ptr<PcscSlot> const& slot : gone) {
        slot->markMissing();
    }
    if (changed) {
        std::lock_guard<std::recursive_mutex> publishing(publishing_);
        observers_.notify(slotNames());
    }
}

}  // namespace cardservice::impl::pcsc
