// SPDX-License-Identifier: MIT
#include "tests/support/TempDir.h"

#include "store/CodePage932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

TempAppDir::TempAppDir()
{
    if (!dir_.isValid() || !QDir(dir_.path()).mkpath(QStringLiteral("data/音")))
        throw std::runtime_error("cannot make a temporary application directory");
}

void TempAppDir::Write(const QString& suffix, const QByteArray& bytes) const
{
    QFile file(Path() + suffix);
    QDir().mkpath(QFileInfo(file).path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write a test file");
}

QByteArray TempAppDir::Read(const QString& suffix) const
{
    QFile file(Path() + suffix);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read a test file");
    return file.readAll();
}

bool TempAppDir::Exists(const QString& suffix) const
{
    return QFileInfo::exists(Path() + suffix);
}

QByteArray FileOf(const QStringList& items)
{
    QByteArray bytes = " " + QByteArray::number(items.size() / 2) + " \r\n";
    for (const QString& item : items)
        bytes += Cp932(item) + "\r\n";
    return bytes;
}

QString ManyPairs(int count)
{
    QString pairs;
    for (int k = 0; k < count; ++k)
        pairs.append(QChar(char16_t(u'ぁ' + k))).append(QChar(char16_t(u'ァ' + k)));
    return pairs;
}

QByteArray Cp932(const QString& text)
{
    // The store's own converter: Qt has no Shift_JIS without ICU on Windows.
    std::optional<QByteArray> bytes = EncodeCp932(text);
    if (!bytes)
        throw std::runtime_error("test text outside code page 932");
    return *bytes;
}
