#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "velk/allocated_string.hpp"

// The operating system's smart-card service as the reader-access bridge sees it: a slot manager
// that lists readers, slots that hold cards, cards with exclusive sessions and asynchronous
// transmission, and key-value observation of the reader list and of a slot's state.
//
// This header is the whole contract. Which service stands behind it is decided when linking:
// the product links the PC/SC backend, tests the in-memory one. Objects are shared and may be
// null where the service has no object (no manager, no slot of that name, no card).
//
// Replies (of the look-up by name, of transmissions and of session requests) come on threads of
// the service, and a service may deliver every reply of every object one after another on a
// single thread (the in-memory service does). A reply must therefore not wait for another
// reply; it may ask for one and return.
namespace cardservice {

using Bytes = velk::basic_allocated_string<unsigned char>;
using AtrBytes = std::basic_string<unsigned char>;

// The service's codes for its own failures.
enum ErrorCode : std::int64_t {
    NotImplemented = -1,
    CommunicationError = -2,
    CorruptedData = -3,
    CanceledByUser = -4,
    AuthenticationFailed = -5,
    ObjectNotFound = -6,
    TokenNotFound = -7,
    BadParameter = -8,
    AuthenticationNeeded = -9,
};

// An error object of the service. Its code is usually one of ErrorCode, but a service may
// report any other number.
class Error {
public:
    explicit Error(std::int64_t code, std::string description = {})
        : code_(code), description_(std::move(description)) {}

    std::int64_t code() const { return code_; }
    std::string const& description() const { return description_; }

private:
    std::int64_t code_;
    std::string description_;
};

// Null means no error.
using ErrorPtr = std::shared_ptr<Error const>;

// Slot states as the service numbers them. A faulty service may report any other integer.
enum SlotStateValue : std::int64_t {
    StateMissing = 0,
    StateEmpty = 1,
    StateProbing = 2,
    StateMuteCard = 3,
    StateValidCard = 4,
};

// Options of an observation; only ObserveInitial changes what an observer sees.
enum ObserveOptions : unsigned {
    ObserveNew = 1,
    ObserveOld = 2,
    ObserveInitial = 4,
    ObservePrior = 8,
};

// The value of an observed key: "state" is an integer, "slotNames" a list of names.
using ObservedValue = std::variant<std::monostate, std::int64_t, std::vector<std::string>>;

// Key-value observation. The callback receives the value the key had at that change, so that
// quick successive changes are each seen with their own value. Each observer is called by one
// thread at a time: with ObserveInitial first once with the current value, on the registering
// thread before addObserver returns, then with every later change in the order of the changes,
// on a thread of the service or one that changed the value (a change that comes during the
// initial call may be made on the registering thread after it). A callback that throws costs no
// observer a change; when the initial call throws, addObserver throws and registers nothing.
//
// A service may call an object's observers while holding a lock of that object (the PC/SC
// service does, to keep its changes in order). A callback may still read the object, add
// observations and remove any of them, its own included; it must not wait for another thread
// that is changing that object or adding or removing observations of it.
//
// After removeObserver has returned no call of that observer starts, and none is running but
// the one that made the removal from inside the callback. A call running on another thread is
// waited for, so removeObserver must not be called while holding anything that the callback
// waits for.
class KeyValueObservable {
public:
    using ObservationId = std::uint64_t;
    using ChangeCallback = std::function<void(ObservedValue const&)>;

    virtual ~KeyValueObservable() = default;

    // An unknown key path registers nothing; the id is still safe to remove.
    virtual ObservationId addObserver(std::string const& keyPath, unsigned options,
                                      ChangeCallback callback) = 0;
    virtual void removeObserver(ObservationId id) = 0;
};

class Slot;
class Card;

// The service's list of readers ("slotNames" is observable).
class SlotManager : public KeyValueObservable {
public:
    // The process's manager, or null when the process cannot use the service. Defined by the
    // backend linked into the program.
    static std::shared_ptr<SlotManager> defaultManager();

    // The names of the present readers, in the service's order.
    virtual std::vector<std::string> slotNames() const = 0;
    // Calls reply exactly once, on another thread, with the slot of that name or null.
    virtual void getSlotWithName(std::string const& name,
                                 std::function<void(std::shared_ptr<Slot>)> reply) const = 0;
};

// One reader ("state" is observable).
class Slot : public KeyValueObservable {
public:
    virtual std::string name() const = 0;
    virtual std::int64_t state() const = 0;
    // The card in the slot, or null when there is no usable card.
    virtual std::shared_ptr<Card> makeSmartCard() = 0;
    // The answer-to-reset of the card in the slot; none without a card.
    virtual std::optional<AtrBytes> atr() const = 0;
};

// A card as the service connected it.
class Card {
public:
    // response is null when the service sent none; both arguments are valid only during the call.
    using TransmitReply = std::function<void(Bytes const* response, ErrorPtr error)>;

    virtual ~Card() = default;

    // The slot the card is in; null once the slot has gone.
    virtual std::shared_ptr<Slot> slot() const = 0;

    // Begins an exclusive session, runs block on the calling thread, ends the session. Failure
    // is reported through error (null when all went well); the result says whether the block
    // ran and returned true.
    virtual bool inSession(std::function<bool()> const& block, ErrorPtr& error) = 0;

    // Sends one command inside a session and returns at once; reply is called exactly once,
    // on another thread.
    virtual void transmitRequest(Bytes const& request, TransmitReply reply) = 0;

    // Asks for a session; reply(began, error) is called exactly once, on another thread. The
    // session lasts until endSession.
    virtual void beginSession(std::function<void(bool, ErrorPtr)> reply) = 0;
    virtual void endSession() = 0;

    virtual bool sensitive() const = 0;
    virtual void setSensitive(bool sensitive) = 0;
};

}  // namespace cardservice
