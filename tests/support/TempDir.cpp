// SPDX-License-Identifier: MIT
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <stdexcept>
#include <string>

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
    // Written out here, so that a fault in the program's encoder cannot make the
    // fixture and the expectation wrong alike. Code page 932 keeps ASCII as it is.
    static const std::map<char16_t, QByteArray> kanji = {
        {u'口', "\x8c\xfb"}, {u'土', "\x93\x79"}, {u'士', "\x8e\x6d"}, {u'日', "\x93\xfa"}, {u'曰', "\x9e\x48"},
        {u'未', "\x96\xa2"}, {u'末', "\x96\x96"}, {u'烏', "\x89\x47"}, {u'鳥', "\x92\xb9"}, {u'月', "\x8c\x8e"},
        {u'用', "\x97\x70"},
    };
    QByteArray bytes;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\r' || u == u'\n' || (u >= 0x20 && u < 0x7f)) {
            bytes += char(u);
        } else if (u >= u'ぁ' && u <= u'ん') {
            bytes.append('\x82').append(char(0x9f + (u - u'ぁ')));
        } else if (u >= u'ァ' && u <= u'ヶ') {
            const int index = u - u'ァ';  // the trail byte skips 0x7f
            bytes.append('\x83').append(char(0x40 + index + (index >= 0x3f ? 1 : 0)));
        } else if (const auto it = kanji.find(u); it != kanji.end()) {
            bytes += it->second;
        } else {
            throw std::runtime_error("no code page 932 bytes written down in the tests for U+"
                                     + QString::number(u, 16).toUpper().toStdString());
        }
    }
    return bytes;
}
