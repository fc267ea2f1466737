#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "gui_test_rig.h"
#include "shell/ui/single_instance.h"

namespace velq::ui {
namespace {

// Runs TryAcquire in a separate process, as a second start of the program would; true when that
// process got the lock.
bool OtherProcessAcquires(const QString& path, bool leave_lock_behind = false) {
    const pid_t child = fork();
    if (child == 0) {
        auto* guard = new SingleInstanceGuard(path);
        const bool acquired = guard->TryAcquire();
        if (!leave_lock_behind) {
            delete guard;
        }
        // _exit: no destructors, so a lock left behind stays on disk like after a crash.
        _exit(acquired ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(SingleInstanceTest, SecondStartIsRefusedWhileTheFirstRuns) {
    testing::EnsureApplication();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("velq540b.lock"));
    {
        SingleInstanceGuard first(path);
        ASSERT_TRUE(first.TryAcquire());
        EXPECT_TRUE(first.TryAcquire());  // asking again in the same instance is fine
        EXPECT_FALSE(OtherProcessAcquires(path));
    }
    // The first instance ended: the next start runs.
    EXPECT_TRUE(OtherProcessAcquires(path));
}

TEST(SingleInstanceTest, LockOfACrashedInstanceIsTakenOver) {
    testing::EnsureApplication();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("velq540b.lock"));
    ASSERT_TRUE(OtherProcessAcquires(path, /*leave_lock_behind=*/true));
    ASSERT_TRUE(QFile::exists(path));
    SingleInstanceGuard next(path);
    EXPECT_TRUE(next.TryAcquire());
}

TEST(SingleInstanceTest, DefaultLockLivesInTheUserRuntimeFolder) {
    testing::EnsureApplication();
    const QString path = SingleInstanceGuard::DefaultLockPath();
    EXPECT_TRUE(path.endsWith(QStringLiteral("/velq540b.lock")));
    EXPECT_TRUE(QDir(QFileInfo(path).path()).exists());
}

}  // namespace
}  // namespace velq::ui
