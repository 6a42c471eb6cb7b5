# SPDX-License-Identifier: MIT
# Fails, naming the file, the line and the include, when a source includes a layer
# above its own, climbs out of its folder with "..", or includes a screen library
# below the window framework. The compiler alone lets all of these through: every
# folder of the tree and every Qt module share one include root.
#   cmake -DSOURCE_DIR=<tree> [-DQT_CORE_INCLUDE_DIR=<QtCore headers>] [-DSTAMP=<file>] -P CheckLayers.cmake
# STAMP is touched when the tree passes, for the build to know it need not check again.

# Lowest first; a file may include its own layer and those below it. A rules
# folder's pattern comes before its window's, which would match it too.
set(layer_names core store rules shell windows app)
set(layer_patterns "^core/" "^store/" "^(game|menu|manage)/core/" "^shell/" "^(game|menu|manage)/" "^app/")
set(layer_folders core store shell game menu manage app)

# The layer of a path under the tree, or "" for a folder outside the layers.
function(layer_of path out)
  set(index 0)
  foreach(pattern IN LISTS layer_patterns)
    if(path MATCHES "${pattern}")
      set(${out} ${index} PARENT_SCOPE)
      return()
    endif()
    math(EXPR index "${index} + 1")
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

set(shell_layer 3)
list(TRANSFORM layer_folders APPEND "/*" OUTPUT_VARIABLE globs)
list(TRANSFORM globs PREPEND "${SOURCE_DIR}/")
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" ${globs})
list(FILTER sources INCLUDE REGEX "\\.(h|cpp)$")
if(NOT sources)
  message(FATAL_ERROR "no sources found under ${SOURCE_DIR}")
endif()

set(faults "")
foreach(source IN LISTS sources)
  layer_of("${source}" own)
  list(GET layer_names ${own} own_name)
  file(STRINGS "${SOURCE_DIR}/${source}" lines)
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]+)([\">])")
      continue()
    endif()
    set(included "${CMAKE_MATCH_2}")
    set(where "${source}:${number}: #include ${CMAKE_MATCH_1}${included}${CMAKE_MATCH_3}")
    string(REPLACE "\\" "/" included "${included}")
    if(included MATCHES "(^|/)\\.\\.(/|$)" OR included MATCHES "^/|^[A-Za-z]:")
      list(APPEND faults "${where}: may not climb out of its folder: name the folder from the top of the tree")
      continue()
    endif()
    layer_of("${included}" theirs)
    if(NOT theirs STREQUAL "")
      if(theirs GREATER own)
        list(GET layer_names ${theirs} their_name)
        list(APPEND faults "${where}: the ${own_name} layer may not include the ${their_name} layer above it")
      endif()
    elseif(own LESS shell_layer)
      if(included MATCHES "^(Qt[A-Za-z]+)/" AND NOT CMAKE_MATCH_1 STREQUAL "QtCore")
        list(APPEND faults "${where}: below shell/ only Qt Core may be included, not ${CMAKE_MATCH_1}")
      elseif(included MATCHES "^Q[A-Za-z]*$" AND QT_CORE_INCLUDE_DIR AND NOT EXISTS "${QT_CORE_INCLUDE_DIR}/${included}")
        list(APPEND faults "${where}: below shell/ only Qt Core may be included, and ${included} is not in it")
      endif()
    endif()
  endforeach()
endforeach()

if(faults)
  list(LENGTH faults count)
  list(JOIN faults "\n" report)
  # Unwrapped, one a line, so that an editor can jump to each.
  message(NOTICE "${report}")
  message(FATAL_ERROR "${count} include(s) break the layer order core <- store <- */core <- shell <- windows <- app")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
