// SPDX-License-Identifier: MIT
#include "tests/store/fuzz/ProblemFileCheck.h"

#include "store/ProblemFileFormat.h"

std::optional<std::string> BrokenProblemFilePromise(QByteArrayView bytes)
{
    const ProblemFile::Reading reading = ProblemFile::Read(bytes);
    if (reading.fault) {
        if (reading.fault->line < 1 || reading.fault->text.isEmpty())
            return "a fault without its line or its text";
        return std::nullopt;
    }
    const ProblemFile::Contents& contents = reading.contents;
    if (contents.count < 0 || contents.count > MaxPairs || contents.items.size() != 2 * contents.count)
        return "a count outside 0 to 80, or items that do not match it";

    // No exception: a table loaded from the file must be storable again, or the
    // next add or delete would fail on a pair the user never touched.
    const ProblemFile::Writing writing = ProblemFile::Write(contents.count, contents.items);
    if (writing.unstorableItem >= 0)
        return "the writer refuses item " + std::to_string(writing.unstorableItem) + " the reader accepted: "
            + writing.why.toStdString();
    const ProblemFile::Reading again = ProblemFile::Read(writing.bytes);
    if (again.fault)
        return "the written file does not read: " + again.fault->text.toStdString();
    if (again.contents.count != contents.count || again.contents.items != contents.items)
        return "the written file reads differently";
    if (ProblemFile::Write(again.contents.count, again.contents.items).bytes != writing.bytes)
        return "the written form is not a fixed point";
    return std::nullopt;
}
