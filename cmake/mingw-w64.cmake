# Cross-building for 64-bit Windows with Debian's mingw-w64 toolchain (the
# posix flavour, which has std::thread), into a static .exe that needs no
# DLL beside it. The tests run under wine.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
#
# VEMRA_WINDOWS_DEPS names the folder where .ci/build-windows-deps put the
# libraries Debian has no Windows build of (pcre2, editorconfig, GoogleTest).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT VEMRA_WINDOWS_DEPS AND DEFINED ENV{VEMRA_WINDOWS_DEPS})
  set(VEMRA_WINDOWS_DEPS $ENV{VEMRA_WINDOWS_DEPS})
endif()
if(NOT VEMRA_WINDOWS_DEPS)
  set(VEMRA_WINDOWS_DEPS $ENV{HOME}/.cache/vemra-windows-deps/prefix)
endif()
set(VEMRA_WINDOWS_DEPS ${VEMRA_WINDOWS_DEPS} CACHE PATH "Windows builds of the libraries")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${VEMRA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config (for libgit2) reads only the Windows libraries' files: those
# built into VEMRA_WINDOWS_DEPS and Debian's mingw-w64 zlib.
set(ENV{PKG_CONFIG_LIBDIR} "${VEMRA_WINDOWS_DEPS}/lib/pkgconfig:/usr/x86_64-w64-mingw32/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# Everything linked in: the C and C++ runtimes and winpthreads.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under wine, for test discovery too: through wine-run
# beside this file, in a wine prefix under the build folder with a
# wineserver kept running between the tests.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run ${CMAKE_BINARY_DIR}/wine)
