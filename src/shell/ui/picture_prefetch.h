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
// the window's controls while the pictures of the first page are being decoded.
class PicturePrefetch {
public:
    // `decoded`, when given, runs on the worker for each picture once all are handed out (to
    // derive something from a picture off the main thread); it must only read the picture.
    using Decoded = std::function<void(const std::string& name, const QImage& image)>;
    PicturePrefetch(const PictureSource& source, std::vector<std::string> names,
                    Decoded decoded = {});
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    // The picture when it is on the list (waiting until it is decoded; handed out once);
    // nothing for any other name.
    std::optional<QImage> Take(const std::string& name);

private:
    void Run();

    const PictureSource& source_;
    const std::vector<std::string> names_;
    const Decoded decoded_hook_;
    std::mutex mutex_;
    std::condition_variable decoded_;
    std::map<std::string, QImage> ready_;
    size_t next_ = 0;  // names_[0 .. next_) have been decoded
    std::thread worker_;
};

}  // namespace velq::ui
