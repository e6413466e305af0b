#pragma once

#include <memory>
#include <string>

namespace sclib {

class Smartcard;

// One card reader. A provider hands out one object per reader while anyone holds it, so pointer
// equality is reader identity.
class Reader {
public:
    virtual ~Reader() = default;

    virtual std::string GetName() const = 0;
    // Throws ReaderInvalidError when the reader is gone, NoSmartcardError when it holds no
    // usable card.
    virtual std::unique_ptr<Smartcard> ConnectSmartcard() = 0;
};

}  // namespace sclib
