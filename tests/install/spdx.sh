#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every source file of the repository names its licence in an SPDX line near its top
# (the Debian change log's template is the text of a file the package ships).
set -euo pipefail
cd "$1"
missing=0
while IFS= read -r -d '' file; do
    if ! head -n 3 "$file" | grep -q 'SPDX-License-Identifier: '; then
        echo "no SPDX line: $file"
        missing=$((missing + 1))
    fi
done < <(git ls-files -z -- '*.cpp' '*.h' '*.sh' '*.cmake' '*.in' '*.rc' '*CMakeLists.txt' \
                               Makefile .ci/run ':!install/changelog.Debian.in')
[ "$missing" = 0 ] || { echo "FAIL: $missing source files without an SPDX line"; exit 1; }
echo "every source file names its licence"
