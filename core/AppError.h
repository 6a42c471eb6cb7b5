// SPDX-License-Identifier: MIT
#pragma once

#include <QDir>
#include <QString>

#include <exception>
#include <string>

// The one error type of the program. It carries a number and a Japanese
// description that names the file, the line and the fault where there is one.
// Numbers follow the classic runtime-error numbering, so a user who reports
// "エラー 62" points straight at the kind of fault.
class AppError : public std::exception {
public:
    enum ErrorNumber : int {
        Overflow = 6,
        SubscriptOutOfRange = 9,
        TypeMismatch = 13,
        InternalError = 51,  // a fault of the program itself, not of its files
        FileNotFound = 53,
        PermissionDenied = 70,
        DeviceIoError = 57,
        InputPastEndOfFile = 62,
        PathFileAccessError = 75,
        BadFileContents = 1001,   // a file the program cannot read faithfully
        CharacterRefused = 1002,  // a character the problem file cannot hold
        ChangedElsewhere = 1003,  // the problem file changed behind the program's back
    };

    AppError(int number, QString description)
        : number_(number), description_(std::move(description)), utf8_(description_.toStdString()) {}

    int Number() const noexcept { return number_; }
    const QString& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    int number_;
    QString description_;
    std::string utf8_;
};

// A path as a message shows it to the user: with the system's own separators.
inline QString ShownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A refusal of the user's input: the caller shows it and carries on, unlike every
// other AppError, which ends the program.
class InputRefused : public AppError {
public:
    using AppError::AppError;
};

// The problem file changed since this program last read or wrote it (another copy
// of the program, an editor): the change asked for was not made, and the store
// holds the file as it now is. The caller shows it, shows the fresh table and
// carries on.
class ProblemFileChanged : public AppError {
public:
    using AppError::AppError;
};

// The lock file beside the problem file is something the program cannot use (a
// folder, a named pipe, a link, a file it may not read): nothing was written, and
// the user can remove it and try again, so the caller shows it and carries on.
class LockFileUnusable : public AppError {
public:
    using AppError::AppError;
};

// Another copy of the program (here or on another computer) held the lock for
// longer than a change waits: nothing was written, and a later try may succeed.
// Shown and carried on from, as LockFileUnusable is.
class LockStillHeld : public LockFileUnusable {
public:
    using LockFileUnusable::LockFileUnusable;
};

// The problem file is missing or cannot be read faithfully: a factory reset would
// put it right, which a window that loads it may offer before the program ends.
class ProblemFileUnusable : public AppError {
public:
    using AppError::AppError;
};
