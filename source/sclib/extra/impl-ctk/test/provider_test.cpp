#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>
#include <system_error>
#include <typeindex>
#include <vector>

#include "ctkwrapper/errors.hpp"
#include "ctkwrapper/slot_manager.hpp"
#include "sclib/exceptions.hpp"
#include "sclib/impl/ctk/provider.hpp"
#include "sclib/impl/ctk/reader_monitor.hpp"
#include "service_test.hpp"

namespace sclib::impl::ctk {
namespace {

namespace memory = cardservice::memory;

struct CodeCase {
    std::error_code code;
    std::type_index thrown;
    char const* text;
};

void PrintTo(CodeCase const& c, std::ostream* os) {
    *os << c.text;
}

class ThrowExceptionTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ThrowExceptionTest, CodeBecomesItsExceptionAndText) {
    try {
        Provider::ThrowException(GetParam().code, "Transmit failed");
        FAIL() << "returned";
    } catch (std::exception const& e) {
        EXPECT_EQ(std::type_index(typeid(e)), GetParam().thrown);
        EXPECT_STREQ(e.what(), GetParam().text);
    }
}

std::error_code ctk(int value) {
    return {value, ctkwrapper::errorCategory};
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ThrowExceptionTest,
    ::testing::Values(
        CodeCase{ctk(7), typeid(NoSmartcardError), "Transmit failed: Token not found"},
        CodeCase{ctk(3), typeid(DataCorruptedError), "Transmit failed: Corrupted data"},
        CodeCase{ctk(2), typeid(SmartcardCommError), "Transmit failed: Communication error"},
        CodeCase{ctk(9), typeid(SmartcardCommError),
                 "Transmit failed: Unknown error: authentication is required"},
        CodeCase{ctk(10), typeid(SmartcardCommError),
                 "Transmit failed: Unknown error: unrecognized error"},
        CodeCase{std::make_error_code(std::errc::io_error), typeid(std::system_error),
                 "Transmit failed: Input/output error"}));

class ProviderTest : public test::ServiceTest {};

TEST_F(ProviderTest, NoReaderGivesNothing) {
    EXPECT_TRUE(GetProvider().GetReaders().empty());
    EXPECT_EQ(GetProvider().GetReaderByName("Reader 1"), nullptr);
}

TEST_F(ProviderTest, OneReaderObjectPerNameWhileHeld) {
    memory::addReader("Reader 1");
    memory::addReader("Reader 2");
    auto const first = GetProvider().GetReaders();
    auto const second = GetProvider().GetReaders();
    ASSERT_EQ(first.size(), 2U);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first[0]->GetName(), "Reader 1");
    EXPECT_EQ(first[1]->GetName(), "Reader 2");

    std::weak_ptr<sclib::Reader> const held = GetProvider().GetReaderByName("Reader 2");
    EXPECT_EQ(held.lock(), first[1]);
}

TEST_F(ProviderTest, ReleasedReaderIsMadeAnew) {
    memory::addReader("Reader 1");
    std::weak_ptr<sclib::Reader> const released = GetProvider().GetReaderByName("Reader 1");
    EXPECT_TRUE(released.expired());
    EXPECT_NE(GetProvider().GetReaderByName("Reader 1"), nullptr);
}

TEST_F(ProviderTest, LookupByNameIgnoresCaseAndTakesTheFirstMatch) {
    memory::addReader("Reader A");
    memory::addReader("READER a");
    auto const readers = GetProvider().GetReaders();
    EXPECT_EQ(GetProvider().GetReaderByName("reader a"), readers[0]);
    EXPECT_EQ(GetProvider().GetReaderByName("Reader B"), nullptr);
}

// Three reader monitors with a card each; only the first with events runs in a pass.
TEST_F(ProviderTest, PumpStopsAtTheFirstMonitorWithEvents) {
    std::vector<std::shared_ptr<sclib::ReaderMonitor>> monitors;
    std::vector<std::string> fired;
    for (std::string const name : {"Reader 1", "Reader 2", "Reader 3"}) {
        memory::addReader(name);
        insertCard(name);
        monitors.push_back(GetProvider().CreateReaderMonitor(GetProvider().GetReaderByName(name)));
        monitors.back()->cardInserted().connect(
            [&fired](std::shared_ptr<sclib::Reader> const& reader) {
                fired.push_back(reader->GetName());
            });
        monitors.back()->Start();
    }
    for (std::string const name : {"Reader 1", "Reader 2", "Reader 3"}) {
        EXPECT_TRUE(GetProvider().ProcessEvents());
        EXPECT_EQ(fired, std::vector<std::string>{name});
        fired.clear();
    }
    EXPECT_FALSE(GetProvider().ProcessEvents());
}

