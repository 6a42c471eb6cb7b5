#include "store/CodePage932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr const char* CodecName = "Shift_JIS";
}

std::optional<QString> DecodeCp932(QByteArrayView bytes)
{
    // Stateless: otherwise a lead byte cut off at the end is dropped without an
    // error. Invalid bytes become U+001A and set the error flag.
    QStringDecoder decoder(CodecName, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QByteArray> EncodeCp932(const QString& text)
{
    // A fresh encoder each time: its error flag never clears, and a refused
    // character would otherwise be written as FC FC.
    QStringEncoder encoder(CodecName);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    // One-way mappings would store a different character than the user typed.
    const std::optional<QString> back = DecodeCp932(bytes);
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
