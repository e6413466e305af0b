#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>

#include "sclib/reader.hpp"
#include "testsupport/readers/card_insertion.hpp"

namespace testsupport::readers {

// A reader of the FakeProvider; its state changes only through the provider's driving calls.
class FakeReader : public sclib::Reader {
public:
    explicit FakeReader(std::string name) : name_(std::move(name)) {}

    std::string GetName() const override { return name_; }
    // A SimulatedSmartcard over the inserted card; throws sclib::ReaderInvalidError "Reader no
    // longer accessible" for a removed reader and sclib::NoSmartcardError "No smartcard in
    // reader" for an empty one.
    std::unique_ptr<sclib::Smartcard> ConnectSmartcard() override;

    bool isPresent() const;
    bool hasCard() const;
    // The card in the reader now; null when empty.
    std::shared_ptr<CardInsertion> insertion() const;
    // The ConnectSmartcard calls that gave a card.
    std::size_t connectionCount() const;

private:
    friend class FakeProvider;

    std::string const name_;
    mutable std::mutex mutex_;
    bool present_ = false;                      // under mutex_
    std::shared_ptr<CardInsertion> insertion_;  // under mutex_; null when empty
    std::size_t connections_ = 0;               // under mutex_
};

}  // namespace testsupport::readers
