#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cardservice/card_service.hpp"
#include "ctkwrapper/slot_manager.hpp"

namespace ctkwrapper {

// The service's slot manager; construction fails when the process may not use the service.
class SlotManagerImpl {
public:
    SlotManagerImpl();

    std::vector<std::string> getSlotNames() const;
    KvObservable getSlotObservable() const;
    Slot slotNamed(std::string const& name) const;

private:
    std::shared_ptr<cardservice::SlotManager> const manager_;
};

}  // namespace ctkwrapper
