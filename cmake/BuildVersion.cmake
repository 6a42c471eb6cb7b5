# SPDX-License-Identifier: MIT
#
# The version of what is being built, worked out at every build so a new commit or
# an edit changes it without a new configure:
#   a clean checkout of the release's tag (1.00 or v1.00)  1.00
#   any other commit                                       1.00+git<YYYYMMDD>.<short hash>
#   ... with changes not committed                         1.00+git<YYYYMMDD>.<short hash>+dirty
#   no git at all (a source tarball)                       1.00
# The date is the commit's, in UTC, so the same commit always gives the same version.
#
# cmake -DSOURCE_DIR=<dir> -DRELEASE_VERSION=<x.yy> -P BuildVersion.cmake
#   prints the version, the commit time (seconds since 1970) and Windows' four numbers.
# Add -DBINARY_DIR=<dir> -DAPP_ID=<id> -DMAINTAINER="<name> <<address>>" to write, when
# their content changes, what the build takes from it: the program's header, the
# packager's settings and the package's own change log.

cmake_minimum_required(VERSION 3.25)

foreach(required SOURCE_DIR RELEASE_VERSION)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "BuildVersion.cmake needs -D${required}=...")
  endif()
endforeach()

function(run_git out_var)
  execute_process(COMMAND git -C "${SOURCE_DIR}" ${ARGN}
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_QUIET
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(status EQUAL 0)
    set(${out_var} "${output}" PARENT_SCOPE)
  else()
    set(${out_var} "" PARENT_SCOPE)
  endif()
endfunction()

set(version "${RELEASE_VERSION}")
set(commit_time "")
find_program(GIT_PROGRAM git)
if(GIT_PROGRAM)
  # Only the tree's own repository counts, not one that merely contains it.
  run_git(top_level rev-parse --show-toplevel)
  file(REAL_PATH "${SOURCE_DIR}" source_real)
  if(top_level)
    file(REAL_PATH "${top_level}" top_level)
  endif()
  if(top_level STREQUAL source_real)
    run_git(commit_time log -1 --format=%ct)
  endif()
endif()

if(commit_time)
  run_git(short_hash rev-parse --short HEAD)
  run_git(changes status --porcelain)
  run_git(tags tag --points-at HEAD)
  string(REPLACE "\n" ";" tags "${tags}")
  set(released FALSE)
  if(changes STREQUAL "" AND ("${RELEASE_VERSION}" IN_LIST tags OR "v${RELEASE_VERSION}" IN_LIST tags))
    set(released TRUE)
  endif()
  if(NOT released)
    set(ENV{SOURCE_DATE_EPOCH} "${commit_time}")
    string(TIMESTAMP commit_day "%Y%m%d" UTC)
    set(version "${RELEASE_VERSION}+git${commit_day}.${short_hash}")
    if(NOT changes STREQUAL "")
      set(version "${version}+dirty")
    endif()
  endif()
elseif(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(commit_time "$ENV{SOURCE_DATE_EPOCH}")
else()
  # A tarball: the change log's time stands for the commit's.
  file(TIMESTAMP "${SOURCE_DIR}/CHANGELOG.md" commit_time "%s" UTC)
endif()

# Windows wants a file's version as four numbers of 0 to 65535: the release's two,
# then the commit's day since 1970 and its time of day in two-second steps, so a
# later commit has a higher version (until the year 2149).
string(REGEX MATCH "^([0-9]+)\\.([0-9]+)" release_numbers "${RELEASE_VERSION}")
math(EXPR major "${CMAKE_MATCH_1}")
math(EXPR minor "${CMAKE_MATCH_2}")
math(EXPR day "${commit_time} / 86400")
math(EXPR step "${commit_time} % 86400 / 2")
set(VELLUMARK_VERSION_NUMBERS "${major}.${minor}.${day}.${step}")
string(REPLACE "." "," VELLUMARK_VERSION_COMMAS "${VELLUMARK_VERSION_NUMBERS}")

if(NOT DEFINED BINARY_DIR)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${version} ${commit_time} ${VELLUMARK_VERSION_NUMBERS}")
  return()
endif()

set(generated "${BINARY_DIR}/generated")
set(VELLUMARK_VERSION "${version}")
set(VELLUMARK_APP_ID "${APP_ID}")
set(VELLUMARK_COMMIT_TIME "${commit_time}")
set(ENV{SOURCE_DATE_EPOCH} "${commit_time}")
string(TIMESTAMP VELLUMARK_CHANGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(VELLUMARK_MAINTAINER "${MAINTAINER}")
# configure_file leaves a file alone when its content is the same, so an unchanged
# version rebuilds nothing.
configure_file("${CMAKE_CURRENT_LIST_DIR}/BuildInfo.h.in" "${generated}/BuildInfo.h" @ONLY)
configure_file("${CMAKE_CURRENT_LIST_DIR}/PackageVersion.cmake.in" "${generated}/PackageVersion.cmake" @ONLY)
configure_file("${SOURCE_DIR}/install/changelog.Debian.in" "${generated}/changelog.Debian" @ONLY)
if(NOT EXISTS "${generated}/changelog.Debian.gz"
   OR "${generated}/changelog.Debian" IS_NEWER_THAN "${generated}/changelog.Debian.gz")
  # As Debian's tools compress it: best compression, no name or time inside.
  execute_process(COMMAND gzip -9 -n -c "${generated}/changelog.Debian"
                  OUTPUT_FILE "${generated}/changelog.Debian.gz" COMMAND_ERROR_IS_FATAL ANY)
endif()
