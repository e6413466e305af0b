#pragma once

#include <cstddef>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "sclib/provider.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "testsupport/readers/fake_reader.hpp"

namespace testsupport::readers {

namespace detail {
struct ProviderState;
}

// A reader service played in memory and driven by the test:
//
//     FakeProvider provider;
//     provider.addReader("Reader A");
//     provider.insertCard("Reader A", std::make_shared<cardsim::CardSimulator>());
//     auto notifier = sclib::helpers::CardNotifier::Create(provider, callback);
//     provider.pumpUntilIdle();  // reader added, then card inserted
//
// It keeps the promises of a provider: one reader object per name while anyone holds it;
// GetReaderByName ignores case; ProcessEvents pumps the live monitors in registration order on
// the calling thread and stops at the first that fired. The driving calls only queue events on
// the started monitors, so the signals fire on the pumping thread. A started system monitor
// reports the present readers as added, a started reader monitor a card already in as inserted
// (and a reader that is not present as unavailable). Removing a reader gives reader-removed and,
// to its reader monitors, unavailable (no card-removed); the cards connected to it fail from
// then on. Resets give no event; connected cards see them as was-reset.
//
// The driving calls throw std::invalid_argument for a name that is not (or, for addReader, is
// already) a present reader, and for a card that is not (or, for insertCard, is already) in.
// Every call may come from any thread.
class FakeProvider : public sclib::Provider {
public:
    FakeProvider();
    ~FakeProvider() override;
    FakeProvider(FakeProvider const&) = delete;
    FakeProvider& operator=(FakeProvider const&) = delete;

    std::vector<std::shared_ptr<sclib::Reader>> GetReaders() const override;
    std::shared_ptr<sclib::Reader> GetReaderByName(std::string const& name) const override;
    bool ProcessEvents() const override;
    std::shared_ptr<sclib::SystemMonitor> CreateSystemMonitor() const override;
    std::shared_ptr<sclib::ReaderMonitor> CreateReaderMonitor(
        std::shared_ptr<sclib::Reader> reader) const override;

    // The object that someone still holds under that name, else a new one.
    std::shared_ptr<FakeReader> addReader(std::string const& name);
    void removeReader(std::string const& name);
    void insertCard(std::string const& readerName,
                    std::shared_ptr<testsupport::cardsim::CardSimulator> card);
    void removeCard(std::string const& readerName);
    void resetCard(std::string const& readerName);
    // The next ProcessEvents throws error once, before any monitor runs, as a monitor does with
    // a failure it caught on a platform thread.
    void throwOnNextProcess(std::exception_ptr error);

    std::size_t liveMonitorCount() const;
    // ProcessEvents until it returns false, at most maxPasses times; returns the passes that
    // fired.
    std::size_t pumpUntilIdle(std::size_t maxPasses = 100) const;

private:
    std::shared_ptr<detail::ProviderState> state_;
};

}  // namespace testsupport::readers