TEST_F(ProviderTest, DestroyedMonitorIsNoLongerPumped) {
    memory::addReader("Reader 1");
    insertCard("Reader 1");
    GetProvider().CreateReaderMonitor(GetProvider().GetReaderByName("Reader 1"))->Start();
    EXPECT_FALSE(GetProvider().ProcessEvents());
}

// The card notifier's pattern: a reader-added handler creates and starts a reader monitor while
// the pump runs.
TEST_F(ProviderTest, HandlerMayRegisterMonitorsWhileThePumpRuns) {
    memory::addReader("Reader 1");
    insertCard("Reader 1");
    std::vector<std::shared_ptr<sclib::ReaderMonitor>> readerMonitors;
    int inserted = 0;
    auto const system = GetProvider().CreateSystemMonitor();
    system->readerAdded().connect([&](std::shared_ptr<sclib::Reader> const& reader) {
        readerMonitors.push_back(GetProvider().CreateReaderMonitor(reader));
        readerMonitors.back()->cardInserted().connect(
            [&inserted](std::shared_ptr<sclib::Reader> const&) { ++inserted; });
        readerMonitors.back()->Start();
    });
    system->Start();
    EXPECT_TRUE(GetProvider().ProcessEvents());
    EXPECT_EQ(inserted, 0);
    EXPECT_TRUE(GetProvider().ProcessEvents());
    EXPECT_EQ(inserted, 1);
    EXPECT_FALSE(GetProvider().ProcessEvents());
}

TEST_F(ProviderTest, UnansweredLookupFailsTheConnectionInBoundedTime) {
    memory::addReader("Reader 1");
    insertCard("Reader 1");
    auto const reader = GetProvider().GetReaderByName("Reader 1");
    memory::holdSlotLookups(true);
    auto connecting = std::async(std::launch::async, [&reader] { reader->ConnectSmartcard(); });
    auto const status = connecting.wait_for(ctkwrapper::SlotLookupTimeout * 3);
    memory::holdSlotLookups(false);
    ASSERT_EQ(status, std::future_status::ready);
    try {
        connecting.get();
        FAIL() << "connected";
    } catch (SmartcardCommError const& e) {
        EXPECT_STREQ(e.what(), "No answer from the card service to the lookup of reader Reader 1");
    }
    EXPECT_NE(reader->ConnectSmartcard(), nullptr);
}

struct ConnectCase {
    char const* name;
    bool cardInserted;
    void (*after)();
    std::type_index thrown;
    char const* text;
};

void PrintTo(ConnectCase const& c, std::ostream* os) {
    *os << c.name;
}

class ConnectFailureTest : public test::ServiceTest,
                           public ::testing::WithParamInterface<ConnectCase> {};

TEST_P(ConnectFailureTest, ConnectingFailsWithItsError) {
    memory::addReader("Reader 1");
    if (GetParam().cardInserted) {
        insertCard("Reader 1");
    }
    auto const reader = GetProvider().GetReaderByName("Reader 1");
    GetParam().after();
    try {
        reader->ConnectSmartcard();
        FAIL() << "connected";
    } catch (std::exception const& e) {
        EXPECT_EQ(std::type_index(typeid(e)), GetParam().thrown);
        EXPECT_STREQ(e.what(), GetParam().text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ConnectFailureTest,
    ::testing::Values(ConnectCase{"ReaderGone", true, [] { memory::removeReader("Reader 1"); },
                                  typeid(ReaderInvalidError), "Reader no longer accessible"},
                      ConnectCase{"NoCard", false, [] {}, typeid(NoSmartcardError),
                                  "No smartcard in reader"},
                      ConnectCase{"MuteCard", true, [] { memory::muteCard("Reader 1"); },
                                  typeid(NoSmartcardError), "No smartcard in reader"}),
    [](auto const& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sclib::impl::ctk
