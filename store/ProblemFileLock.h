// SPDX-License-Identifier: MIT
#pragma once

#include <QLockFile>
#include <QString>

#include <chrono>
#include <functional>
#include <string_view>

// The lock beside the problem file, which every copy of the program takes before
// it replaces the file, so that one copy's compare-and-replace is never
// interleaved with another's. Held from construction to destruction.
class ProblemFileLock {
public:
    // How a change waits while another copy holds the lock: pause() is called
    // between attempts and says how long it waited; the change gives up once the
    // pauses add up to `limit`.
    struct Waiting {
        std::chrono::milliseconds limit;
        std::function<std::chrono::milliseconds()> pause;
    };
    // Ten seconds, in short sleeps.
    static Waiting WaitBriefly();

    // A lock whose owner cannot be asked (a lock file left empty, another
    // machine's) counts as abandoned once this old; a live owner on this machine
    // keeps its lock however old.
    static constexpr std::chrono::seconds StaleTime{30};

    // The lock file is the problem file's name with this ending.
    static constexpr std::string_view Suffix = ".lock";
    // QLockFile's own: a stale lock is renamed to this before it is removed.
    static constexpr std::string_view RemovalSuffix = ".rmlock";

    // Throws LockFileUnusable for a lock path that is no ordinary file or cannot
    // be read, an AppError naming the system's reason when no lock can be made,
    // and an AppError when the wait runs out.
    ProblemFileLock(const QString& problemFile, const Waiting& waiting);
    ProblemFileLock(const ProblemFileLock&) = delete;
    ProblemFileLock& operator=(const ProblemFileLock&) = delete;

private:
    [[noreturn]] void ThrowCannotLock(const QString& problemFile);

    QLockFile lock_;
};
