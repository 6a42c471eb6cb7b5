// SPDX-License-Identifier: MIT
#pragma once

#include "core/AppError.h"
#include "core/DataLocations.h"
#include "store/ProblemStore.h"
#include "shell/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

// An application directory holding the shipped factory pairs as the problem file.
class BenchAppDir {
public:
    BenchAppDir()
    {
        QDir(dir_.path()).mkpath(QStringLiteral("data/音"));
        QFile::copy(QStringLiteral(VELLUMARK_SOURCE_DIR "/data/問題.org"),
                    dir_.path() + QStringLiteral("/data/問題.dat"));
    }
    QString Path() const { return dir_.path(); }
    DataLocations Locations() const { return PortableDataLocations(Path()); }
    ProblemStore Store() const { return ProblemStore(Locations().problemFile, Locations().factoryFile); }

private:
    QTemporaryDir dir_;
};

// Message boxes that never stop a measurement: No to every question, errors on stderr.
class SilentDialogs final : public Dialogs {
public:
    bool AskYesNo(QWidget*, const QString&) override { return false; }
    void ShowError(QWidget*, const AppError& error) override
    {
        std::fprintf(stderr, "error %d: %s\n", error.Number(), error.what());
    }
    bool AskAfterError(QWidget*, const AppError& error, const QString&) override
    {
        ShowError(nullptr, error);
        return false;
    }
    void ShowRefusal(QWidget*, const QString&, const QString&) override {}
};
