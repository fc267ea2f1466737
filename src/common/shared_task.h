#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace velq {

// A piece of work started on a worker thread that the thread needing its result may do itself:
// when Take() finds that the worker has not begun (it has not been given a core yet, or the
// machine is busy with other start-up work), the caller runs the work at once rather than
// wait for the worker to get round to it. Either way the work runs exactly once.
template <typename T>
class SharedTask {
public:
    // `before_start` runs on the worker before it looks for the work (tests use it to hold the
    // worker back).
    explicit SharedTask(std::function<T()> work, std::function<void()> before_start = {})
        : work_(std::move(work)) {
        worker_ = std::thread([this, before_start = std::move(before_start)] {
            if (before_start) {
                before_start();
            }
            RunIfWaiting(true);
        });
    }
    ~SharedTask() { worker_.join(); }

    SharedTask(const SharedTask&) = delete;
    SharedTask& operator=(const SharedTask&) = delete;

    // The result; runs the work on this thread when the worker has not started it. Once only.
    T Take() {
        RunIfWaiting(false);
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return state_ == State::kDone; });
        return std::move(*result_);
    }

    // Whether the worker thread did the work; false until someone has started it.
    bool RanOnWorker() {
        std::lock_guard lock(mutex_);
        return ran_on_worker_;
    }

private:
    enum class State { kWaiting, kRunning, kDone };

    void RunIfWaiting(bool on_worker) {
        {
            std::lock_guard lock(mutex_);
            if (state_ != State::kWaiting) {
                return;
            }
            state_ = State::kRunning;
            ran_on_worker_ = on_worker;
        }
        T result = work_();
        std::lock_guard lock(mutex_);
        result_.emplace(std::move(result));
        state_ = State::kDone;
        done_.notify_all();
    }

    std::function<T()> work_;
    std::mutex mutex_;
    std::condition_variable done_;
    State state_ = State::kWaiting;
    bool ran_on_worker_ = false;
    std::optional<T> result_;
    std::thread worker_;  // last: it starts once everything above is in place
};

}  // namespace velq
