#include "store/ProblemFileFormat.h"

#include "core/AppError.h"
#include "store/CodePage932.h"

#include <algorithm>

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

// Walks the bytes item by item, counting lines as it goes. The separators it
// looks for (space, comma, quote, CR, LF) are never the second byte of a
// two-byte character, so splitting bytes before decoding is safe.
class Cursor {
public:
    explicit Cursor(QByteArrayView bytes) : bytes_(bytes) {}

    struct Item {
        QByteArrayView raw;
        int line = 0;
        bool endedAtComma = false;
    };

    int Line() const { return line_; }
    bool AtEnd() const { return pos_ >= bytes_.size(); }

    void SkipSpaces()
    {
        while (!AtEnd() && bytes_[pos_] == ' ')
            ++pos_;
    }

    bool AtLineEnd() const { return !AtEnd() && (bytes_[pos_] == '\r' || bytes_[pos_] == '\n'); }

    void ConsumeLineEnd()
    {
        if (bytes_[pos_] == '\r' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '\n')
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
        if (bytes_[pos_] == '"') {
            const qsizetype open = pos_ + 1;
            const qsizetype close = bytes_.indexOf('"', open);
            if (close < 0)
                throw Fault{AppError::InputPastEndOfFile, line_,
                            QStringLiteral("二重引用符 (\") で始まる項目が閉じられないままファイルが終わっています。")};
            item.raw = bytes_.sliced(open, close - open);
            for (qsizetype i = open; i < close; ++i) {
                // Line breaks inside quotes still count as lines for later messages.
                if (bytes_[i] == '\n' || (bytes_[i] == '\r' && (i + 1 >= close || bytes_[i + 1] != '\n')))
                    ++line_;
            }
            pos_ = close + 1;
            while (!AtEnd() && bytes_[pos_] != ',' && !AtLineEnd())
                ++pos_;
        } else {
            const qsizetype start = pos_;
            while (!AtEnd() && bytes_[pos_] != ',' && !AtLineEnd())
                ++pos_;
            item.raw = bytes_.sliced(start, pos_ - start);
        }
        if (!AtEnd()) {
            if (bytes_[pos_] == ',') {
                ++pos_;
                item.endedAtComma = true;
            } else {
                ConsumeLineEnd();
            }
        }
        return item;
    }

private:
    QByteArrayView bytes_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

std::int16_t ReadCount(Cursor& cursor)
{
    const std::optional<Cursor::Item> item = cursor.Next();
    if (!item)
        throw Fault{AppError::InputPastEndOfFile, cursor.Line(), QStringLiteral("ファイルが空で、件数がありません。")};
    // "2," followed by the line end is the same count line as "2".
    if (item->endedAtComma) {
        cursor.SkipSpaces();
        if (cursor.AtLineEnd())
            cursor.ConsumeLineEnd();
    }
    QByteArrayView digits = item->raw;
    while (!digits.isEmpty() && digits.back() == ' ')
        digits.chop(1);
    const bool negative = digits.startsWith('-');
    if (negative)
        digits = digits.sliced(1);
    const bool allDigits = !digits.isEmpty()
        && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!allDigits) {
        const QString shown = DecodeCp932(item->raw).value_or(HexOf(item->raw));
        throw Fault{AppError::TypeMismatch, item->line,
                    QStringLiteral("件数「%1」が 0 から %2 までの整数ではありません。").arg(shown.left(20)).arg(MaxPairs)};
    }
    while (digits.size() > 1 && digits.front() == '0')
        digits = digits.sliced(1);
    const int value = digits.size() > 3 ? MaxPairs + 1 : digits.toByteArray().toInt();
    if (negative && value != 0)
        throw Fault{AppError::BadFileContents, item->line,
                    QStringLiteral("件数が負の数です。0 から %1 までの整数でなければなりません。").arg(MaxPairs)};
    if (value > MaxPairs)
        throw Fault{AppError::SubscriptOutOfRange, item->line,
                    QStringLiteral("件数「%1」が上限の %2 組を超えています。")
                        .arg(QString::fromLatin1(item->raw.toByteArray()).trimmed().left(20)).arg(MaxPairs)};
    return static_cast<std::int16_t>(value);
}

} // namespace

QString ItemName(qsizetype itemIndex)
{
    return QStringLiteral("%1 組目の %2 字目").arg(itemIndex / 2 + 1).arg(itemIndex % 2 + 1);
}

Reading Read(QByteArrayView bytes)
{
    Reading reading;
    try {
        Cursor cursor(bytes);
        const std::int16_t count = ReadCount(cursor);
        QList<QString> items;
        items.reserve(2 * count);
        Cp932Decoder decoder;
        for (qsizetype i = 0; i < 2 * count; ++i) {
            const std::optional<Cursor::Item> item = cursor.Next();
            if (!item)
                throw Fault{AppError::InputPastEndOfFile, cursor.Line(),
                            QStringLiteral("件数は %1 組ですが、%2 の前でファイルが終わっています。")
                                .arg(count).arg(ItemName(i))};
            std::optional<QString> text = decoder.Decode(item->raw);
            if (!text)
                throw Fault{AppError::BadFileContents, item->line,
                            QStringLiteral("%1 に Shift-JIS (コードページ 932) として読めないバイトがあります (%2)。")
                                .arg(ItemName(i), HexOf(item->raw))};
            items.append(std::move(*text));
        }
        reading.contents.count = count;
        reading.contents.items = std::move(items);
    } catch (Fault& fault) {
        reading.fault = std::move(fault);
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
// A quote inside an item forbids quoting it: the reader would end the item there.
// Every item the reader yields fits one of the two forms: a quoted one holds no
// quote, and an unquoted one starts with neither a quote nor a space and holds no
// comma or line break.
std::optional<bool> Quoting(const QString& item)
{
    if (!item.contains(QLatin1Char('"')))
        return NeedsQuotes(item);
    if (item.startsWith(QLatin1Char('"')) || item.startsWith(QLatin1Char(' ')) || item.contains(QLatin1Char(','))
        || item.contains(QLatin1Char('\r')) || item.contains(QLatin1Char('\n')))
        return std::nullopt;
    return false;
}

} // namespace

std::optional<QString> WhyUnstorable(const QString& item)
{
    if (!Quoting(item)) {
        if (item.startsWith(QLatin1Char('"')))
            return QStringLiteral("二重引用符 (\") で始まる字は問題ファイルに保存できません。");
        return QStringLiteral("二重引用符 (\") と、コンマ・改行・先頭の空白を一緒に含む字は問題ファイルに保存できません。");
    }
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
