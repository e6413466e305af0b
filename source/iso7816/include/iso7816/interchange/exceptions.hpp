#pragma once

#include "velk/exceptions.hpp"

namespace iso7816::interchange {

// Destructors out of line: one type identity for each class, wherever it is caught.
class LogicalChannelsNotSupported : public velk::secure_elt_err::FeatureUnsupported {
public:
    using FeatureUnsupported::FeatureUnsupported;
    ~LogicalChannelsNotSupported() override;
};

class FileIdExistsError : public velk::secure_elt_err::ReferenceExistsError {
public:
    using ReferenceExistsError::ReferenceExistsError;
    ~FileIdExistsError() override;
};

class ShortFileIdExistsError : public velk::secure_elt_err::ReferenceExistsError {
public:
    using ReferenceExistsError::ReferenceExistsError;
    ~ShortFileIdExistsError() override;
};

}  // namespace iso7816::interchange
