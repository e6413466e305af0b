#pragma once

#include <utility>
#include <vector>

#include "teappletlib/interchange/auth_object_id.hpp"

namespace teappletlib::interchange {

// Satisfied when every listed PIN object is verified.
using AclAnd = std::vector<AuthObjectId>;

// Satisfied when any of its AND-lists is. Order matters in comparisons: rules are not normalised.
using AclOr = std::vector<AclAnd>;

// An access rule as the applet evaluates it; the library only builds, compares and encodes it.
class Acl {
public:
    Acl() = default;
    explicit Acl(AclOr rule) : rule_(std::move(rule)) {}

    AclOr const& getRule() const noexcept { return rule_; }

    // The empty rule: no AND-lists.
    static Acl const Anybody;

private:
    AclOr rule_;
};

inline bool operator==(Acl const& a, Acl const& b) {
    return a.getRule() == b.getRule();
}
inline bool operator!=(Acl const& a, Acl const& b) {
    return !(a == b);
}

}  // namespace teappletlib::interchange
