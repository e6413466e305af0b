#include "sclib/exceptions.hpp"

namespace sclib {

SmartcardCommError::~SmartcardCommError() = default;
NoSmartcardError::~NoSmartcardError() = default;
ReaderInvalidError::~ReaderInvalidError() = default;
DataCorruptedError::~DataCorruptedError() = default;

}  // namespace sclib
