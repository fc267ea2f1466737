#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "common/shared_task.h"

namespace velq {
namespace {

// Whoever gets there first, the work runs once and its result comes out once, also when the
// caller asks at once and the two threads race for it.
TEST(SharedTask, RunsOnceWhoeverStartsIt) {
    for (int round = 0; round < 300; ++round) {
        std::atomic<int> runs{0};
        {
            SharedTask<std::unique_ptr<std::string>> task([&runs] {
                ++runs;
                return std::make_unique<std::string>("plan");
            });
            if (round % 3 == 0) {
                std::this_thread::yield();
            }
            const std::unique_ptr<std::string> result = task.Take();
            ASSERT_NE(result, nullptr);
            EXPECT_EQ(*result, "plan");
        }
        EXPECT_EQ(runs.load(), 1) << "round " << round;
    }
}

// A worker that has not begun leaves the work to the caller, which does not wait for it; the
// worker, when it comes, finds the work done and does nothing.
TEST(SharedTask, CallerDoesTheWorkTheWorkerHasNotBegun) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> runs{0};
    std::thread::id ran_on;
    {
        SharedTask<int> task(
            [&] {
                ++runs;
                ran_on = std::this_thread::get_id();
                return 42;
            },
            [released] { released.wait(); });
        EXPECT_EQ(task.Take(), 42);  // would hang if it waited for the held worker
        EXPECT_FALSE(task.RanOnWorker());
        EXPECT_EQ(ran_on, std::this_thread::get_id());
        release.set_value();
    }
    EXPECT_EQ(runs.load(), 1);
}

// A worker already at work is waited for rather than doubled.
TEST(SharedTask, CallerWaitsForTheWorkerAtWork) {
    std::promise<void> started;
    std::promise<void> finish;
    std::shared_future<void> may_finish = finish.get_future().share();
    std::atomic<int> runs{0};
    SharedTask<int> task([&] {
        ++runs;
        started.set_value();
        may_finish.wait();
        return 7;
    });
    started.get_future().wait();
    std::future<int> taken = std::async(std::launch::async, [&task] { return task.Take(); });
    EXPECT_EQ(taken.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
    finish.set_value();
    EXPECT_EQ(taken.get(), 7);
    EXPECT_TRUE(task.RanOnWorker());
    EXPECT_EQ(runs.load(), 1);
}

}  // namespace
}  // namespace velq
