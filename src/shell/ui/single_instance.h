#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace velq::ui {

// Keeps one instance of the program per user: the first start holds a lock file in the user's
// runtime folder until it ends; a second start finds the lock held and ends without a window.
// A lock left behind by a crashed instance is taken over (its process no longer exists).
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const QString& lock_path);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // True when this process now holds the lock (or already held it).
    [[nodiscard]] bool TryAcquire();

    // "velq540b.lock" in the user's runtime folder (a temporary folder when there is none).
    static QString DefaultLockPath();

private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace velq::ui
