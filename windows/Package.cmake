# SPDX-License-Identifier: MIT
# The Windows packages, both made from one staged tree in the build folder:
#   Vellumark-<version>-win64.zip        one top folder: vellumark.exe, the Qt DLLs and
#                                        plugins, the MinGW runtime, data\ beside them
#   Vellumark-<version>-win64-setup.exe  bin\ and share\vellumark\, the installed layout
# each with README.txt, LICENSE.txt and licenses\. The version is the build's, known
# only when the build runs: windows/Packages.cmake names and makes them then.
#   cmake --build <build> --target windows_packages
# Made by the cross-build on Debian alone, whose packages give the notices' texts.
if(NOT CMAKE_CROSSCOMPILING OR NOT CMAKE_HOST_UNIX)
  return()
endif()
set(stage ${CMAKE_BINARY_DIR}/stage)
set(notices ${CMAKE_BINARY_DIR}/notices)
set(qt_libraries Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network Qt6::Multimedia)
if(TARGET Qt6::Svg)  # a native build with Qt's own kit
  list(APPEND qt_libraries Qt6::Svg)
endif()
# folder=target of each plugin the program loads: the Windows platform, the
# native style and the Media Foundation sound backend.
set(qt_plugins platforms=Qt6::QWindowsIntegrationPlugin styles=Qt6::QWindowsVistaStylePlugin
               multimedia=Qt6::QWindowsMediaPlugin)

# The MinGW runtime DLLs the program and Qt link against (none with MSVC).
set(runtime_dlls "")
if(MINGW)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
      message(FATAL_ERROR "The compiler does not know where ${dll} is")
    endif()
    get_filename_component(path "${path}" REALPATH)
    list(APPEND runtime_dlls "${path}")
  endforeach()
endif()

set(stage_commands "")
foreach(target IN LISTS qt_libraries)
  list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${stage}/bin/)
endforeach()
foreach(plugin IN LISTS qt_plugins)
  string(REPLACE "=" ";" plugin "${plugin}")
  list(GET plugin 0 folder)
  list(GET plugin 1 target)
  if(NOT TARGET ${target})
    message(FATAL_ERROR "Qt has no ${target}: the program would not run")
  endif()
  list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/bin/${folder}
                             COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${stage}/bin/${folder}/)
endforeach()
foreach(dll IN LISTS runtime_dlls)
  list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E copy ${dll} ${stage}/bin/)
endforeach()
foreach(file IN LISTS VELLUMARK_SHIPPED_FILES)
  get_filename_component(folder ${stage}/share/vellumark/${file} DIRECTORY)
  list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                             COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/${file} ${folder}/)
endforeach()

# The notices: the texts come from Debian's packages, as the licences ask.
get_target_property(qt_core Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_prefix "${qt_core}" DIRECTORY)
get_filename_component(qt_prefix "${qt_prefix}" DIRECTORY)
set(QT_SOURCES "    qt6-base and qt6-multimedia ${Qt6_VERSION}")
if(EXISTS ${qt_prefix}/debian-sources.txt)  # written by windows/build-qt.sh
  file(STRINGS ${qt_prefix}/debian-sources.txt QT_SOURCES)
  list(TRANSFORM QT_SOURCES PREPEND "    ")
  string(REPLACE ";" "\n" QT_SOURCES "${QT_SOURCES}")
endif()
file(MAKE_DIRECTORY ${notices}/licenses)
file(COPY_FILE /usr/share/common-licenses/LGPL-3 ${notices}/licenses/LGPL-3.txt)
file(COPY_FILE /usr/share/common-licenses/GPL-3 ${notices}/licenses/GPL-3.txt)
file(COPY_FILE /usr/share/doc/libqt6core6/copyright ${notices}/licenses/qt6-base.txt)
file(COPY_FILE /usr/share/doc/libqt6multimedia6/copyright ${notices}/licenses/qt6-multimedia.txt)
set(runtime_packages "")
foreach(dll IN LISTS runtime_dlls)
  execute_process(COMMAND dpkg -S ${dll} OUTPUT_VARIABLE owner COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX REPLACE ":.*" "" owner "${owner}")
  list(APPEND runtime_packages ${owner})
endforeach()
list(REMOVE_DUPLICATES runtime_packages)
set(runtime_notices "")
foreach(package IN LISTS runtime_packages)
  file(COPY_FILE /usr/share/doc/${package}/copyright ${notices}/licenses/${package}.txt)
  list(APPEND runtime_notices "  ${package}.txt")
endforeach()
list(JOIN runtime_notices "\n" RUNTIME_NOTICES)
set(HOMEPAGE ${VELLUMARK_HOMEPAGE})
configure_file(${CMAKE_CURRENT_LIST_DIR}/text/third-party.txt ${notices}/licenses/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${notices}/LICENSE.txt COPYONLY)

add_custom_target(windows_packages
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/bin
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:vellumark> ${stage}/bin/
  ${stage_commands}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${notices} ${stage}
  COMMAND ${CMAKE_COMMAND} -DSTAGE=${stage} -DOUT=${CMAKE_BINARY_DIR} -DBUILD_INFO=${VELLUMARK_GENERATED_DIR}/PackageVersion.cmake
          -DSTRIP=${CMAKE_STRIP} -DHOMEPAGE=${VELLUMARK_HOMEPAGE} -DICON=${PROJECT_SOURCE_DIR}/resources/vellumark.ico
          -DREADME=${CMAKE_CURRENT_LIST_DIR}/text/README.txt -DFACTORY_FILE=${VELLUMARK_FACTORY_FILE}
          -DPROBLEM_FILE=${VELLUMARK_PROBLEM_FILE} -P ${CMAKE_CURRENT_LIST_DIR}/Packages.cmake
  DEPENDS vellumark
  COMMENT "Making the Windows zip and setup"
  VERBATIM)
