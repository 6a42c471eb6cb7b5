# SPDX-License-Identifier: MIT
# The portable Windows zip, Vellumark-<version>-win64.zip in the build folder:
# vellumark.exe, the Qt DLLs and the plugins it loads, the MinGW runtime and data/
# (問題.dat made from 問題.org, 問題.org, 音/). Unzipped anywhere, it runs.
#   cmake --build <build> --target windows_zip
set(VELLUMARK_ZIP_NAME Vellumark-${PROJECT_VERSION}-win64)
set(VELLUMARK_ZIP ${CMAKE_BINARY_DIR}/${VELLUMARK_ZIP_NAME}.zip)
set(stage ${CMAKE_BINARY_DIR}/zip/${VELLUMARK_ZIP_NAME})

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

set(zip_commands "")
set(zip_entries vellumark.exe data)
foreach(target IN LISTS qt_libraries)
  list(APPEND zip_commands COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${stage}/)
  list(APPEND zip_entries $<TARGET_FILE_NAME:${target}>)
endforeach()
foreach(plugin IN LISTS qt_plugins)
  string(REPLACE "=" ";" plugin "${plugin}")
  list(GET plugin 0 folder)
  list(GET plugin 1 target)
  if(NOT TARGET ${target})
    message(FATAL_ERROR "Qt has no ${target}: the zip would not run")
  endif()
  list(APPEND zip_commands COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/${folder}
                           COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${stage}/${folder}/)
  list(APPEND zip_entries ${folder})
endforeach()
list(REMOVE_DUPLICATES zip_entries)
foreach(dll IN LISTS runtime_dlls)
  get_filename_component(name "${dll}" NAME)
  list(APPEND zip_commands COMMAND ${CMAKE_COMMAND} -E copy ${dll} ${stage}/)
  list(APPEND zip_entries ${name})
endforeach()
# Symbol tables and debug sections are a third of the zip otherwise.
if(CMAKE_STRIP AND NOT MSVC)
  list(APPEND zip_commands COMMAND ${CMAKE_STRIP} --strip-unneeded ${stage}/vellumark.exe)
  foreach(target IN LISTS qt_libraries)
    list(APPEND zip_commands COMMAND ${CMAKE_STRIP} --strip-unneeded ${stage}/$<TARGET_FILE_NAME:${target}>)
  endforeach()
  foreach(dll IN LISTS runtime_dlls)
    get_filename_component(name "${dll}" NAME)
    list(APPEND zip_commands COMMAND ${CMAKE_STRIP} --strip-unneeded ${stage}/${name})
  endforeach()
  foreach(plugin IN LISTS qt_plugins)
    string(REPLACE "=" ";" plugin "${plugin}")
    list(GET plugin 0 folder)
    list(GET plugin 1 target)
    list(APPEND zip_commands COMMAND ${CMAKE_STRIP} --strip-unneeded ${stage}/${folder}/$<TARGET_FILE_NAME:${target}>)
  endforeach()
endif()

add_custom_target(windows_zip
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/zip ${VELLUMARK_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/data/音
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:vellumark> ${stage}/
  ${zip_commands}
  # The user's pairs start as the factory set.
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/問題.org ${stage}/data/問題.org
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/問題.org ${stage}/data/問題.dat
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/音/karasu.wav ${PROJECT_SOURCE_DIR}/data/音/o.wav
          ${stage}/data/音/
  COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E tar cf ${VELLUMARK_ZIP} --format=zip ${zip_entries}
  DEPENDS vellumark
  COMMENT "Making ${VELLUMARK_ZIP_NAME}.zip"
  VERBATIM)
