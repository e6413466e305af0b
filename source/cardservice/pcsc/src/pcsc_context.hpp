#pragma once

#include <winscard.h>

namespace cardservice::impl::pcsc {

// One PC/SC context, released when the object goes. A context serves one thread at a time:
// the daemon's client library serialises calls on it, a blocking status wait included.
class PcscContext {
public:
    // Establishes the context; result() tells whether that worked.
    PcscContext();
    ~PcscContext();
    PcscContext(PcscContext const&) = delete;
    PcscContext& operator=(PcscContext const&) = delete;

    LONG result() const { return result_; }
    bool valid() const { return result_ == SCARD_S_SUCCESS; }
    SCARDCONTEXT get() const { return context_; }

private:
    SCARDCONTEXT context_ = 0;
    LONG result_;
};

}  // namespace cardservice::impl::pcsc
