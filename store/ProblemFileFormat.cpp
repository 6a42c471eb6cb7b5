// SPDX-License-Identifier: MIT
#include "store/ProblemFileFormat.h"

#include "core/AppError.h"
#include "store/CodePage932.h"

#include <algorithm>
#include <type_traits>

namespace ProblemFile {
namespace {

constexpr qsizetype ShownBytes = 16;

QString HexOf(QByteArrayView bytes)
{
    QString hex = QString::fromLatin1(bytes.first(std::min(bytes.size(), ShownBytes)).toByteArray().toHex(' ').toUpper());
    if (bytes.size() > ShownBytes)
        hex += QStringLiteral(" …");
    return hex;
}

// One code unit of the file's bytes or of its decoded text, for comparing with
// the ASCII separators.
int UnitAt(QByteArrayView bytes, qsizetype i)
{
    return static_cast<unsigned char>(bytes[i]);
}

int UnitAt(QStringView text, qsizetype i)
{
    return text[i].unicode();
}

// Walks the file item by item, counting lines as it goes, over its bytes or over
// its text decoded whole. The separators it looks for (space, comma, quote, CR,
// LF) are ASCII and never the second byte of a two-byte character, so splitting
// before decoding or after it gives the same items.
template <typename View>
class Cursor {
public:
    explicit Cursor(View units) : units_(units) {}

    struct Item {
        View raw;
        int line = 0;
        bool endedAtComma = false;
    };

    int Line() const { return line_; }
    bool AtEnd() const { return pos_ >= units_.size(); }

    void SkipSpaces()
    {
        while (!AtEnd() && At(pos_) == ' ')
            ++pos_;
    }

    bool AtLineEnd() const { return !AtEnd() && (At(pos_) == '\r' || At(pos_) == '\n'); }

    void ConsumeLineEnd()
    {
        if (At(pos_) == '\r' && pos_ + 1 < units_.size() && At(pos_ + 1) == '\n')
            ++pos_;
        ++pos_;
        ++line_;
    }

    // Nothing at the end of the file. Throws Fault for an unterminated quote.
    std::optional<Item> Next()
    {
        SkipSpaces();
        if (AtEnd())
            return std::nullopt;
        Item item;
        item.line = line_;
        if (At(pos_) == '"') {
            const qsizetype open = pos_ + 1;
            qsizetype close = open;
            while (close < units_.size() && At(close) != '"')
                ++close;
            if (close >= units_.size())
                throw Fault{AppError::InputPastEndOfFile, line_,
                            QStringLiteral("二重引用符 (\") で始まる項目が閉じられないままファイルが終わっています。")};
            item.raw = units_.sliced(open, close - open);
            for (qsizetype i = open; i < close; ++i) {
                // Line breaks inside quotes still count as lines for later messages.
                if (At(i) == '\n' || (At(i) == '\r' && (i + 1 >= close || At(i + 1) != '\n')))
                    ++line_;
            }
            pos_ = close + 1;
            while (!AtEnd() && At(pos_) != ',' && !AtLineEnd())
                ++pos_;
        } else {
            const qsizetype start = pos_;
            while (!AtEnd() && At(pos_) != ',' && !AtLineEnd())
                ++pos_;
            item.raw = units_.sliced(start, pos_ - start);
        }
        if (!AtEnd()) {
            if (At(pos_) == ',') {
                ++pos_;
                item.endedAtComma = true;
            } else {
                ConsumeLineEnd();
            }
        }
        return item;
    }

private:
    int At(qsizetype i) const { return UnitAt(units_, i); }

