#pragma once

#include <QLockFile>
#include <QString>

// The lock that lets one copy of the program run at a time: the file "EX_Mutex" in the
// user's runtime folder. A lock left behind by a copy that was killed is taken over.
class InstanceLock {
public:
    // `folder` empty: the user's runtime folder.
    explicit InstanceLock(const QString& folder = QString());

    // Takes the lock without waiting; false while another copy holds it.
    bool TryAcquire();

    static QString DefaultFolder();

private:
    QLockFile lock_;
};
