#include "sclib/impl/ctk/provider.hpp"

#include "ctkwrapper/errors.hpp"
#include "ctkwrapper/slot_manager.hpp"
#include "sclib/exceptions.hpp"
#include "sclib/impl/ctk/reader_monitor.hpp"
#include "sclib/impl/ctk/system_monitor.hpp"
#include "velk/text.hpp"

namespace sclib::impl::ctk {

std::vector<std::shared_ptr<sclib::Reader>> Provider::GetReaders() const {
    return MakeReadersNamed(ctkwrapper::SlotManager::getInstance().getSlotNames());
}

std::vector<std::shared_ptr<sclib::Reader>> Provider::MakeReadersNamed(
    std::vector<std::string> const& names) const {
    std::vector<std::shared_ptr<sclib::Reader>> readers;
    readers.reserve(names.size());
    for (auto const& name : names) {
        readers.push_back(readers_.GetOrCreate(name, name));
    }
    return readers;
}

std::shared_ptr<sclib::Reader> Provider::GetReaderByName(std::string const& name) const {
    auto const wanted = velk::stringToUpper(name);
    for (auto& reader : GetReaders()) {
        if (velk::stringToUpper(reader->GetName()) == wanted) {
            return std::move(reader);
        }
    }
    return nullptr;
}

bool Provider::ProcessEvents() const {
    return monitors_.Process();
}

std::shared_ptr<sclib::SystemMonitor> Provider::CreateSystemMonitor() const {
    auto monitor = std::make_shared<SystemMonitor>();
    monitors_.Add(std::static_pointer_cast<Monitor>(monitor));
    return monitor;
}

std::shared_ptr<sclib::ReaderMonitor> Provider::CreateReaderMonitor(
    std::shared_ptr<sclib::Reader> reader) const {
    auto monitor = std::make_shared<ReaderMonitor>(std::move(reader));
    monitors_.Add(std::static_pointer_cast<Monitor>(monitor));
    return monitor;
}

void Provider::ThrowException(std::error_code ec, std::string const& message) {
    if (&ec.category() != &ctkwrapper::errorCategory) {
        throw std::system_error(ec, message);
    }
    switch (ec.value()) {
        case 7:
            throw NoSmartcardError(message + ": Token not found");
        case 3:
            throw DataCorruptedError(message + ": Corrupted data");
        case 2:
            throw SmartcardCommError(message + ": Communication error");
        default:
            throw SmartcardCommError(message + ": Unknown error: " + ec.message());
    }
}

Provider& GetProvider() {
    static Provider provider;
    return provider;
}

}  // namespace sclib::impl::ctk

namespace sclib::env {

Provider& GetDefaultProvider() {
    return impl::ctk::GetProvider();
}

}  // namespace sclib::env
