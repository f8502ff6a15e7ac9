# The rooms of the code and the rooms each may include from. Arrows point down only:
#   text   tempfile <- counting <- takeoff <- report <- app/view <- app/cli, app/win32
# text/ depends on nothing; takeoff/, report/ and the programs use it. Every include of a room's source names the
# room it comes from ("report/CsvWriter.h"), so the rule can be read off the include lines alone.
#
#   cmake -DJWCOUNT_ROOT=<source folder> [-DJWCOUNT_STAMP=<file>] -P cmake/Rooms.cmake
# checks every source and header and stops with an error that names each include breaking the rule; the
# build runs it before compiling anything (see check_rooms below) and whenever a source changes.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()

set(JWCOUNT_ROOMS text tempfile counting takeoff report app/view app/cli app/win32)
set(JWCOUNT_ROOM_text text)
set(JWCOUNT_ROOM_tempfile tempfile)
set(JWCOUNT_ROOM_counting counting tempfile)
set(JWCOUNT_ROOM_takeoff takeoff counting tempfile text)
set(JWCOUNT_ROOM_report report takeoff counting tempfile text)
set(JWCOUNT_ROOM_app/view app/view report takeoff counting tempfile text)
set(JWCOUNT_ROOM_app/cli app/cli app/view report takeoff counting tempfile text)
set(JWCOUNT_ROOM_app/win32 app/win32 app/view report takeoff counting tempfile text)
# Headers from outside the project that a room includes in quotes, as their library writes them; they name no
# room. Only report/ writes the Excel workbook with libxlsxwriter.
set(JWCOUNT_OUTSIDE_report xlsxwriter.h)

# The room an included path names: its longest leading folder that is a room, or "" for none.
function(jwcount_room_of path result)
  set(found "")
  foreach(room IN LISTS JWCOUNT_ROOMS)
    string(LENGTH "${room}/" length)
    string(SUBSTRING "${path}" 0 ${length} head)
    if(head STREQUAL "${room}/")
      set(found ${room})
    endif()
  endforeach()
  set(${result} "${found}" PARENT_SCOPE)
endfunction()

# Every include of every room's files against the room's list; FATAL_ERROR naming each one out of place.
function(jwcount_check_rooms root)
  set(errors "")
  foreach(room IN LISTS JWCOUNT_ROOMS)
    file(GLOB files RELATIVE "${root}" "${root}/${room}/*.h" "${root}/${room}/*.cpp")
    foreach(file IN LISTS files)
      file(STRINGS "${root}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
      foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" included "${line}")
        if(included IN_LIST JWCOUNT_OUTSIDE_${room})
          continue()
        endif()
        jwcount_room_of("${included}" from)
        if(from STREQUAL "")
          string(APPEND errors "\n  ${file}: \"${included}\" names no room (write \"room/File.h\")")
        elseif(NOT from IN_LIST JWCOUNT_ROOM_${room})
          string(APPEND errors "\n  ${file}: \"${included}\" reaches up or across from ${room}/ into ${from}/")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(errors)
    message(FATAL_ERROR "Includes that break the order of the rooms (cmake/Rooms.cmake):${errors}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  jwcount_check_rooms("${JWCOUNT_ROOT}")
  if(JWCOUNT_STAMP)
    file(TOUCH "${JWCOUNT_STAMP}")
  endif()
  return()
endif()

# In the build: checked now, at configure time, and again before any room is compiled whenever one of their
# files changed. Every room's library depends on the target jwcount_rooms.
jwcount_check_rooms("${PROJECT_SOURCE_DIR}")
set(room_globs "")
foreach(room IN LISTS JWCOUNT_ROOMS)
  list(APPEND room_globs "${PROJECT_SOURCE_DIR}/${room}/*.h" "${PROJECT_SOURCE_DIR}/${room}/*.cpp")
endforeach()
file(GLOB room_files CONFIGURE_DEPENDS ${room_globs})
add_custom_command(
  OUTPUT "${PROJECT_BINARY_DIR}/rooms.checked"
  COMMAND "${CMAKE_COMMAND}" "-DJWCOUNT_ROOT=${PROJECT_SOURCE_DIR}"
          "-DJWCOUNT_STAMP=${PROJECT_BINARY_DIR}/rooms.checked" -P "${CMAKE_CURRENT_LIST_FILE}"
  DEPENDS ${room_files} "${CMAKE_CURRENT_LIST_FILE}"
  COMMENT "Checking that every include points down the rooms"
  VERBATIM)
add_custom_target(jwcount_rooms DEPENDS "${PROJECT_BINARY_DIR}/rooms.checked")

# add_jwcount_room(<target> <room> SOURCES...): the room's static library; the include path is the
# repository's root, so every include names its room, and the library waits for the room check.
function(add_jwcount_room target)
  add_library(${target} STATIC ${ARGN})
  target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}")
  target_link_libraries(${target} PRIVATE jwcount_warnings)
  add_dependencies(${target} jwcount_rooms)
endfunction()
