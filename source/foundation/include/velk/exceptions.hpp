#pragma once

#include <stdexcept>

// Every failure in the system is one of these (or of a class derived from them elsewhere).
// They carry nothing but their type and message; catch a family root to take all below it.
// Destructors are defined out of line so that each class has one type identity in the library.

namespace velk {

// The caller passed a value that the operation cannot accept.
class InputError : public std::logic_error {
public:
    using std::logic_error::logic_error;
    ~InputError() override;
};

// Text or data in a coded form (base64, PKCS#15 paths) cannot be decoded.
class CodingError : public InputError {
public:
    using InputError::InputError;
    ~CodingError() override;
};

// A platform function of the foundation library failed.
class VelkException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    ~VelkException() override;
};

// A device cannot be reached or talked to.
class CommunicationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    ~CommunicationError() override;
};

// Data is absent or wrong.
class DataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    ~DataError() override;
};

// A required item does not exist.
class MissingData : public DataError {
public:
    using DataError::DataError;
    ~MissingData() override;
};

// The operation is not allowed in the current state.
class StateIncorrect : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    ~StateIncorrect() override;
};

// A login must come first.
class AuthenticationRequired : public StateIncorrect {
public:
    using StateIncorrect::StateIncorrect;
    ~AuthenticationRequired() override;
};

// The platform did not behave as required.
class EnvironmentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    ~EnvironmentError() override;
};

namespace secure_elt_err {

// Root of the card-status family: the secure element refused or answered wrongly.
class SecureElementError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    ~SecureElementError() override;
};

// The request was wrong.
class RequestError : public SecureElementError {
public:
    using SecureElementError::SecureElementError;
    ~RequestError() override;
};

// A length in the request is wrong.
class WrongLength : public RequestError {
public:
    using RequestError::RequestError;
    ~WrongLength() override;
};

// Data or parameters in the request are wrong.
class WrongData : public RequestError {
public:
    using RequestError::RequestError;
    ~WrongData() override;
};

// A PIN breaks the PIN policy.
class PinPolicyError : public RequestError {
public:
    using RequestError::RequestError;
    ~PinPolicyError() override;
};

// The object may not be used for this operation.
class FeatureRestricted : public RequestError {
public:
    using RequestError::RequestError;
    ~FeatureRestricted() override;
};

// A file path cannot be used.
class PathInvalid : public RequestError {
public:
    using RequestError::RequestError;
    ~PathInvalid() override;
};

// The card does not support what was asked.
class FeatureUnsupported : public RequestError {
public:
    using RequestError::RequestError;
    ~FeatureUnsupported() override;
};

// The card does not support the algorithm.
class AlgorithmUnsupported : public FeatureUnsupported {
public:
    using FeatureUnsupported::FeatureUnsupported;
    ~AlgorithmUnsupported() override;
};

// The card's response is malformed or of the wrong length.
class ResponseError : public SecureElementError {
public:
    using SecureElementError::SecureElementError;
    ~ResponseError() override;
};

// The card refused because of its lasting state.
class PersistentStateError : public SecureElementError {
public:
    using SecureElementError::SecureElementError;
    ~PersistentStateError() override;
};

class CommandNotAllowed : public PersistentStateError {
public:
    using PersistentStateError::PersistentStateError;
    ~CommandNotAllowed() override;
};

class AuthMethodBlocked : public PersistentStateError {
public:
    using PersistentStateError::PersistentStateError;
    ~AuthMethodBlocked() override;
};

// A referenced object (key, PIN object, data) does not exist.
class RefDataNotFound : public PersistentStateError {
public:
    using PersistentStateError::PersistentStateError;
    ~RefDataNotFound() override;
};

class FileNotFound : public PersistentStateError {
public:
    using PersistentStateError::PersistentStateError;
    ~FileNotFound() override;
};

// An object to be created already exists.
class ReferenceExistsError : public PersistentStateError {
public:
    using PersistentStateError::PersistentStateError;
    ~ReferenceExistsError() override;
};

// The card refused because of a state that can change within the session.
class TransientStateError : public SecureElementError {
public:
    using SecureElementError::SecureElementError;
    ~TransientStateError() override;
};

class PreconditionError : public TransientStateError {
public:
    using TransientStateError::TransientStateError;
    ~PreconditionError() override;
};

class SecurityCondNotSatisfied : public TransientStateError {
public:
    using TransientStateError::TransientStateError;
    ~SecurityCondNotSatisfied() override;
};

// The card ran out of a resource.
class ResourceError : public SecureElementError {
public:
    using SecureElementError::SecureElementError;
    ~ResourceError() override;
};

class OutOfMemory : public ResourceError {
public:
    using ResourceError::ResourceError;
    ~OutOfMemory() override;
};

}  // namespace secure_elt_err
}  // namespace velk
