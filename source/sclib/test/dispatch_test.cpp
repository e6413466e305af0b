#include "sclib/dispatch.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "sclib/smartcard.hpp"

namespace sclib::test {
namespace {

class NamedReader : public Reader {
public:
    std::string GetName() const override { return "R"; }
    std::unique_ptr<Smartcard> ConnectSmartcard() override { return nullptr; }
};

class IdleReaderMonitor : public ReaderMonitor {
public:
    using ReaderMonitor::ReaderMonitor;
    void Start() override {}
    void Stop() override {}
};

class IdleSystemMonitor : public SystemMonitor {
public:
    void Start() override {}
    void Stop() override {}
};

struct Monitors {
    std::shared_ptr<Reader> reader = std::make_shared<NamedReader>();
    IdleReaderMonitor readerMonitor{reader};
    IdleSystemMonitor systemMonitor;
};

struct DispatchCase {
    char const* name;
    std::function<ReaderSignal&(Monitors&)> signal;
    std::function<void(Monitors&)> dispatch;
};

void PrintTo(DispatchCase const& row, std::ostream* os) {
    *os << row.name;
}

class Dispatch : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(Dispatch, CallsLiveSubscribersInConnectOrder) {
    Monitors m;
    auto& signal = GetParam().signal(m);
    GetParam().dispatch(m);  // no subscriber: nothing happens

    std::vector<std::string> calls;
    auto gone = std::make_shared<int>(0);
    auto const subscriber = [&](char const* who) {
        return [&calls, &m, who](std::shared_ptr<Reader> const& reader) {
            EXPECT_EQ(reader, m.reader);
            calls.emplace_back(who);
        };
    };
    signal.connect(subscriber("first"));
    signal.connect(ReaderSignal::slot_type(subscriber("tracked")).track_foreign(gone));
    signal.connect(subscriber("second"));
    gone.reset();

    GetParam().dispatch(m);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "second"}));
}

INSTANTIATE_TEST_SUITE_P(
    Signals, Dispatch,
    ::testing::Values(
        DispatchCase{"Insert",
                     [](Monitors& m) -> ReaderSignal& { return m.readerMonitor.cardInserted(); },
                     [](Monitors& m) { dispatchInsertSmartcardEvent(m.readerMonitor); }},
        DispatchCase{"Remove",
                     [](Monitors& m) -> ReaderSignal& { return m.readerMonitor.cardRemoved(); },
                     [](Monitors& m) { dispatchRemoveSmartcardEvent(m.readerMonitor); }},
        DispatchCase{"Mute",
                     [](Monitors& m) -> ReaderSignal& { return m.readerMonitor.cardMute(); },
                     [](Monitors& m) { dispatchMuteSmartcardEvent(m.readerMonitor); }},
        DispatchCase{"Unavailable",
                     [](Monitors& m) -> ReaderSignal& { return m.readerMonitor.unavailable(); },
                     [](Monitors& m) { dispatchUnavailableEvent(m.readerMonitor); }},
        DispatchCase{"ReaderAdded",
                     [](Monitors& m) -> ReaderSignal& { return m.systemMonitor.readerAdded(); },
                     [](Monitors& m) { dispatchReaderAddedEvent(m.systemMonitor, m.reader); }},
        DispatchCase{"ReaderRemoved",
                     [](Monitors& m) -> ReaderSignal& { return m.systemMonitor.readerRemoved(); },
                     [](Monitors& m) { dispatchReaderRemovedEvent(m.systemMonitor, m.reader); }}),
    [](auto const& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sclib::test
