# Cross-compiling the game for another Debian architecture (arm64, armhf,
# s390x) with Debian's cross compilers, against that architecture's own
# Debian libraries unpacked into a sysroot; scripts/cross-arch.sh makes the
# sysroot and sets VELMORA_DEB_ARCH and VELMORA_SYSROOT (environment).
# Programs built here run under qemu-user, so the tests run as they do on
# the build machine.
set(VELMORA_DEB_ARCH "$ENV{VELMORA_DEB_ARCH}" CACHE STRING "The Debian architecture built for")
set(VELMORA_SYSROOT "$ENV{VELMORA_SYSROOT}" CACHE PATH "The target's libraries, unpacked")
if(VELMORA_DEB_ARCH STREQUAL "arm64")
  set(triplet aarch64-linux-gnu)
  set(CMAKE_SYSTEM_PROCESSOR aarch64)
  set(qemu qemu-aarch64)
elseif(VELMORA_DEB_ARCH STREQUAL "armhf")
  set(triplet arm-linux-gnueabihf)
  set(CMAKE_SYSTEM_PROCESSOR arm)
  set(qemu qemu-arm)
elseif(VELMORA_DEB_ARCH STREQUAL "s390x")
  set(triplet s390x-linux-gnu)
  set(CMAKE_SYSTEM_PROCESSOR s390x)
  set(qemu qemu-s390x)
else()
  message(FATAL_ERROR "VELMORA_DEB_ARCH: arm64, armhf or s390x, not '${VELMORA_DEB_ARCH}'")
endif()
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${triplet}-gcc)
set(CMAKE_CXX_COMPILER ${triplet}-g++)
set(CMAKE_SYSROOT ${VELMORA_SYSROOT})
set(CMAKE_LIBRARY_ARCHITECTURE ${triplet})
# The sysroot's folder is named nowhere in the programs: its headers are
# /usr/include's, as in a native build.
set(flags "-ffile-prefix-map=${VELMORA_SYSROOT}=")
# 32-bit ARM reads folders with 64-bit offsets: under qemu-user on a 64-bit
# host, ext4's offsets do not fit the 32-bit call (EOVERFLOW), and on
# Debian's later releases these are the defaults anyway.
if(VELMORA_DEB_ARCH STREQUAL "armhf")
  string(APPEND flags " -D_FILE_OFFSET_BITS=64")
endif()
set(CMAKE_C_FLAGS_INIT "${flags}")
set(CMAKE_CXX_FLAGS_INIT "${flags}")
set(CMAKE_CROSSCOMPILING_EMULATOR ${qemu} -L ${VELMORA_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(ENV{PKG_CONFIG_LIBDIR}
    "${VELMORA_SYSROOT}/usr/lib/${triplet}/pkgconfig:${VELMORA_SYSROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "${VELMORA_SYSROOT}")
# dpkg-buildflags' hardening flags are the target's.
set(ENV{DEB_HOST_ARCH} ${VELMORA_DEB_ARCH})