    View units_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

// The count item as it shows in a message.
QString Shown(QByteArrayView raw)
{
    return DecodeCp932(raw).value_or(HexOf(raw));
}

QString Shown(QStringView raw)
{
    return raw.toString();
}

template <typename View>
std::int16_t ReadCount(Cursor<View>& cursor)
{
    const std::optional<typename Cursor<View>::Item> item = cursor.Next();
    if (!item)
        throw Fault{AppError::InputPastEndOfFile, cursor.Line(), QStringLiteral("ファイルが空で、件数がありません。")};
    // "2," followed by the line end is the same count line as "2".
    if (item->endedAtComma) {
        cursor.SkipSpaces();
        if (cursor.AtLineEnd())
            cursor.ConsumeLineEnd();
    }
    View digits = item->raw;
    while (!digits.isEmpty() && UnitAt(digits, digits.size() - 1) == ' ')
        digits.chop(1);
    const bool negative = !digits.isEmpty() && UnitAt(digits, 0) == '-';
    if (negative)
        digits = digits.sliced(1);
    bool allDigits = !digits.isEmpty();
    for (qsizetype i = 0; allDigits && i < digits.size(); ++i)
        allDigits = UnitAt(digits, i) >= '0' && UnitAt(digits, i) <= '9';
    if (!allDigits)
        throw Fault{AppError::TypeMismatch, item->line,
                    QStringLiteral("件数「%1」が 0 から %2 までの整数ではありません。")
                        .arg(Shown(item->raw).left(20)).arg(MaxPairs)};
    while (digits.size() > 1 && UnitAt(digits, 0) == '0')
        digits = digits.sliced(1);
    int value = 0;
    for (qsizetype i = 0; i < digits.size() && value <= MaxPairs; ++i)
        value = 10 * value + (UnitAt(digits, i) - '0');
    if (negative && value != 0)
        throw Fault{AppError::BadFileContents, item->line,
                    QStringLiteral("件数が負の数です。0 から %1 までの整数でなければなりません。").arg(MaxPairs)};
    if (value > MaxPairs)
        throw Fault{AppError::SubscriptOutOfRange, item->line,
                    QStringLiteral("件数「%1」が上限の %2 組を超えています。")
                        .arg(Shown(item->raw).trimmed().left(20)).arg(MaxPairs)};
    return static_cast<std::int16_t>(value);
}

// Reads the count and the items it announces into reading; placeItem puts an
// item's raw units into reading.text and returns where, or nothing when they are
// not code page 932.
template <typename View, typename PlaceItem>
void ReadItems(View units, TextReading& reading, PlaceItem placeItem)
{
    try {
        Cursor<View> cursor(units);
        const std::int16_t count = ReadCount(cursor);
        reading.items.reserve(2 * count);
        for (qsizetype i = 0; i < 2 * count; ++i) {
            const std::optional<typename Cursor<View>::Item> item = cursor.Next();
            if (!item)
                throw Fault{AppError::InputPastEndOfFile, cursor.Line(),
                            QStringLiteral("件数は %1 組ですが、%2 の前でファイルが終わっています。")
                                .arg(count).arg(ItemName(i))};
            const std::optional<TextReading::Span> span = placeItem(item->raw);
            if constexpr (std::is_same_v<View, QByteArrayView>) {
                if (!span)
                    throw Fault{AppError::BadFileContents, item->line,
                                QStringLiteral("%1 に Shift-JIS (コードページ 932) として読めないバイトがあります (%2)。")
                                    .arg(ItemName(i), HexOf(item->raw))};
            }
            reading.items.append(*span);
        }
        reading.count = count;
    } catch (Fault& fault) {
        reading.items.clear();
        reading.fault = std::move(fault);
    }
}

} // namespace

QString ItemName(qsizetype itemIndex)
{
    return QStringLiteral("%1 組目の %2 字目").arg(itemIndex / 2 + 1).arg(itemIndex % 2 + 1);
}

TextReading ReadText(QByteArrayView bytes)
{
    TextReading reading;
    // One decode of the whole file costs less than setting a converter to work
    // 161 times. It fails on any byte that is not code page 932, even past the
    // announced items, which are never read; then the items are decoded one by
    // one, which finds the item and line to blame, or reads the file after all.
    if (std::optional<QString> text = DecodeCp932(bytes)) {
        reading.text = std::move(*text);
        const QStringView whole(reading.text);
        ReadItems(whole, reading, [whole](QStringView item) {
            return std::optional(TextReading::Span{item.data() - whole.data(), item.size()});
        });
        return reading;
    }
    Cp932Decoder decoder;
    ReadItems(bytes, reading, [&decoder, &reading](QByteArrayView item) -> std::optional<TextReading::Span> {
        const std::optional<QString> text = decoder.Decode(item);
        if (!text)
            return std::nullopt;
        const TextReading::Span span{reading.text.size(), text->size()};
        reading.text += *text;
        return span;
    });
    return reading;
}

Reading Read(QByteArrayView bytes)
{
    const TextReading text = ReadText(bytes);
    Reading reading;
    reading.fault = text.fault;
    if (!text.fault) {
        reading.contents.count = text.count;
        reading.contents.items.reserve(text.items.size());
        for (qsizetype i = 0; i < text.items.size(); ++i)
            reading.contents.items.append(text.Item(i).toString());
    }
    return reading;
}

namespace {

// Items the reader would change unless quoted: it ends an item at a comma or a
// line break and skips spaces before one. Trailing spaces read back as they are,
// but quotes make them visible to whoever edits the file.
bool NeedsQuotes(const QString& item)
{
    return item.contains(QLatin1Char(',')) || item.contains(QLatin1Char('\r')) || item.contains(QLatin1Char('\n'))
        || item.startsWith(QLatin1Char(' ')) || item.endsWith(QLatin1Char(' '));
}

// Whether the item goes in quotes, or nothing when it cannot be written at all.
// Items are either what the reader yielded or one character the user typed. A
// quote inside an item forbids quoting it (the reader would end the item there),
// and only an unquoted item the reader yielded holds one, never at its start: it
// reads back as it is. A lone quote would open a quoted item.
std::optional<bool> Quoting(const QString& item)
{
    if (item.startsWith(QLatin1Char('"')))
        return std::nullopt;
    return !item.contains(QLatin1Char('"')) && NeedsQuotes(item);
}

} // namespace

std::optional<QString> WhyUnstorable(const QString& item)
{
    if (!Quoting(item))
        return QStringLiteral("二重引用符 (\") で始まる字は問題ファイルに保存できません。");
    if (!EncodeCp932(item)) {
        if (const std::optional<QString> bad = FirstUnencodableCharacter(item)) {
            const char32_t code = bad->toUcs4().value(0);
            return QStringLiteral("「%1」(U+%2) は Shift-JIS (コードページ 932) にない文字なので保存できません。")
                .arg(*bad, QStringLiteral("%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper());
        }
        return QStringLiteral("Shift-JIS (コードページ 932) で表せない文字が含まれているので保存できません。");
    }
    return std::nullopt;
}

std::optional<QString> WhyInvisible(const QString& character)
{
    if (character.isEmpty())
        return std::nullopt;
    const char32_t code = QStringView(character).toUcs4().value(0);
    switch (QChar::category(code)) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
        break;
    default:
        if (!QChar::isSpace(code))
            return std::nullopt;
    }
    return QStringLiteral("U+%1 は空白・改行・制御文字のような目に見えない字です。組の字は目に見える字でなければなりません。")
        .arg(QStringLiteral("%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper());
}

Writing Write(std::int16_t count, const QList<QString>& items)
{
    Writing writing;
    const qsizetype itemCount = 2 * qsizetype{count};
    // The whole file through one converter; converters cost more to set up than
    // a short item does to encode. Only a refusal needs the items one by one.
    QString text = QLatin1Char(' ') + QString::number(count) + QStringLiteral(" \r\n");
    bool writable = true;
    for (qsizetype i = 0; i < itemCount && writable; ++i) {
        const QString& item = items.at(i);
        const std::optional<bool> quoted = Quoting(item);
        writable = quoted.has_value();
        if (quoted.value_or(false))
            text += QLatin1Char('"') + item + QLatin1Char('"');
        else
            text += item;
        text += QStringLiteral("\r\n");
    }
    if (writable) {
        if (std::optional<QByteArray> bytes = EncodeCp932(text)) {
            writing.bytes = std::move(*bytes);
            return writing;
        }
    }
    for (qsizetype i = 0; i < itemCount; ++i) {
        if (std::optional<QString> why = WhyUnstorable(items.at(i))) {
            writing.unstorableItem = i;
            writing.why = std::move(*why);
            return writing;
        }
    }
    // Every item alone is fine, so the whole must be too; never write a guess.
    writing.unstorableItem = 0;
    writing.why = QStringLiteral("Shift-JIS (コードページ 932) に変換できませんでした。");
    return writing;
}

} // namespace ProblemFile
