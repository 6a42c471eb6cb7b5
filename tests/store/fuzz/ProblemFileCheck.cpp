// SPDX-License-Identifier: MIT
#include "tests/store/fuzz/ProblemFileCheck.h"

#include "store/ProblemFileFormat.h"

QList<QString> ItemsOf(const ProblemFile::TextReading& reading)
{
    QList<QString> items;
    for (qsizetype i = 0; i < reading.items.size(); ++i)
        items.append(reading.Item(i).toString());
    return items;
}

std::optional<std::string> BrokenProblemFilePromise(QByteArrayView bytes)
{
    const ProblemFile::TextReading reading = ProblemFile::ReadText(bytes);
    if (reading.fault) {
        if (reading.fault->line < 1 || reading.fault->text.isEmpty())
            return "a fault without its line or its text";
        return std::nullopt;
    }
    if (reading.count < 0 || reading.count > MaxPairs || reading.items.size() != 2 * reading.count)
        return "a count outside 0 to 80, or items that do not match it";

    // No exception: a table loaded from the file must be storable again, or the
    // next add or delete would fail on a pair the user never touched.
    const QList<QString> items = ItemsOf(reading);
    const ProblemFile::Writing writing = ProblemFile::Write(reading.count, items);
    if (writing.unstorableItem >= 0)
        return "the writer refuses item " + std::to_string(writing.unstorableItem) + " the reader accepted: "
            + writing.why.toStdString();
    const ProblemFile::TextReading again = ProblemFile::ReadText(writing.bytes);
    if (again.fault)
        return "the written file does not read: " + again.fault->text.toStdString();
    if (again.count != reading.count || ItemsOf(again) != items)
        return "the written file reads differently";
    if (ProblemFile::Write(again.count, ItemsOf(again)).bytes != writing.bytes)
        return "the written form is not a fixed point";
    return std::nullopt;
}
