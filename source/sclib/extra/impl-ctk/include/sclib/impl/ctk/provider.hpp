#pragma once

#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "sclib/impl/ctk/monitor_manager.hpp"
#include "sclib/impl/ctk/reader.hpp"
#include "sclib/provider.hpp"
#include "velk/weak_manager.hpp"

namespace sclib::impl::ctk {

// The reader service of the card-service bridge. One per process (GetProvider); it touches the
// service only when asked.
class Provider : public sclib::Provider {
public:
    // Throw ctkwrapper::UnexpectedCtkError when the service cannot be used.
    std::vector<std::shared_ptr<sclib::Reader>> GetReaders() const override;
    std::shared_ptr<sclib::Reader> GetReaderByName(std::string const& name) const override;

    bool ProcessEvents() const override;
    std::shared_ptr<sclib::SystemMonitor> CreateSystemMonitor() const override;
    std::shared_ptr<sclib::ReaderMonitor> CreateReaderMonitor(
        std::shared_ptr<sclib::Reader> reader) const override;

    // The reader objects of these slot names, in this order: the live object of a name, or a
    // new one made for it.
    std::vector<std::shared_ptr<sclib::Reader>> MakeReadersNamed(
        std::vector<std::string> const& names) const;

    // Turns a code of the card-service bridge into the sclib exception for it, its text starting
    // with message; codes of other categories become std::system_error.
    [[noreturn]] static void ThrowException(std::error_code ec, std::string const& message);

private:
    // One reader object per name while anyone holds it: pointer equality is reader identity.
    mutable velk::WeakManager<Reader, std::string> readers_;
    mutable MonitorManager monitors_;
};

Provider& GetProvider();

}  // namespace sclib::impl::ctk
