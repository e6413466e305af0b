#include "iso7816/interchange/exceptions.hpp"

namespace iso7816::interchange {

LogicalChannelsNotSupported::~LogicalChannelsNotSupported() = default;
FileIdExistsError::~FileIdExistsError() = default;
ShortFileIdExistsError::~ShortFileIdExistsError() = default;

}  // namespace iso7816::interchange
