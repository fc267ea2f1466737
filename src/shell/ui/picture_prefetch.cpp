#include "shell/ui/picture_prefetch.h"

#include <algorithm>

namespace velq::ui {

PicturePrefetch::PicturePrefetch(const PictureSource& source, std::vector<std::string> names,
                                 Decoded decoded)
    : source_(source),
      names_(std::move(names)),
      decoded_hook_(std::move(decoded)),
      states_(names_.size(), State::kWaiting),
      images_(names_.size()),
      hook_images_(names_.size()),
      worker_([this] { Run(); }) {}

PicturePrefetch::~PicturePrefetch() {
    worker_.join();
}

size_t PicturePrefetch::NextWaiting() const {
    const auto waiting = std::find(states_.begin(), states_.end(), State::kWaiting);
    return static_cast<size_t>(waiting - states_.begin());
}

void PicturePrefetch::Decode(size_t index, std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    QImage image = source_.Picture(names_[index]);
    lock.lock();
    if (decoded_hook_ && !image.isNull()) {
        hook_images_[index] = image;
    }
    images_[index] = std::move(image);
    states_[index] = State::kDecoded;
    decoded_.notify_all();
}

void PicturePrefetch::Run() {
    std::unique_lock lock(mutex_);
    for (size_t index = NextWaiting(); index < names_.size(); index = NextWaiting()) {
        states_[index] = State::kDecoding;
        Decode(index, lock);
    }
    if (!decoded_hook_) {
        return;
    }
    // A picture another thread is decoding still belongs to the hook's round.
    decoded_.wait(lock, [this] {
        return std::none_of(states_.begin(), states_.end(),
                            [](State state) { return state == State::kDecoding; });
    });
    std::vector<QImage> images;
    images.swap(hook_images_);
    lock.unlock();
    for (size_t index = 0; index < names_.size(); ++index) {
        if (!images[index].isNull()) {
            decoded_hook_(names_[index], images[index]);
        }
    }
}

std::optional<QImage> PicturePrefetch::Take(const std::string& name) {
    const auto listed = std::find(names_.begin(), names_.end(), name);
    if (listed == names_.end()) {
        return std::nullopt;
    }
    const size_t wanted = static_cast<size_t>(listed - names_.begin());
    std::unique_lock lock(mutex_);
    while (states_[wanted] == State::kWaiting || states_[wanted] == State::kDecoding) {
        // Rather than wait for the worker, decode: the wanted picture when nobody has started
        // on it, else the next one waiting (its owner will find it ready).
        const size_t job = states_[wanted] == State::kWaiting ? wanted : NextWaiting();
        if (job == names_.size()) {
            decoded_.wait(lock);
            continue;
        }
        states_[job] = State::kDecoding;
        Decode(job, lock);
    }
    if (states_[wanted] == State::kTaken) {
        return std::nullopt;  // handed out already
    }
    states_[wanted] = State::kTaken;
    return std::move(images_[wanted]);
}

}  // namespace velq::ui
