#include "flows/device_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace velq {
namespace {

TEST(DeviceThread, RunsJobsInOrderAwayFromTheCaller) {
    std::mutex mutex;
    std::vector<int> ran;
    std::vector<std::thread::id> threads;
    std::promise<void> done;
    {
        DeviceThread device;
        for (int i = 0; i < 20; ++i) {
            device.Post([&, i] {
                std::lock_guard lock(mutex);
                ran.push_back(i);
                threads.push_back(std::this_thread::get_id());
            });
        }
        device.Post([&] { done.set_value(); });
        ASSERT_EQ(done.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    }
    std::lock_guard lock(mutex);
    ASSERT_EQ(ran.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(ran[static_cast<size_t>(i)], i);
        EXPECT_EQ(threads[static_cast<size_t>(i)], threads[0]);
    }
    EXPECT_NE(threads[0], std::this_thread::get_id());
}

// Finishing lets the running job end, drops the jobs not begun and ignores later ones.
TEST(DeviceThread, FinishLetsTheRunningJobEndAndDropsTheRest) {
    std::atomic<bool> release{false};
    std::atomic<int> ran{0};
    std::promise<void> started;
    DeviceThread device;
    device.Post([&] {
        started.set_value();
        while (!release.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ++ran;
    });
    device.Post([&] { ran += 10; });
    ASSERT_EQ(started.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        release.store(true);
    });
    device.Finish();
    releaser.join();
    EXPECT_EQ(ran.load(), 1);
    device.Post([&] { ran += 100; });
    device.Finish();
    EXPECT_EQ(ran.load(), 1);
}

}  // namespace
}  // namespace velq
