# SPDX-License-Identifier: MIT
# A small tree that keeps the order passes and leaves the stamp; the same tree with
# one fault planted fails, naming that file and line alone.
#   cmake -DCHECKER=<CheckLayers.cmake> -DWORK_DIR=<scratch folder> -P CheckerTest.cmake

set(tree "${WORK_DIR}/tree")
set(stamp "${WORK_DIR}/checked.stamp")
file(REMOVE_RECURSE "${WORK_DIR}")
# Qt Core's folder, as far as this tree uses it.
file(WRITE "${WORK_DIR}/QtCore/QString" "")
file(WRITE "${tree}/core/Error.h" "#pragma once\n#include <QString>\n#include <vector>\n")
file(WRITE "${tree}/store/Store.h" "#pragma once\n#include \"core/Error.h\"\n#include <QtCore/QString>\n")
file(WRITE "${tree}/store/Store.cpp" "#include \"store/Store.h\"\n#include <core/Error.h>\n#include \"Store.h\"\n")
file(WRITE "${tree}/game/core/Rules.h" "#pragma once\n#include \"store/Store.h\"\n#include \"menu/core/Timing.h\"\n")
file(WRITE "${tree}/menu/core/Timing.h" "#pragma once\n#include <QString>\n")
file(WRITE "${tree}/shell/Shell.h" "#pragma once\n#include <QWidget>\n#include <QtGui/QImage>\n#include \"game/core/Rules.h\"\n")
file(WRITE "${tree}/game/Window.h" "#pragma once\n#include \"shell/Shell.h\"\n#include \"menu/Menu.h\"\n")
file(WRITE "${tree}/menu/Menu.h" "#pragma once\n#include <shell/Shell.h>\n")
file(WRITE "${tree}/app/main.cpp" "#include \"game/Window.h\"\n#include <QApplication>\n")

function(check out_result out_output)
  file(REMOVE "${stamp}")
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} -DQT_CORE_INCLUDE_DIR=${WORK_DIR}/QtCore
                          -DSTAMP=${stamp} -P ${CHECKER}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(${out_result} ${result} PARENT_SCOPE)
  set(${out_output} "${output}" PARENT_SCOPE)
endfunction()

set(failures "")
check(result output)
if(NOT result EQUAL 0 OR NOT EXISTS "${stamp}")
  list(APPEND failures "the tree that keeps the order did not pass:\n${output}")
endif()

# Where the fault is planted (on the second line), and the include.
set(planted
  "core/Bad.cpp|#include \"shell/Shell.h\""
  "core/Bad.h|#include <shell/Shell.h>"
  "store/Bad.cpp|#include \"../shell/Shell.h\""
  "store/Bad.cpp|#include \"../core/Error.h\""
  "game/core/Bad.cpp|#include \"store/../game/Window.h\""
  "game/Bad.cpp|#include </shell/Shell.h>"
  "game/core/Bad.cpp|#include \"game/Window.h\""
  "store/Bad.cpp|#include <QWidget>"
  "core/Bad.cpp|#include <QtGui/QImage>"
  "menu/core/Bad.cpp|#include \"QtWidgets/QWidget\""
  "shell/Bad.cpp|#include <app/main.cpp>")
foreach(row IN LISTS planted)
  string(REPLACE "|" ";" row "${row}")
  list(GET row 0 file)
  list(GET row 1 include)
  file(WRITE "${tree}/${file}" "// planted\n${include}\n")
  check(result output)
  file(REMOVE "${tree}/${file}")
  string(FIND "${output}" "${file}:2: ${include}:" at)
  if(result EQUAL 0 OR at EQUAL -1 OR NOT output MATCHES " 1 include\\(s\\) break" OR EXISTS "${stamp}")
    list(APPEND failures "${file}: ${include} was not reported as the one fault:\n${output}")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n" report)
  message(FATAL_ERROR "${report}")
endif()
