#include "flows/device_thread.h"

#include <utility>

namespace velq {

DeviceThread::DeviceThread() : thread_([this] { Run(); }) {}

DeviceThread::~DeviceThread() {
    Finish();
}

void DeviceThread::Post(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        if (finishing_) {
            return;
        }
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void DeviceThread::Finish() {
    {
        std::lock_guard lock(mutex_);
        finishing_ = true;
        jobs_.clear();
    }
    wake_.notify_one();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void DeviceThread::Run() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return finishing_ || !jobs_.empty(); });
            if (finishing_) {
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}

}  // namespace velq
