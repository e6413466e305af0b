#include <winscard.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "card_service_diagnosis.hpp"

namespace engine::detail {

namespace {

// Ample for a daemon that is there to answer.
constexpr std::chrono::seconds AnswerWait{5};

LONG askDaemon() {
    SCARDCONTEXT context = 0;
    LONG const result = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context);
    if (result == SCARD_S_SUCCESS) {
        SCardReleaseContext(context);
    }
    return result;
}

}  // namespace

std::string describeUnavailableCardService(std::string const& bridgeText) {
    try {
        // A daemon that accepts the connection and never answers must not hold the host: the
        // question runs on a thread of its own, left to end alone when the wait gives up.
        auto question = std::make_shared<std::packaged_task<LONG()>>(askDaemon);
        auto answer = question->get_future();
        std::thread([question] { (*question)(); }).detach();
        if (answer.wait_for(AnswerWait) != std::future_status::ready) {
            return "pcscd not reachable (it does not answer): restart it with systemctl restart "
                   "pcscd";
        }
        LONG const result = answer.get();
        if (result == SCARD_S_SUCCESS) {
            return bridgeText;
        }
        return std::string("pcscd not reachable (") + pcsc_stringify_error(result) +
               "): start it with systemctl start pcscd.socket (or run pcscd as root)";
    } catch (std::exception const&) {
        return bridgeText;
    }
}

}  // namespace engine::detail
