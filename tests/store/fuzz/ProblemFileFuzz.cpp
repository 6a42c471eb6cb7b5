// Feeds arbitrary bytes to the problem-file reader. Beyond crashes and sanitizer
// reports it checks the store's promise: whatever the reader accepts and the
// writer can store reads back unchanged.
#include "store/ProblemFileFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const ProblemFile::Reading reading = ProblemFile::Read(bytes);
    if (reading.fault) {
        if (reading.fault->line < 1 || reading.fault->text.isEmpty())
            std::abort();
        return 0;
    }
    const ProblemFile::Contents& contents = reading.contents;
    if (contents.count < 0 || contents.count > 80 || contents.items.size() != 2 * contents.count)
        std::abort();

    const ProblemFile::Writing writing = ProblemFile::Write(contents.count, contents.items);
    if (writing.unstorableItem >= 0)
        return 0;  // a double quote inside an item: the add window refuses those
    const ProblemFile::Reading again = ProblemFile::Read(writing.bytes);
    if (again.fault || again.contents.count != contents.count || again.contents.items != contents.items)
        std::abort();
    // The written form is a fixed point.
    if (ProblemFile::Write(again.contents.count, again.contents.items).bytes != writing.bytes)
        std::abort();
    return 0;
}
