# SPDX-License-Identifier: MIT
# Makes the Windows zip and setup from the staged tree (windows/Package.cmake),
# named with the build's version, and removes those of earlier builds.
#   cmake -DSTAGE=<staged tree> -DOUT=<folder> -DBUILD_INFO=<PackageVersion.cmake>
#         -DSTRIP=<strip> -DHOMEPAGE=<url> -DICON=<.ico> -DREADME=<README.txt>
#         -DFACTORY_FILE=<name> -DPROBLEM_FILE=<name>
#         [-DVERSION=<version> -DVERSION_NUMBERS=<a.b.c.d> -DZIP=OFF] -P Packages.cmake
# VERSION and VERSION_NUMBERS stand in for the build's (the upgrade test makes a
# later setup this way).
cmake_minimum_required(VERSION 3.25)
if(NOT DEFINED VERSION)
  include(${BUILD_INFO})
  set(VERSION ${CPACK_PACKAGE_VERSION})
  set(VERSION_NUMBERS ${VELLUMARK_VERSION_NUMBERS})
endif()
set(name Vellumark-${VERSION}-win64)

# Symbol tables and debug sections are a third of the size otherwise.
file(GLOB_RECURSE binaries ${STAGE}/bin/*.exe ${STAGE}/bin/*.dll)
if(STRIP)
  execute_process(COMMAND ${STRIP} --strip-unneeded ${binaries} COMMAND_ERROR_IS_FATAL ANY)
endif()
configure_file(${README} ${STAGE}/README.txt @ONLY NEWLINE_STYLE CRLF)

file(GLOB earlier ${OUT}/Vellumark-*-win64.zip ${OUT}/Vellumark-*-win64-setup.exe)
file(REMOVE_RECURSE ${earlier} ${OUT}/zip ${OUT}/nsis)

# The zip: the portable layout, under one top folder.
if(NOT ZIP STREQUAL "OFF")
  set(top ${OUT}/zip/Vellumark-${VERSION})
  file(COPY ${STAGE}/bin/ DESTINATION ${top})
  file(COPY ${STAGE}/share/vellumark/ DESTINATION ${top}/data)
  # The user's pairs start as the factory set.
  file(COPY_FILE ${top}/data/${FACTORY_FILE} ${top}/data/${PROBLEM_FILE})
  file(COPY ${STAGE}/README.txt ${STAGE}/LICENSE.txt ${STAGE}/licenses DESTINATION ${top})
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT}/${name}.zip --format=zip Vellumark-${VERSION}
                  WORKING_DIRECTORY ${OUT}/zip COMMAND_ERROR_IS_FATAL ANY)
endif()

# The setup: every staged file, to install and, folders deepest first, to remove.
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${STAGE} ${STAGE}/*)
list(SORT entries)
string(ASCII 239 187 191 bom)  # makensis reads UTF-8 where it sees this mark
set(install "${bom}")
set(remove "${bom}")
set(folders "")
set(size 0)
foreach(entry IN LISTS entries)
  string(REPLACE "/" "\\" windows_entry "${entry}")
  if(IS_DIRECTORY ${STAGE}/${entry})
    list(PREPEND folders "RMDir \"$INSTDIR\\${windows_entry}\"\n")
    continue()
  endif()
  get_filename_component(folder "${entry}" DIRECTORY)
  if(folder)
    string(REPLACE "/" "\\" folder "\\${folder}")
  endif()
  file(SIZE ${STAGE}/${entry} bytes)
  math(EXPR size "${size} + ${bytes}")
  string(APPEND install "SetOutPath \"$INSTDIR${folder}\"\nFile \"${STAGE}/${entry}\"\n")
  string(APPEND remove "Delete \"$INSTDIR\\${windows_entry}\"\n")
endforeach()
list(JOIN folders "" folders)
file(WRITE ${OUT}/nsis/files.nsh "${install}")
file(WRITE ${OUT}/nsis/unfiles.nsh "${remove}${folders}")
math(EXPR size_kb "(${size} + 1023) / 1024")
execute_process(COMMAND makensis -V2 -INPUTCHARSET UTF8 -DVERSION=${VERSION} -DVERSION_NUMBERS=${VERSION_NUMBERS}
                        -DFILES=${OUT}/nsis/files.nsh -DUNFILES=${OUT}/nsis/unfiles.nsh -DSIZE_KB=${size_kb}
                        -DHOMEPAGE=${HOMEPAGE} -DICON=${ICON} -DOUTFILE=${OUT}/${name}-setup.exe
                        ${CMAKE_CURRENT_LIST_DIR}/setup.nsi
                COMMAND_ERROR_IS_FATAL ANY)
foreach(made IN ITEMS ${name}.zip ${name}-setup.exe)
  if(EXISTS ${OUT}/${made})
    file(SIZE ${OUT}/${made} bytes)
    math(EXPR kb "${bytes} / 1024")
    message(STATUS "windows: ${OUT}/${made} (${kb} KB)")
  endif()
endforeach()
