// SPDX-License-Identifier: MIT
#pragma once

#include "core/AppError.h"
#include "core/DataLocations.h"
#include "store/ProblemStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

// A throw-away application directory with a data folder, for tests that touch files.
class TempAppDir {
public:
    TempAppDir();
    // The application directory: no trailing separator.
    QString Path() const { return dir_.path(); }
    // suffix: e.g. "/data/問題.dat"; Write makes the folders on the way.
    void Write(const QString& suffix, const QByteArray& bytes) const;
    QByteArray Read(const QString& suffix) const;
    bool Exists(const QString& suffix) const;
    // The program's files in this folder, laid out as beside the executable.
    DataLocations Locations() const { return PortableDataLocations(Path()); }

private:
    QTemporaryDir dir_;
};

// A store on the problem file of dir.
inline ProblemStore StoreIn(const TempAppDir& dir)
{
    return ProblemStore(dir.Locations().problemFile, dir.Locations().factoryFile);
}

// Text to code page 932 bytes, for writing test files readably: ASCII, hiragana,
// katakana and the few kanji the tests use (a test error for any other).
QByteArray Cp932(const QString& text);

// The problem file the program writes for these items, two a pair, spelled out
// independently of the writer (items that need no quotes only).
QByteArray FileOf(const QStringList& items);
// The same for pairs given as a string of two characters a pair.
inline QByteArray FileOfPairs(const QString& pairs) { return FileOf(pairs.split(QString(), Qt::SkipEmptyParts)); }
// `count` distinct pairs: a hiragana and the katakana beside it each.
QString ManyPairs(int count);

// The error `op` throws; a test failure when it throws nothing or something else.
template <typename Error = AppError>
Error ErrorOf(const std::function<void()>& op)
{
    try {
        op();
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        return error;
    } catch (const std::exception& other) {
        ADD_FAILURE() << "another kind of error: " << other.what();
    }
    return Error(0, QString());
}
