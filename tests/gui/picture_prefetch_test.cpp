#include <gtest/gtest.h>

#include <QImage>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "shell/ui/picture_prefetch.h"
#include "shell/ui/picture_source.h"

namespace velq::ui {
namespace {

// Pictures one pixel high whose width tells them apart. Decoding `held` waits until the test
// lets it go, so the test can catch the worker in the middle of a picture. The source notes
// which thread decoded each picture.
class HeldPictures final : public PictureSource {
public:
    explicit HeldPictures(std::string held = {}) : held_(std::move(held)) {}

    QImage Picture(std::string_view name) const override {
        std::unique_lock lock(mutex_);
        if (name == held_) {
            started_held_ = true;
            changed_.notify_all();
            // Let go after a while in any case: a prefetch that waits for the worker instead of
            // decoding fails the test rather than hanging it.
            changed_.wait_for(lock, std::chrono::seconds(5), [this] { return released_; });
        }
        decoded_by_[std::string(name)].push_back(std::this_thread::get_id());
        changed_.notify_all();
        if (name == "Missing") {
            return {};
        }
        QImage image(static_cast<int>(name.size()), 1, QImage::Format_RGB32);
        image.fill(qRgb(static_cast<int>(name.front()), 0, 0));
        return image;
    }
    bool DecodesOnAnyThread() const override { return true; }

    void WaitUntilHeldStarted() const {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return started_held_; });
    }
    void Release() const {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    std::map<std::string, std::vector<std::thread::id>> DecodedBy() const {
        std::lock_guard lock(mutex_);
        return decoded_by_;
    }

private:
    const std::string held_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable bool started_held_ = false;
    mutable bool released_ = false;
    mutable std::map<std::string, std::vector<std::thread::id>> decoded_by_;
};

// What the hook saw: each picture's name and width, and the threads it ran on.
struct HookRecord {
    std::mutex mutex;
    std::map<std::string, int> widths;
    std::set<std::thread::id> threads;

    PicturePrefetch::Decoded Hook() {
        return [this](const std::string& name, const QImage& image) {
            std::lock_guard lock(mutex);
            EXPECT_TRUE(widths.emplace(name, image.width()).second) << name << " seen twice";
            threads.insert(std::this_thread::get_id());
        };
    }
};

TEST(PicturePrefetchTest, HandsOutEachListedPictureOnceAndShowsTheHookEveryOne) {
    const HeldPictures source;
    HookRecord hook;
    {
        PicturePrefetch prefetch(source, {"Alpha", "Bo", "Missing", "Cee"}, hook.Hook());
        const std::optional<QImage> bo = prefetch.Take("Bo");
        ASSERT_TRUE(bo.has_value());
        EXPECT_EQ(bo->width(), 2);
        EXPECT_EQ(bo->pixel(0, 0), qRgb('B', 0, 0));
        EXPECT_FALSE(prefetch.Take("Bo").has_value());  // handed out already
        EXPECT_FALSE(prefetch.Take("NotListed").has_value());
        // A picture the source lacks comes out null, for the caller to report.
        const std::optional<QImage> missing = prefetch.Take("Missing");
        ASSERT_TRUE(missing.has_value());
        EXPECT_TRUE(missing->isNull());
        ASSERT_TRUE(prefetch.Take("Alpha").has_value());
    }  // "Cee" is never asked for: the worker still decodes it and the hook still sees it
    EXPECT_EQ(hook.widths, (std::map<std::string, int>{{"Alpha", 5}, {"Bo", 2}, {"Cee", 3}}));
    for (const auto& [name, threads] : source.DecodedBy()) {
        EXPECT_EQ(threads.size(), 1U) << name << " decoded more than once";
    }
    ASSERT_EQ(hook.threads.size(), 1U);
    EXPECT_NE(*hook.threads.begin(), std::this_thread::get_id());  // the hook runs on the worker
}

// While the worker is busy with one picture, a caller asking for a later one decodes it itself
// instead of waiting behind the worker.
TEST(PicturePrefetchTest, ACallerDecodesAPictureTheWorkerHasNotStarted) {
    const HeldPictures source("Alpha");
    HookRecord hook;
    {
        PicturePrefetch prefetch(source, {"Alpha", "Bo", "Cee"}, hook.Hook());
        source.WaitUntilHeldStarted();
        const std::optional<QImage> cee = prefetch.Take("Cee");  // "Alpha" is still held
        ASSERT_TRUE(cee.has_value());
        EXPECT_EQ(cee->width(), 3);
        EXPECT_EQ(source.DecodedBy().at("Cee").front(), std::this_thread::get_id());
        source.Release();
        ASSERT_TRUE(prefetch.Take("Alpha").has_value());
        ASSERT_TRUE(prefetch.Take("Bo").has_value());
    }
    const auto decoded_by = source.DecodedBy();
    EXPECT_NE(decoded_by.at("Alpha").front(), std::this_thread::get_id());
    // The hook still sees the picture the caller decoded.
    EXPECT_EQ(hook.widths, (std::map<std::string, int>{{"Alpha", 5}, {"Bo", 2}, {"Cee", 3}}));
}

// A caller whose picture the worker is decoding works through the pictures still waiting, and
// finds them ready later.
TEST(PicturePrefetchTest, ACallerWaitingForTheWorkerDecodesTheRestMeanwhile) {
    const HeldPictures source("Alpha");
    std::optional<QImage> alpha;
    {
        PicturePrefetch prefetch(source, {"Alpha", "Bo", "Cee"});
        source.WaitUntilHeldStarted();
        // The worker holds "Alpha" until the caller has decoded both others.
        std::thread releaser([&source] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (std::chrono::steady_clock::now() < deadline) {
                const auto decoded_by = source.DecodedBy();
                if (decoded_by.contains("Bo") && decoded_by.contains("Cee")) {
                    break;
                }
                std::this_thread::yield();
            }
            source.Release();
        });
        alpha = prefetch.Take("Alpha");
        releaser.join();
        EXPECT_EQ(prefetch.Take("Bo")->width(), 2);
        EXPECT_EQ(prefetch.Take("Cee")->width(), 3);
    }
    ASSERT_TRUE(alpha.has_value());
    EXPECT_EQ(alpha->width(), 5);
    const auto decoded_by = source.DecodedBy();
    EXPECT_EQ(decoded_by.at("Bo"), std::vector<std::thread::id>{std::this_thread::get_id()});
    EXPECT_EQ(decoded_by.at("Cee"), std::vector<std::thread::id>{std::this_thread::get_id()});
    EXPECT_NE(decoded_by.at("Alpha").front(), std::this_thread::get_id());
}

}  // namespace
}  // namespace velq::ui
