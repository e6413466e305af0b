#include "simulator_recording.hpp"

#include "testsupport/cardsim/card_simulator.hpp"
#include "testsupport/fuzz/card_answers.hpp"

namespace testsupport::fuzz::seeds {

namespace {

using cardsim::CardProfile;
using cardsim::CardSimulator;
using cardsim::CardType;

class SimulatorCardIo : public iso7816::interchange::CardIo {
public:
    explicit SimulatorCardIo(CardSimulator& card) : card_(card) {}

    using CardIo::Transmit;
    velk::basic_allocated_string<unsigned char> Transmit(unsigned char const* data,
                                                         std::size_t length) override {
        auto const reply = card_.transmit(data, length);
        return {reply.data(), reply.size()};
    }

private:
    CardSimulator& card_;
};

constexpr std::uint8_t InsVerify = 0x20;
constexpr std::uint8_t InsSelect = 0xA4;
constexpr std::uint8_t InsReadBinary = 0xB0;
constexpr std::uint8_t InsGetData = 0xCA;
constexpr std::uint8_t InsManageChannel = 0x70;
constexpr std::uint16_t SwWrongPinTwoLeft = 0x63C2;
constexpr std::uint16_t SwSecurityNotSatisfied = 0x6982;

}  // namespace

std::vector<RecordedCard> recordedCards() {
    std::vector<RecordedCard> cards;
    cards.push_back({"gen2", CardProfile::standard(CardType::Gen2), {}});
    cards.push_back({"gen3", CardProfile::standard(CardType::Gen3), {}});
    cards.push_back({"gen4", CardProfile::standard(CardType::Gen4), {}});
    cards.push_back({"pavlen1", CardProfile::standard(CardType::PavlenSmartcard1), {}});
    auto noChannels = CardProfile::standard();
    noChannels.logicalChannelsSupported = false;
    cards.push_back({"no_channels", std::move(noChannels), {}});
    cards.push_back({"wrong_pin", CardProfile::standard(), [](CardSimulator& card) {
                         card.failWith(InsVerify, SwWrongPinTwoLeft, CardSimulator::EveryTime);
                     }});
    cards.push_back({"refusing_reads", CardProfile::standard(), [](CardSimulator& card) {
                         card.failWith(InsReadBinary, SwSecurityNotSatisfied,
                                       CardSimulator::EveryTime);
                     }});
    cards.push_back({"long_answers", CardProfile::standard(), [](CardSimulator& card) {
                         card.answerLongerThanLe(InsSelect);
                         card.answerLongerThanLe(InsGetData);
                         card.answerOneByte(InsManageChannel);
                         card.answerOneByte(InsReadBinary);
                     }});
    return cards;
}

Recording record(RecordedCard const& recorded, CardScenario const& scenario) {
    CardSimulator card(recorded.profile);
    if (recorded.arrange) {
        recorded.arrange(card);
    }
    SimulatorCardIo io(card);
    scenario(io);
    Recording recording;
    for (auto const& exchange : card.log()) {
        recording.commands.push_back(exchange.command);
        recording.answers.push_back(exchange.response);
    }
    return recording;
}

void addRecordings(SeedSink& sink, CardScenario const& scenario) {
    for (auto const& card : recordedCards()) {
        sink.add(card.name, frameAnswers(record(card, scenario).answers));
    }
}

}  // namespace testsupport::fuzz::seeds
