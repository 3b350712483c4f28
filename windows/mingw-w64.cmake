# Cross-building for 64-bit Windows with Debian's mingw-w64 (the posix thread model), against the
# libraries windows/build-libraries.sh made: cmake -DCMAKE_TOOLCHAIN_FILE=windows/mingw-w64.cmake
# -DPLOTNIK_WINDOWS_PREFIX=<its prefix>. Test programs run through wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

# Try-compiles read this file again and need the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PLOTNIK_WINDOWS_PREFIX)
if(NOT PLOTNIK_WINDOWS_PREFIX AND DEFINED ENV{PLOTNIK_WINDOWS_PREFIX})
  set(PLOTNIK_WINDOWS_PREFIX $ENV{PLOTNIK_WINDOWS_PREFIX})
endif()

# Libraries, headers and packages only from the mingw sysroot and the prefix; programs only from
# the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${triplet} ${PLOTNIK_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(PLOTNIK_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} ${PLOTNIK_WINDOWS_PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()

# wine's loader is not on PATH in Debian.
if(EXISTS /usr/lib/wine/wine64)
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
endif()
