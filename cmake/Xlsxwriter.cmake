# libxlsxwriter, which writes the Excel workbook (xlsx). Found, it is the imported target jwcount::xlsxwriter
# and JWCOUNT_XLSX is ON; otherwise JWCOUNT_XLSX is OFF and everything else builds all the same.
#   JWCOUNT_XLSX=AUTO (the default)  on when the library is found
#   JWCOUNT_XLSX=ON                  the library must be found: the configure stops without it
#   JWCOUNT_XLSX=OFF                 off, nothing is looked for
# Where it is looked for:
#   JWCOUNT_XLSXWRITER_ROOT          a folder with include/xlsxwriter.h and the static lib/libxlsxwriter.a,
#                                    linked with the toolchain's static zlib (libz.a); the Windows presets name
#                                    the ones that ./dev builds (build/deps/xlsxwriter-x64 and -x86)
#   otherwise, natively              pkg-config's xlsxwriter (Debian: libxlsxwriter-dev)
# The cache keeps the choice (AUTO, ON or OFF); after this file JWCOUNT_XLSX is a plain ON or OFF.

set(JWCOUNT_XLSX AUTO CACHE STRING "Write the Excel workbook with libxlsxwriter: AUTO (when found), ON or OFF")
set_property(CACHE JWCOUNT_XLSX PROPERTY STRINGS AUTO ON OFF)
set(JWCOUNT_XLSXWRITER_ROOT "" CACHE PATH "A folder with libxlsxwriter built static (include/, lib/)")

# What was asked: AUTO, ON (any true value) or OFF (any false one).
if(JWCOUNT_XLSX STREQUAL "AUTO")
  set(jwcount_xlsx_asked AUTO)
elseif(JWCOUNT_XLSX)
  set(jwcount_xlsx_asked ON)
else()
  set(jwcount_xlsx_asked OFF)
endif()

set(jwcount_xlsx_missing "")
if(jwcount_xlsx_asked STREQUAL "OFF")
  # Nothing is looked for.
elseif(JWCOUNT_XLSXWRITER_ROOT)
  set(jwcount_xlsx_root "${JWCOUNT_XLSXWRITER_ROOT}")
  # libz.a by name, so that a Windows program never imports zlib's DLL through its import library libz.dll.a.
  find_library(JWCOUNT_XLSX_ZLIB NAMES libz.a z)
  if(NOT EXISTS "${jwcount_xlsx_root}/include/xlsxwriter.h"
     OR NOT EXISTS "${jwcount_xlsx_root}/lib/libxlsxwriter.a")
    set(jwcount_xlsx_missing "not in ${jwcount_xlsx_root}")
  elseif(NOT JWCOUNT_XLSX_ZLIB)
    set(jwcount_xlsx_missing "zlib, which it links, is not found")
  else()
    add_library(jwcount::xlsxwriter STATIC IMPORTED)
    set_target_properties(jwcount::xlsxwriter PROPERTIES
      IMPORTED_LOCATION "${jwcount_xlsx_root}/lib/libxlsxwriter.a"
      INTERFACE_INCLUDE_DIRECTORIES "${jwcount_xlsx_root}/include"
      INTERFACE_LINK_LIBRARIES "${JWCOUNT_XLSX_ZLIB}")
  endif()
elseif(CMAKE_CROSSCOMPILING)
  # The build machine's pkg-config would hand over the build machine's library.
  set(jwcount_xlsx_missing "JWCOUNT_XLSXWRITER_ROOT is not set for this cross build")
else()
  find_package(PkgConfig QUIET)
  if(PkgConfig_FOUND)
    pkg_check_modules(JWCOUNT_XLSXWRITER QUIET IMPORTED_TARGET xlsxwriter)
  endif()
  if(TARGET PkgConfig::JWCOUNT_XLSXWRITER)
    add_library(jwcount::xlsxwriter INTERFACE IMPORTED)
    target_link_libraries(jwcount::xlsxwriter INTERFACE PkgConfig::JWCOUNT_XLSXWRITER)
  elseif(PkgConfig_FOUND)
    set(jwcount_xlsx_missing "pkg-config knows no xlsxwriter")
  else()
    set(jwcount_xlsx_missing "there is no pkg-config to find it with")
  endif()
endif()

if(TARGET jwcount::xlsxwriter)
  set(JWCOUNT_XLSX ON)
  message(STATUS "jwcount: libxlsxwriter found: the Excel workbook (xlsx) is on")
elseif(jwcount_xlsx_asked STREQUAL "OFF")
  set(JWCOUNT_XLSX OFF)
  message(STATUS "jwcount: JWCOUNT_XLSX is OFF: the Excel workbook (xlsx) is off")
elseif(jwcount_xlsx_asked STREQUAL "ON")
  message(FATAL_ERROR "jwcount: JWCOUNT_XLSX is ON, but libxlsxwriter is not found (${jwcount_xlsx_missing})")
else()
  set(JWCOUNT_XLSX OFF)
  message(NOTICE "jwcount: libxlsxwriter not found (${jwcount_xlsx_missing}): the Excel workbook (xlsx) is off")
endif()
