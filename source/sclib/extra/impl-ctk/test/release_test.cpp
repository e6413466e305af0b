#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "sclib/exceptions.hpp"
#include "sclib/impl/ctk/provider.hpp"
#include "service_test.hpp"

namespace sclib::impl::ctk {
namespace {

namespace memory = cardservice::memory;

char const* const ReaderName = "Reader 1";

// Connects to the reader's card and runs an empty transaction, if the reader still has one.
void useCard(std::shared_ptr<sclib::Reader> const& reader) {
    if (!reader) {
        return;
    }
    try {
        reader->ConnectSmartcard()->transaction(
            [](cardlayer::smartcard::SmartcardProvider&, bool) {});
    } catch (SmartcardCommError const&) {
        // The reader or its card went away meanwhile.
    }
}

class ReleaseTest : public test::ServiceTest {};

// The registry makes a lookup of a name wait while the old reader of that name is being
// destroyed; the destruction must therefore never wait for the pumping thread, which looks the
// same reader up from its handlers.
TEST_F(ReleaseTest, DroppingTheLastReaderWhileThePumpLooksItUpDoesNotDeadlock) {
    auto const system = GetProvider().CreateSystemMonitor();
    auto const lookUp = [](std::shared_ptr<sclib::Reader> const& reader) {
        useCard(GetProvider().GetReaderByName(reader->GetName()));
    };
    system->readerAdded().connect(lookUp);
    system->readerRemoved().connect(lookUp);
    system->Start();

    std::atomic<bool> running{true};
    auto pump = std::async(std::launch::async, [&] {
        while (running) {
            if (!GetProvider().ProcessEvents()) {
                std::this_thread::yield();
            }
        }
    });
    auto host = std::async(std::launch::async, [&] {
        while (running) {
            useCard(GetProvider().GetReaderByName(ReaderName));
        }
    });
    for (int round = 0; round < 200; ++round) {
        memory::addReader(ReaderName);
        insertCard(ReaderName);
        memory::removeReader(ReaderName);
    }
    running = false;
    auto const deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    ASSERT_EQ(pump.wait_until(deadline), std::future_status::ready);
    ASSERT_EQ(host.wait_until(deadline), std::future_status::ready);
    pump.get();
    host.get();
}

}  // namespace
}  // namespace sclib::impl::ctk
