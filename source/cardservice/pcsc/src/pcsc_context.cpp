#include "pcsc_context.hpp"

namespace cardservice::impl::pcsc {

PcscContext::PcscContext()
    : result_(SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context_)) {}

PcscContext::~PcscContext() {
    if (valid()) {
        SCardReleaseContext(context_);
    }
}

}  // namespace cardservice::impl::pcsc
