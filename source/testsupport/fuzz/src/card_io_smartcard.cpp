#include "testsupport/fuzz/card_io_smartcard.hpp"

#include "cardlayer/smartcard/smartcard_provider.hpp"

namespace testsupport::fuzz {

namespace {

class CardIoProvider final : public cardlayer::smartcard::SmartcardProvider {
public:
    explicit CardIoProvider(iso7816::interchange::CardIo& io) : io_(io) {}

    iso7816::interchange::CardIo& getCardIo() override { return io_; }
    iso7816::interchange::CardIo const& getCardIo() const override { return io_; }

private:
    iso7816::interchange::CardIo& io_;
};

}  // namespace

void CardIoSmartcard::transaction(TransactionBody body) {
    CardIoProvider provider(io_);
    body(provider, false);
}

}  // namespace testsupport::fuzz
