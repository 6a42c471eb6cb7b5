// SPDX-License-Identifier: MIT
#include "store/CodePage932.h"

#include <QStringEncoder>

#include <algorithm>
#include <climits>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

#ifdef Q_OS_WIN

// Windows' own code page 932, with the strict flags: invalid bytes and characters
// outside the code page are errors, never best-fit or default substitutes.
constexpr UINT CodePage = 932;

bool Cp932Available()
{
    return IsValidCodePage(CodePage);
}

std::optional<QString> PlatformDecode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    if (bytes.size() > INT_MAX)
        return std::nullopt;
    // A lead byte cut off at the end is an error, as it is for Qt's converter.
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (IsDBCSLeadByteEx(CodePage, static_cast<BYTE>(bytes[i])) && ++i == bytes.size())
            return std::nullopt;
    const int length = static_cast<int>(bytes.size());
    const int wide = MultiByteToWideChar(CodePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (wide <= 0)
        return std::nullopt;
    QString text(wide, Qt::Uninitialized);
    if (MultiByteToWideChar(CodePage, MB_ERR_INVALID_CHARS, bytes.data(), length,
                            reinterpret_cast<wchar_t*>(text.data()), wide) != wide)
        return std::nullopt;
    return text;
}

std::optional<QByteArray> PlatformEncode(const QString& text)
{
    if (text.isEmpty())
        return QByteArray();
    if (text.size() > INT_MAX / 2)
        return std::nullopt;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = static_cast<int>(text.size());
    // Code page 932 takes no WC_ERR_INVALID_CHARS: a character it cannot hold shows
    // as the default character having been used.
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(CodePage, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    if (WideCharToMultiByte(CodePage, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, nullptr, &usedDefault) != size
        || usedDefault)
        return std::nullopt;
    return bytes;
}

#else

constexpr const char* CodecName = "Shift_JIS";

bool Cp932Available()
{
    return QStringDecoder(CodecName).isValid() && QStringEncoder(CodecName).isValid();
}

std::optional<QByteArray> PlatformEncode(const QString& text)
{
    // A fresh encoder each time: its error flag never clears, and a refused
    // character would otherwise be written as FC FC.
    QStringEncoder encoder(CodecName);
    QByteArray bytes = encoder.encode(text);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes;
}

#endif

// Where Windows' table and Qt's on Linux part ways, both refuse: Qt swaps the
// controls 1A, 1C and 7F as IBM's table does; Windows alone maps 80, A0 and FD-FF
// (to U+0080 and U+F8F0-U+F8F3).
bool DecodedAlikeEverywhere(const QString& text)
{
    return std::none_of(text.cbegin(), text.cend(), [](QChar character) {
        const char16_t unit = character.unicode();
        return unit == 0x1A || unit == 0x1C || unit == 0x7F || unit == 0x80 || (unit >= 0xF8F0 && unit <= 0xF8F3);
    });
}

} // namespace

std::optional<QString> WhyNoCp932Converter()
{
    if (Cp932Available())
        return std::nullopt;
    return QStringLiteral("この環境には、問題ファイルの文字コード (Shift_JIS、コードページ 932) の変換機能がありません。"
                          "問題ファイルを読み書きできないため、プログラムを終わります。");
}

Cp932Decoder::Cp932Decoder()
{
#ifndef Q_OS_WIN
    // Stateless: otherwise a lead byte cut off at the end is dropped without an
    // error, or carried over into the next piece.
    decoder_.emplace(CodecName, QStringDecoder::Flag::Stateless);
#endif
}

std::optional<QString> Cp932Decoder::Decode(QByteArrayView bytes)
{
#ifdef Q_OS_WIN
    std::optional<QString> text = PlatformDecode(bytes);
#else
    // Invalid bytes become U+001A and set the error flag.
    std::optional<QString> text = decoder_->decode(bytes);
    if (!decoder_->isValid() || decoder_->hasError()) {
        decoder_.emplace(CodecName, QStringDecoder::Flag::Stateless);
        return std::nullopt;
    }
#endif
    if (!text || !DecodedAlikeEverywhere(*text))
        return std::nullopt;
    return text;
}

std::optional<QString> DecodeCp932(QByteArrayView bytes)
{
    return Cp932Decoder().Decode(bytes);
}

std::optional<QByteArray> EncodeCp932(const QString& text)
{
    std::optional<QByteArray> bytes = PlatformEncode(text);
    if (!bytes)
        return std::nullopt;
    // One-way mappings would store a different character than the user typed.
    const std::optional<QString> back = DecodeCp932(*bytes);
    if (!back || *back != text)
        return std::nullopt;
    return bytes;
}

std::optional<QString> FirstUnencodableCharacter(const QString& text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size()
                && text.at(i + 1).isLowSurrogate() ? 2 : 1;
        const QString character = text.mid(i, width);
        if (!EncodeCp932(character))
            return character;
        i += width;
    }
    return std::nullopt;
}
