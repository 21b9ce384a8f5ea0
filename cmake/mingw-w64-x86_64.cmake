# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads).
# The Windows builds of Qt, libxml2 and GoogleTest are looked for under
# VARNOLO_MINGW_CACHE (scripts/windows.sh builds them there once).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)

if(NOT DEFINED VARNOLO_MINGW_CACHE)
  if(DEFINED ENV{VARNOLO_MINGW_CACHE})
    set(VARNOLO_MINGW_CACHE $ENV{VARNOLO_MINGW_CACHE})
  else()
    set(VARNOLO_MINGW_CACHE $ENV{HOME}/.cache/varnolo-mingw)
  endif()
endif()
set(VARNOLO_MINGW_CACHE ${VARNOLO_MINGW_CACHE} CACHE PATH "Windows builds of Qt, libxml2 and GoogleTest")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VARNOLO_MINGW_CACHE)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple} ${VARNOLO_MINGW_CACHE}/qt6 ${VARNOLO_MINGW_CACHE}/libxml2
    ${VARNOLO_MINGW_CACHE}/gtest)
set(CMAKE_PREFIX_PATH ${VARNOLO_MINGW_CACHE}/qt6 ${VARNOLO_MINGW_CACHE}/libxml2 ${VARNOLO_MINGW_CACHE}/gtest)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's tools (moc, uic, rcc) come from the host's Qt of the same version.
if(NOT DEFINED QT_HOST_PATH)
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()

# Tests and build-time tools run under Wine, in the project's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
