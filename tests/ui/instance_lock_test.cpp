#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QFile>
#include <QTemporaryDir>

#include "ui/single_instance.h"

// One holder at a time; the lock is free again once its holder lets go.
TEST(InstanceLock, OneHolderAtATime) {
    QTemporaryDir dir;
    {
        InstanceLock first(dir.path());
        ASSERT_TRUE(first.TryAcquire());
        InstanceLock second(dir.path());
        EXPECT_FALSE(second.TryAcquire());
    }
    InstanceLock later(dir.path());
    EXPECT_TRUE(later.TryAcquire());
}

// A holder that dies without letting go does not block the next start.
TEST(InstanceLock, LockOfAKilledHolderIsTakenOver) {
    QTemporaryDir dir;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto* lock = new InstanceLock(dir.path());
        _exit(lock->TryAcquire() ? 0 : 1);  // ends without releasing the lock
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("EX_Mutex")));
    InstanceLock next(dir.path());
    EXPECT_TRUE(next.TryAcquire());
}
