#include "store/CodePage932.h"

#include <QStringEncoder>

namespace {
constexpr const char* CodecName = "Shift_JIS";
}

Cp932Decoder::Cp932Decoder()
{
    // Stateless: otherwise a lead byte cut off at the end is dropped without an
    // error, or carried over into the next piece.
    decoder_.emplace(CodecName, QStringDecoder::Flag::Stateless);
}

std::optional<QString> Cp932Decoder::Decode(QByteArrayView bytes)
{
    // Invalid bytes become U+001A and set the error flag.
    QString text = decoder_->decode(bytes);
    if (decoder_->hasError()) {
        decoder_.emplace(CodecName, QStringDecoder::Flag::Stateless);
        return std::nullopt;
    }
    return text;
}

std::optional<QString> DecodeCp932(QByteArrayView bytes)
{
    return Cp932Decoder().Decode(bytes);
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
