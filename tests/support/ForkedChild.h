// SPDX-License-Identifier: MIT
#pragma once

#include <QLockFile>
#include <QString>

#include <functional>
#include <optional>

#include <sys/types.h>
#include <unistd.h>

// A child that runs as a user whom permissions bind, even when the tests run as
// root (then it is nobody, and `owning` and all in it become its own).
struct OrdinaryUser {
    QString owning;
};

// A part of a test run in a process of its own: another copy of the program, or
// an ordinary user. A failure or an exception in the child fails the test with
// the child's message; the child ends without running the parent's destructors.
class ForkedChild {
public:
    explicit ForkedChild(const std::function<void(ForkedChild&)>& body, const std::optional<OrdinaryUser>& as = {});
    ~ForkedChild() { Join(); }
    ForkedChild(const ForkedChild&) = delete;
    ForkedChild& operator=(const ForkedChild&) = delete;

    // Steps in time with the other process: Tell sends one; Hear waits for one and
    // returns it, or 0 once the other has stopped telling.
    void Tell(char step = '.');
    char Hear();
    // Waits for the child to end; a child waiting to Hear hears 0.
    void Join();
    // The child's process number, until it is joined.
    pid_t Process() const { return child_; }

private:
    pid_t child_ = -1;
    int hear_ = -1, tell_ = -1, report_ = -1;
};

// Another copy of the program holding the lock `lockPath` (it says 'L') until it
// is joined, or told 'c' to die holding it, leaving the lock file.
struct CopyHoldingTheLock : ForkedChild {
    explicit CopyHoldingTheLock(const QString& lockPath)
        : ForkedChild([lockPath](ForkedChild& parent) {
              QLockFile lock(lockPath);
              parent.Tell(lock.tryLock(0) ? 'L' : 'F');
              if (parent.Hear() == 'c')
                  _exit(0);
          })
    {
    }
};
