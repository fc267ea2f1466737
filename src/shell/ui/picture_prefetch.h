#pragma once

#include <QImage>

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "shell/ui/picture_source.h"

namespace velq::ui {

// Decodes a list of pictures on a worker thread, in the order given, so that start-up creates
// the window's controls while the pictures of the first page are being decoded. A thread that
// asks for a picture not decoded yet does not sit idle: it decodes that picture itself when the
// worker has not started on it, or else the next one still waiting, until its own is ready.
class PicturePrefetch {
public:
    // `decoded`, when given, runs on the worker for each picture once all are decoded, whoever
    // decoded them (to derive something from a picture off the main thread); it must only read
    // the picture.
    using Decoded = std::function<void(const std::string& name, const QImage& image)>;
    PicturePrefetch(const PictureSource& source, std::vector<std::string> names,
                    Decoded decoded = {});
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    // The picture when it is on the list (handed out once); nothing for any other name.
    std::optional<QImage> Take(const std::string& name);

private:
    enum class State { kWaiting, kDecoding, kDecoded, kTaken };

    void Run();
    // The first picture no thread has started on; names_.size() when there is none.
    size_t NextWaiting() const;
    // Decodes picture `index`, which the caller has marked kDecoding; the lock is released
    // meanwhile and held again on return.
    void Decode(size_t index, std::unique_lock<std::mutex>& lock);

    const PictureSource& source_;
    const std::vector<std::string> names_;
    const Decoded decoded_hook_;
    std::mutex mutex_;
    std::condition_variable decoded_;
    std::vector<State> states_;
    std::vector<QImage> images_;       // decoded and not yet handed out
    std::vector<QImage> hook_images_;  // what the hook sees: copies sharing the pixels
    std::thread worker_;
};

}  // namespace velq::ui
