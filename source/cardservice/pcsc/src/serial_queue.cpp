#include "serial_queue.hpp"

#include <exception>
#include <utility>

#include "velk/log_writing_stream.hpp"
#include "velk/path.hpp"

namespace cardservice::impl::pcsc {

SerialQueue::SerialQueue() : jobs_(std::make_shared<Jobs>()), thread_(&SerialQueue::run_, jobs_) {}

SerialQueue::~SerialQueue() {
    std::unique_lock<std::mutex> lock(jobs_->mutex);
    jobs_->closing = true;
    jobs_->changed.notify_all();
    // A job that dropped the last owner runs on the thread itself, which cannot join itself.
    bool const finished =
        thread_.get_id() != std::this_thread::get_id() &&
        jobs_->changed.wait_for(lock, ShutdownWait, [this] { return jobs_->finished; });
    lock.unlock();
    if (finished) {
        thread_.join();
    } else {
        thread_.detach();
    }
}

void SerialQueue::post(std::function<void()> job) {
    std::lock_guard<std::mutex> lock(jobs_->mutex);
    jobs_->queued.push_back(std::move(job));
    jobs_->changed.notify_all();
}

void SerialQueue::run_(std::shared_ptr<Jobs> jobs) {
    std::unique_lock<std::mutex> lock(jobs->mutex);
    for (;;) {
        jobs->changed.wait(lock, [&] { return jobs->closing || !jobs->queued.empty(); });
        if (jobs->queued.empty()) {
            jobs->finished = true;
            jobs->changed.notify_all();
            return;
        }
        std::function<void()> job = std::move(jobs->queued.front());
        jobs->queued.pop_front();
        lock.unlock();
        try {
            job();
        } catch (std::exception const& e) {
            velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Error,
                                   velk::GetFileName(__FILE__), __LINE__)
                << "PC/SC job failed: " << e.what() << std::endl;
        } catch (...) {
            velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Error,
                                   velk::GetFileName(__FILE__), __LINE__)
                << "PC/SC job failed" << std::endl;
        }
        // The job's captures (replies, byte copies) go before the lock is taken again.
        job = nullptr;
        lock.lock();
    }
}

}  // namespace cardservice::impl::pcsc
