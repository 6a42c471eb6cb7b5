// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the problem-file reader. Beyond crashes and sanitizer
// reports it checks the promises of BrokenProblemFilePromise, which the store
// tests also run over the seed corpus.
#include "tests/store/fuzz/ProblemFileCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (const std::optional<std::string> broken
        = BrokenProblemFilePromise(QByteArrayView(data, static_cast<qsizetype>(size)))) {
        std::fprintf(stderr, "%s\n", broken->c_str());
        std::abort();
    }
    return 0;
}
