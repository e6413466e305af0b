#pragma once

#include <string>

#include "velk/exceptions.hpp"

namespace sclib {

// The reader service failed to talk to a reader or card.
class SmartcardCommError : public velk::CommunicationError {
public:
    using velk::CommunicationError::CommunicationError;
    ~SmartcardCommError() override;
};

class NoSmartcardError : public SmartcardCommError {
public:
    using SmartcardCommError::SmartcardCommError;
    ~NoSmartcardError() override;
};

class ReaderInvalidError : public SmartcardCommError {
public:
    using SmartcardCommError::SmartcardCommError;
    ~ReaderInvalidError() override;
};

class DataCorruptedError : public SmartcardCommError {
public:
    using SmartcardCommError::SmartcardCommError;
    ~DataCorruptedError() override;
};

}  // namespace sclib
