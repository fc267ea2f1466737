#include "shell/ui/picture_prefetch.h"

#include <algorithm>

namespace velq::ui {

PicturePrefetch::PicturePrefetch(const PictureSource& source, std::vector<std::string> names,
                                 Decoded decoded)
    : source_(source),
      names_(std::move(names)),
      decoded_hook_(std::move(decoded)),
      worker_([this] { Run(); }) {}

PicturePrefetch::~PicturePrefetch() {
    worker_.join();
}

void PicturePrefetch::Run() {
    // The pictures are handed out as soon as each is decoded; the hook sees them afterwards,
    // through copies that share their pixels and only read them.
    std::vector<std::pair<const std::string*, QImage>> decoded;
    for (const std::string& name : names_) {
        QImage image = source_.Picture(name);
        if (decoded_hook_ && !image.isNull()) {
            decoded.emplace_back(&name, image);
        }
        std::lock_guard lock(mutex_);
        ready_[name] = std::move(image);
        ++next_;
        decoded_.notify_all();
    }
    for (const auto& [name, image] : decoded) {
        decoded_hook_(*name, image);
    }
}

std::optional<QImage> PicturePrefetch::Take(const std::string& name) {
    const auto listed = std::find(names_.begin(), names_.end(), name);
    if (listed == names_.end()) {
        return std::nullopt;
    }
    const size_t index = static_cast<size_t>(listed - names_.begin());
    std::unique_lock lock(mutex_);
    decoded_.wait(lock, [&] { return next_ > index; });
    const auto found = ready_.find(name);
    if (found == ready_.end()) {
        return std::nullopt;  // handed out already
    }
    QImage image = std::move(found->second);
    ready_.erase(found);
    return image;
}

}  // namespace velq::ui
