#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A throw-away application directory with a data folder, for tests that touch files.
class TempAppDir {
public:
    TempAppDir();
    // The application directory: no trailing separator.
    QString Path() const { return dir_.path(); }
    // suffix: e.g. "/data/問題.dat".
    void Write(const QString& suffix, const QByteArray& bytes) const;
    QByteArray Read(const QString& suffix) const;
    bool Exists(const QString& suffix) const;

private:
    QTemporaryDir dir_;
};

// UTF-8 text to code page 932 bytes, for writing test files readably.
QByteArray Cp932(const QString& text);
