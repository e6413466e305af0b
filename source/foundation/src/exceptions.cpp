#include "velk/exceptions.hpp"

namespace velk {

InputError::~InputError() = default;
CodingError::~CodingError() = default;
VelkException::~VelkException() = default;
CommunicationError::~CommunicationError() = default;
DataError::~DataError() = default;
MissingData::~MissingData() = default;
StateIncorrect::~StateIncorrect() = default;
AuthenticationRequired::~AuthenticationRequired() = default;
EnvironmentError::~EnvironmentError() = default;

namespace secure_elt_err {

SecureElementError::~SecureElementError() = default;
RequestError::~RequestError() = default;
WrongLength::~WrongLength() = default;
WrongData::~WrongData() = default;
PinPolicyError::~PinPolicyError() = default;
FeatureRestricted::~FeatureRestricted() = default;
PathInvalid::~PathInvalid() = default;
FeatureUnsupported::~FeatureUnsupported() = default;
AlgorithmUnsupported::~AlgorithmUnsupported() = default;
ResponseError::~ResponseError() = default;
PersistentStateError::~PersistentStateError() = default;
CommandNotAllowed::~CommandNotAllowed() = default;
AuthMethodBlocked::~AuthMethodBlocked() = default;
RefDataNotFound::~RefDataNotFound() = default;
FileNotFound::~FileNotFound() = default;
ReferenceExistsError::~ReferenceExistsError() = default;
TransientStateError::~TransientStateError() = default;
PreconditionError::~PreconditionError() = default;
SecurityCondNotSatisfied::~SecurityCondNotSatisfied() = default;
ResourceError::~ResourceError() = default;
OutOfMemory::~OutOfMemory() = default;

}  // namespace secure_elt_err
}  // namespace velk
