# Cross-building Scanlet for 64-bit Windows with mingw-w64 (posix threads) against the Qt made by
# tools/windows/build-qt.sh. Set SCANLET_WIN_QT to that Qt's prefix.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT SCANLET_WIN_QT)
  set(SCANLET_WIN_QT "$ENV{SCANLET_WIN_QT}")
endif()
# The compiler checks configure projects of their own: they are handed the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SCANLET_WIN_QT)
if(NOT EXISTS "${SCANLET_WIN_QT}/lib/cmake/Qt5/Qt5Config.cmake")
  message(FATAL_ERROR "SCANLET_WIN_QT must name the Windows Qt (tools/windows/build-qt.sh prints it)")
endif()
set(SCANLET_WIN_QT "${SCANLET_WIN_QT}" CACHE PATH "The cross-built Qt's prefix")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${SCANLET_WIN_QT}")
set(CMAKE_PREFIX_PATH "${SCANLET_WIN_QT}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# The translation tools run on the build machine: the host's Qt brings them, and the catalogue
# they make is the same file on every platform.
set(SCANLET_HOST_LINGUIST_DIR /usr/lib/x86_64-linux-gnu/cmake/Qt5LinguistTools)
