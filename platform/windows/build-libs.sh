#!/usr/bin/env bash
# Cross-builds the libraries the Windows game links into PREFIX: FreeType,
# SDL 1.2 (with SDLmain), SDL_mixer (WAV only) and the small SDL_ttf of
# platform/sdl_ttf. Sources are Debian's, fetched with apt-get
# source into WORKDIR.
# Usage: build-libs.sh PREFIX WORKDIR [SOURCE...]
# SOURCEs are apt-get source's names (libsdl1.2/bookworm, freetype=VERSION);
# by default libsdl1.2, sdl-mixer1.2 and freetype.
set -euo pipefail
prefix=$1
work=$2
shift 2
[ $# -gt 0 ] || set -- libsdl1.2 sdl-mixer1.2 freetype
ttf=$(cd "$(dirname "$0")/../sdl_ttf" && pwd)
host=x86_64-w64-mingw32
jobs=${VELMORA_JOBS:-2}

rm -rf "$prefix" "$work"
mkdir -p "$prefix" "$work"
cd "$work"
apt-get source -q "$@" >fetch.log 2>&1 || { cat fetch.log; exit 1; }
src() { find "$work" -maxdepth 1 -type d -name "$1-*" | head -n 1; }

export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
export PKG_CONFIG_PATH=
export CPPFLAGS="-I$prefix/include"
export LDFLAGS="-L$prefix/lib"

echo "== FreeType"
cd "$(src freetype)"
./configure -q --host=$host --prefix="$prefix" --enable-shared --disable-static \
    --without-zlib --without-bzip2 --without-png --without-harfbuzz --without-brotli --without-librsvg
make -s -j"$jobs"
make -s install

echo "== SDL 1.2"
cd "$(src libsdl1.2)"
# Debian drops -lmingw32 -lSDLmain -mwindows from sdl.pc; a Windows program
# cannot link without them (no WinMain).
patch -R -p1 <debian/patches/dont_propagate_lpthread.diff
./configure -q --host=$host --prefix="$prefix" --enable-shared --disable-static --disable-stdio-redirect
make -s -j"$jobs"
make -s install

echo "== SDL_mixer (WAV only)"
cd "$(src sdl-mixer1.2)"
# Debian's patches touch configure.in; the shipped configure is what we run.
touch configure
./configure -q --host=$host --prefix="$prefix" --enable-shared --disable-static \
    --with-sdl-prefix="$prefix" --disable-sdltest \
    --disable-music-cmd --disable-music-mod --disable-music-mod-modplug --disable-music-midi \
    --disable-music-ogg --disable-music-flac --disable-music-mp3 --disable-music-mp3-mad-gpl \
    --disable-smpegtest
# The library and its header only: the example players do not link.
make -s -j"$jobs" install-hdrs install-lib

echo "== SDL_ttf (FreeType text rendering for the game)"
mkdir -p "$work/sdl_ttf" "$prefix/include/SDL"
cd "$work/sdl_ttf"
$host-g++ -std=c++17 -O2 -Wall -Wextra -Wshadow -Wconversion -c "$ttf/SDL_ttf.cpp" \
    -I"$ttf" -I"$prefix/include/SDL" -I"$prefix/include/freetype2" -o SDL_ttf.o
$host-ar rcs "$prefix/lib/libSDL_ttf.a" SDL_ttf.o
cp "$ttf/SDL_ttf.h" "$prefix/include/SDL/"
cat >"$prefix/lib/pkgconfig/SDL_ttf.pc" <<EOF
prefix=$prefix
Name: SDL_ttf
Description: TrueType text rendering for SDL 1.2 over FreeType
Version: 2.0.11
Requires: sdl freetype2
Libs: -L\${prefix}/lib -lSDL_ttf
Cflags: -I\${prefix}/include/SDL
EOF

# Licence texts of what the Windows game ships.
mkdir -p "$prefix/licenses"
cp "$(src libsdl1.2)/COPYING" "$prefix/licenses/SDL-COPYING.txt"
cp "$(src sdl-mixer1.2)/COPYING" "$prefix/licenses/SDL_mixer-COPYING.txt"
cp "$(src freetype)/docs/FTL.TXT" "$prefix/licenses/FreeType-FTL.txt"
cp "$(src freetype)/LICENSE.TXT" "$prefix/licenses/FreeType-LICENSE.txt"
