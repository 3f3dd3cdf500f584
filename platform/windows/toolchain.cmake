# Cross-compiling the game for 64-bit Windows with MinGW-w64 on Debian.
# VELMORA_WIN64_PREFIX (environment) holds the libraries built by
# build-libs.sh; pkg-config looks only there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(VELMORA_WIN64_PREFIX "$ENV{VELMORA_WIN64_PREFIX}" CACHE PATH "The Windows library prefix")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${VELMORA_WIN64_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(ENV{PKG_CONFIG_LIBDIR} "${VELMORA_WIN64_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
