#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace velq {

// The one thread that talks to the mouse: it runs the device jobs (device passes and flows) one
// after another, in the order they were posted, so that the window never waits for the mouse.
class DeviceThread {
public:
    DeviceThread();
    // Finish().
    ~DeviceThread();
    DeviceThread(const DeviceThread&) = delete;
    DeviceThread& operator=(const DeviceThread&) = delete;

    // Queues a job; it runs after every job posted before it. Ignored once finishing.
    void Post(std::function<void()> job);
    // Lets the running job end, drops the jobs not begun and joins the thread. Safe to call
    // again.
    void Finish();

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool finishing_ = false;
    std::thread thread_;
};

}  // namespace velq
