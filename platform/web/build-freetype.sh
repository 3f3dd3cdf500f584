#!/usr/bin/env bash
# Builds FreeType for the browser (WebAssembly, a static library) from
# Debian's source package into PREFIX, with its licence texts under
# PREFIX/licenses. The text renderer of platform/sdl_ttf draws with it.
# Usage: build-freetype.sh PREFIX WORKDIR [SOURCE]  (apt-get source's name, freetype=VERSION)
set -euo pipefail
prefix=$1
work=$2
jobs=${VELMORA_JOBS:-2}

rm -rf "$prefix" "$work"
mkdir -p "$prefix/licenses" "$work"
cd "$work"
apt-get source -q "${3:-freetype}" >fetch.log 2>&1 || { cat fetch.log; exit 1; }
src=$(find "$work" -maxdepth 1 -type d -name 'freetype-*' | head -n 1)

# The same library as the Linux and Windows games draw with, without the
# optional formats and compressors the game's font does not need.
emcmake cmake -S "$src" -B "$work/build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
    -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON >configure.log 2>&1 || { cat configure.log; exit 1; }
cmake --build "$work/build" -j"$jobs" >build.log 2>&1 || { tail -n 40 build.log; exit 1; }
cmake --install "$work/build" >install.log 2>&1 || { cat install.log; exit 1; }

cp "$src/docs/FTL.TXT" "$prefix/licenses/FreeType-FTL.txt"
cp "$src/LICENSE.TXT" "$prefix/licenses/FreeType-LICENSE.txt"
