#include "velk/local_time.hpp"

#include <cerrno>

namespace {

template <class Breakdown>
int breakDown(Breakdown breakdown, std::tm* result, std::time_t const* time) {
    if (result == nullptr || time == nullptr) {
        return EINVAL;
    }
    std::tm out{};
    errno = 0;
    if (breakdown(time, &out) == nullptr) {
        return errno != 0 ? errno : EOVERFLOW;
    }
    *result = out;
    return 0;
}

}  // namespace

int localtime_s(std::tm* result, std::time_t const* time) {
    return breakDown(::localtime_r, result, time);
}

int gmtime_s(std::tm* result, std::time_t const* time) {
    return breakDown(::gmtime_r, result, time);
}
