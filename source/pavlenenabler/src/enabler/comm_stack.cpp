#include "pavlenenabler/enabler/comm_stack.hpp"

#include <ostream>

#include "cardlayer/rawtransmission/logger_provider.hpp"
#include "cardlayer/transmission/encoder_provider.hpp"
#include "cardlayer/transmission/timer_provider.hpp"
#include "iso7816/interchange/exceptions.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/command_provider.hpp"
#include "teappletlib/interchange/cmd/tessaro_aid.hpp"
#include "velk/exceptions.hpp"
#include "velk/log_writing_stream.hpp"
#include "velk/path.hpp"

namespace pavlenenabler::enabler {

using iso7816::interchange::ChannelId;

CommStack::CommStack(std::unique_ptr<sclib::Smartcard> smartcard, LatencyCallback latencyCallback)
    : BasicChannelNotifier([this](ChannelId channel) { onUsingBasicChannel_(channel); }),
      ChangedChannelNotifier([this](ChannelId channel) { onUsingChangedChannel_(channel); }),
      smartcard_(std::move(smartcard)),
      latencyCallback_(std::move(latencyCallback)) {
    channelObservers_.add(static_cast<BasicChannelNotifier&>(*this));
    channelObservers_.add(static_cast<ChangedChannelNotifier&>(*this));
}

CommStack::~CommStack() = default;

void CommStack::perform(Operation const& operation) {
    std::lock_guard<std::mutex> lock(mutex_);
    try {
        smartcard_->transaction(
            [this, &operation](cardlayer::smartcard::SmartcardProvider& provider, bool wasReset) {
                transact_(provider, wasReset, operation);
            });
    } catch (iso7816::interchange::LogicalChannelsNotSupported const&) {
        // The card no longer knows the kept channel (reset behind our back).
        forgetClosedChannel_();
        throw;
    } catch (velk::CommunicationError const&) {
        // Where the applet stands after a failed exchange is unknown, but the channel is still
        // ours: forgetting it would leave it open on the card, with the PIN verified on it.
        dropSelection_();
        throw;
    } catch (velk::secure_elt_err::ResponseError const&) {
        dropSelection_();
        throw;
    } catch (velk::secure_elt_err::PreconditionError const&) {
        // The applet is no longer selected on the channel.
        dropSelection_();
        throw;
    }
}

boost::optional<ChannelId> CommStack::getChannelId() const {
    std::lock_guard<std::mutex> lock(channelIdMutex_);
    return channelId_;
}

void CommStack::transact_(cardlayer::smartcard::SmartcardProvider& provider, bool wasReset,
                          Operation const& operation) {
    if (wasReset) {
        velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Warning,
                               velk::GetFileName(__FILE__), __LINE__)
            << "Smartcard was reset" << std::endl;
        forgetClosedChannel_();
    }
    // Bottom up; each layer refers to the one below and all are gone when the operation returns.
    cardlayer::rawtransmission::LoggerProvider raw(provider.getCardIo());
    cardlayer::transmission::EncoderProvider encoder(raw);
    cardlayer::transmission::TimerProvider<std::chrono::milliseconds> timer(encoder,
                                                                            latencyCallback_);
    cardlayer::transmission::AutoChannelProvider channel(timer, channel_.storage(),
                                                         channelObservers_);
    teappletlib::cardlayer::TessaroSelectorProvider selector(
        channel, selector_.storage(), teappletlib::interchange::cmd::TessaroAid);
    teappletlib::interchange::cmd::impl::apdu::CommandProvider commands(selector);
    operation(commands);
}

void CommStack::onUsingBasicChannel_(ChannelId channel) {
    setChannelId_(channel);
    // Others share the basic channel and may select another applet between our transactions.
    dropSelection_();
}

void CommStack::onUsingChangedChannel_(ChannelId channel) {
    setChannelId_(channel);
}

void CommStack::dropSelection_() {
    selector_.forget();
}

void CommStack::forgetClosedChannel_() {
    dropSelection_();
    channel_.forget();
}

void CommStack::setChannelId_(ChannelId channel) {
    std::lock_guard<std::mutex> lock(channelIdMutex_);
    channelId_ = channel;
}

}  // namespace pavlenenabler::enabler
