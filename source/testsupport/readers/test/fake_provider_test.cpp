#include "testsupport/readers/fake_provider.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sclib/exceptions.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "transaction_recorder.hpp"

namespace testsupport::readers::test {
namespace {

TEST(FakeProvider, ReadersConnectLikeTheRealService) {
    FakeProvider provider;
    auto a = provider.addReader("Reader A");
    auto const b = provider.addReader("Reader B");
    EXPECT_EQ(provider.GetReaderByName("reader b"), b);
    EXPECT_EQ(provider.GetReaderByName("Reader C"), nullptr);

    EXPECT_EQ(thrownText<sclib::NoSmartcardError>([&] { a->ConnectSmartcard(); }),
              "No smartcard in reader");

    provider.insertCard("Reader A", std::make_shared<cardsim::CardSimulator>());
    auto first = a->ConnectSmartcard();
    auto second = a->ConnectSmartcard();
    provider.resetCard("Reader A");  // reported once to each card object
    TransactionRecorder recorder;
    first->transaction(recorder.body());
    first->transaction(recorder.body());
    second->transaction(recorder.body());
    EXPECT_EQ(recorder.resets, (std::vector<bool>{true, false, true}));

    provider.removeCard("Reader A");
    EXPECT_EQ(thrownText<sclib::NoSmartcardError>([&] { first->transaction(recorder.body()); }),
              "Unable to start session: Token not found");

    provider.removeReader("Reader A");
    EXPECT_EQ(thrownText<sclib::ReaderInvalidError>([&] { a->ConnectSmartcard(); }),
              "Reader no longer accessible");
    EXPECT_EQ(provider.GetReaders(), (std::vector<std::shared_ptr<sclib::Reader>>{b}));
}

TEST(FakeProvider, ReaderIsOneObjectWhileHeld) {
    FakeProvider provider;
    auto a = provider.addReader("Reader A");
    provider.removeReader("Reader A");
    EXPECT_EQ(provider.addReader("Reader A"), a);

    std::weak_ptr<sclib::Reader> const old = a;
    provider.removeReader("Reader A");
    a.reset();
    EXPECT_TRUE(old.expired());  // so the next one is a new object
    auto const again = provider.addReader("Reader A");
    EXPECT_EQ(provider.GetReaderByName("reader a"), again);
}

}  // namespace
}  // namespace testsupport::readers::test
