#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "cardservice/card_service.hpp"
#include "testsupport/cardsim/card_simulator.hpp"

// Test control of the in-memory card service, the backend that a test program links in place of
// the product's. The service is process-wide: a test calls reset() first to start from no
// readers, no faults and an available manager.
//
// Every change is delivered to the observers of "slotNames" and "state" before the call returns,
// unless another thread is delivering changes of the same key, or calling that observer, at that
// moment; that thread then delivers this one too, in order. Replies of the lookup by name,
// transmissions and session requests come one after another on the service's own worker thread,
// so a reply that waits for another reply waits for ever.
//
// Functions that take a reader name throw std::invalid_argument when no such reader is present,
// and those that need a card in the reader (or none) throw std::logic_error otherwise.
//
//     cardservice::memory::reset();
//     cardservice::memory::addReader("Reader 1");
//     auto card = std::make_shared<testsupport::cardsim::CardSimulator>();
//     cardservice::memory::insertCard("Reader 1", card);   // state 2, then 4
//     cardservice::memory::failTransmissions("Reader 1", cardservice::CommunicationError);
namespace cardservice::memory {

// Removes every reader (each is reported Missing and leaves "slotNames"), clears every armed
// fault, releases held lookups and makes the manager available again.
void reset();

// While false, SlotManager::defaultManager() returns null; handles taken earlier keep working.
void setManagerAvailable(bool available);

// A new reader in state Empty (1), appended to "slotNames".
void addReader(std::string const& name);
// The reader's state becomes Missing (0), then its name leaves "slotNames". Cards made in it
// fail from then on with TokenNotFound.
void removeReader(std::string const& name);

// The card goes through Probing (2) to ValidCard (4). The simulator is shared, so a test can look
// at its log and PIN tries.
void insertCard(std::string const& reader,
                std::shared_ptr<testsupport::cardsim::CardSimulator> card);
// State Empty (1). Cards made from this insertion fail from then on with TokenNotFound.
void removeCard(std::string const& reader);
// Resets the simulator and reports Probing (2), then ValidCard (4). Cards made earlier stay
// usable; a mute card answers again.
void resetCard(std::string const& reader);
// State MuteCard (3); sessions and transmissions of the card fail with CommunicationError until
// the next resetCard.
void muteCard(std::string const& reader);
// Reports any number as the reader's state (a faulty service: 7, -1, ...) and changes nothing
// else.
void reportState(std::string const& reader, std::int64_t state);

// Faults for the next `times` session requests (inSession or beginSession) of cards in the
// reader: the request fails with the error code (for example TokenNotFound or any other number).
void failSessions(std::string const& reader, std::int64_t code, unsigned times = 1);
// Faults for the next `times` transmissions of cards in the reader, taken in the order they were
// armed. failTransmissions replies with the error alone and the command does not reach the card;
// replyWithResponseAndError lets the card answer and adds the error; replyWithNothing replies with
// neither a response nor an error, and the command does not reach the card.
void failTransmissions(std::string const& reader, std::int64_t code, unsigned times = 1);
void replyWithResponseAndError(std::string const& reader, std::int64_t code, unsigned times = 1);
void replyWithNothing(std::string const& reader, unsigned times = 1);

// Whether a session is open on the card in the reader (false without a card).
bool sessionHeld(std::string const& reader);

// While held, the replies to lookups by name are kept back (a service that does not answer);
// releasing delivers the kept ones in order. reset() releases them.
void holdSlotLookups(bool held);

}  // namespace cardservice::memory
