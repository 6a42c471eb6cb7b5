# SPDX-License-Identifier: MIT
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix-thread
# compilers, which std::thread and Qt need). Used for Qt itself (windows/build-qt.sh)
# and for the program (make windows).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELLUMARK_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${VELLUMARK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELLUMARK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELLUMARK_MINGW_TRIPLET}-windres)

# Look for headers, libraries and CMake packages in the MinGW sysroot and in the
# prefixes given (the cross-built Qt, the cross-built GoogleTest), never in the
# build machine's /usr; programs (host tools) come from the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${VELLUMARK_MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The build machine's .pc files describe Linux libraries.
set(ENV{PKG_CONFIG_LIBDIR} /nonexistent)
set(ENV{PKG_CONFIG_PATH} "")
