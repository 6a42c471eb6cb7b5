# SPDX-License-Identifier: MIT
# The program's files in its data folder, the one place their names are written:
# the build copies them beside the executable, the install rules place them, and the
# program finds them through the header made from these (generated/DataFiles.h).
set(VELLUMARK_PROBLEM_FILE 問題.dat)  # the user's pairs, made from the factory copy
set(VELLUMARK_FACTORY_FILE 問題.org)
set(VELLUMARK_CROW_SOUND 音/karasu.wav)
set(VELLUMARK_HIT_SOUND 音/o.wav)
# What ships with the program, by its path under data/ in the sources.
set(VELLUMARK_SHIPPED_FILES ${VELLUMARK_FACTORY_FILE} ${VELLUMARK_CROW_SOUND} ${VELLUMARK_HIT_SOUND})
configure_file(${CMAKE_CURRENT_LIST_DIR}/DataFiles.h.in ${VELLUMARK_GENERATED_DIR}/DataFiles.h @ONLY)
