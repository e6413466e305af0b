#include "testsupport/readers/fake_reader.hpp"

#include "sclib/exceptions.hpp"
#include "testsupport/readers/simulated_smartcard.hpp"

namespace testsupport::readers {

std::unique_ptr<sclib::Smartcard> FakeReader::ConnectSmartcard() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!present_) {
        throw sclib::ReaderInvalidError("Reader no longer accessible");
    }
    if (!insertion_) {
        throw sclib::NoSmartcardError("No smartcard in reader");
    }
    ++connections_;
    return std::make_unique<SimulatedSmartcard>(insertion_);
}

bool FakeReader::isPresent() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return present_;
}

bool FakeReader::hasCard() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return insertion_ != nullptr;
}

std::shared_ptr<CardInsertion> FakeReader::insertion() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return insertion_;
}

std::size_t FakeReader::connectionCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return connections_;
}

}  // namespace testsupport::readers
