# Installs the build into a scratch prefix and checks what a desktop finds
# there: the menu entry opens *.cpro files, the file type is registered with
# the icon it names, in every size of the program's icon, and the user guide
# lies where the installed program looks for it.
# cmake -DBUILD_DIR=<build> -DPREFIX=<scratch folder> -P install_layout.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
set(share ${PREFIX}/share)

# Fails unless the file holds the line, whole.
function(require_line file line)
  file(READ ${file} content)
  string(FIND "\n${content}\n" "\n${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${file} has no line \"${line}\"")
  endif()
endfunction()

set(type application/x-mirel-project)
string(REPLACE "/" "-" icon ${type})
foreach(file applications/com.mirel.Mirel.desktop mime/packages/com.mirel.Mirel.xml
             mirel/doc/guide_zh.md mirel/doc/guide_en.md)
  if(NOT EXISTS ${share}/${file})
    message(FATAL_ERROR "not installed: share/${file}")
  endif()
endforeach()

# The menu entry opens the files of the type.
require_line(${share}/applications/com.mirel.Mirel.desktop "Exec=mirel %f")
require_line(${share}/applications/com.mirel.Mirel.desktop "MimeType=${type};")

file(GLOB sizes RELATIVE ${share}/icons/hicolor ${share}/icons/hicolor/*/apps/mirel.png)
list(LENGTH sizes count)
if(count LESS 1)
  message(FATAL_ERROR "no program icon in share/icons/hicolor")
endif()
foreach(size ${sizes})
  string(REPLACE "/apps/mirel.png" "" size ${size})
  if(NOT EXISTS ${share}/icons/hicolor/${size}/mimetypes/${icon}.png)
    message(FATAL_ERROR "no ${size} icon for ${type}")
  endif()
endforeach()

# The file type as the desktop's MIME database reads it.
find_program(UPDATE_MIME_DATABASE update-mime-database)
if(UPDATE_MIME_DATABASE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_DIRS=${share}
                          ${UPDATE_MIME_DATABASE} ${share}/mime RESULT_VARIABLE status
                  ERROR_VARIABLE complaints)
  if(NOT status EQUAL 0 OR NOT complaints STREQUAL "")
    message(FATAL_ERROR "update-mime-database: ${status} ${complaints}")
  endif()
  require_line(${share}/mime/globs2 "50:${type}:*.cpro")
  require_line(${share}/mime/icons "${type}:${icon}")
else()
  message(STATUS "update-mime-database not found: the MIME database is not checked")
endif()
