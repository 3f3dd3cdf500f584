#!/usr/bin/env bash
# Builds the Windows game from this tree: installs what is missing, builds
# (or reuses) the cross-built libraries, cross-builds velmora.exe and leaves
# build-win64/velmora-VERSION-win64.zip and velmora-VERSION-win64-setup.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-win64
here=$root/packaging/windows
target=$root/platform/windows
started=$(date +%s)

bash scripts/install-deps.sh
source "$root/scripts/cross-build.sh"
# The linker and strip date the programs with it: the commit's, not the
# moment of the build.
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(source_date_epoch)
install_missing g++-mingw-w64-x86-64 mingw-w64-tools wine64 wine nsis zip unzip dpkg-dev patch python3 icoutils

# Debian's library sources: classic SDL 1.2 and SDL_mixer 1.2 as Debian 12
# has them, the last release with classic SDL; FreeType from the source of
# this machine's libfreetype6, so that the Windows game draws its texts
# with the FreeType the Linux game uses and their pictures compare like
# with like (scripts/debian-sources.sh).
source "$root/scripts/debian-sources.sh"
debian_sources
# The test command installs first, everything at once, so that nothing
# installs while its tests run.
[ "${1:-}" != --install-only ] || exit 0
sources=(libsdl1.2/bookworm sdl-mixer1.2/bookworm "$(freetype_source)")

# The library prefix lives outside the clone, keyed by the source versions,
# the compiler and everything that builds it (platform/windows, platform/sdl_ttf).
versions=$(source_versions "${sources[@]}")
# What the libraries are built from, for the wine test to compare with the
# Linux game's.
mkdir -p "$out"
echo "$versions" >"$out/library-sources.txt"
key=$( { echo "$versions"; x86_64-w64-mingw32-g++ --version | sed -n 1p;
         cat "$target/build-libs.sh" "$root"/platform/sdl_ttf/*; } | sha256sum | cut -c1-16)
cached_prefix win64 "$key" "the Windows libraries" "$target/build-libs.sh" "${sources[@]}"

echo "== The asset generator and the icon drawer, built for this machine"
cmake -S . -B "$out/native" -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF >/dev/null
cmake --build "$out/native" -j2 --target velmora_make_assets velmora_make_icon

echo "== velmora.exe"
export VELMORA_WIN64_PREFIX=$prefix
# The game's build folder keeps the prefix it was first configured with,
# and CMake keeps pkg-config's answers for it: with libraries of a new key
# it would link the old ones (or fail once they are cleaned away), so it
# starts afresh.
if [ -f "$out/game/CMakeCache.txt" ] &&
   ! grep -qxF "VELMORA_WIN64_PREFIX:PATH=$prefix" "$out/game/CMakeCache.txt"; then
    rm -rf "$out/game"
fi
cmake -S . -B "$out/game" -DCMAKE_TOOLCHAIN_FILE="$target/toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DVELMORA_NATIVE_TOOLS="$out/native/velmora-native-tools.cmake" >/dev/null
cmake --build "$out/game" -j2

version=$(sed -nE 's/^project\(velmora VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
name=velmora-$version-win64
stage=$out/stage/$name
rm -rf "$out/stage" "$out/$name.zip" "$out/$name-setup.exe"
mkdir -p "$stage/licenses"
cp "$out/game/velmora.exe" "$prefix"/bin/*.dll "$stage/"
python3 "$here/pe-export-date.py" "$SOURCE_DATE_EPOCH" "$stage"/*.dll
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll
cp -r "$out/game/data" "$stage/data"
rm -f "$stage/data/.generated"
cp "$prefix"/licenses/* "$stage/licenses/"
font_terms "$stage/licenses"
cp "$here/README.txt" "$stage/README.txt"
# The game's own licence, with Windows line ends, beside the others'.
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"

# The zip sets the stage's modes and dates, which the installer keeps too.
zip_same_bytes "$out/stage" "$name" "$out/$name.zip"

# The uninstaller removes exactly the files the installer put there.
(cd "$stage" && find . -type f | sed 's|^\./||; s|/|\\|g' | LC_ALL=C sort |
    sed 's|.*|  Delete "$INSTDIR\\&"|' >"$out/stage/uninstall-files.nsh"
 cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||; s|/|\\|g' | LC_ALL=C sort -r |
    sed 's|.*|  RMDir "$INSTDIR\\&"|' >"$out/stage/uninstall-dirs.nsh")
# The size the list of programs shows: the files' own, which du's blocks
# are not (they depend on the file system).
size_kb=$(find "$stage" -type f -printf '%s\n' | awk '{ s += $1 } END { printf "%d", (s + 1023) / 1024 }')
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DLISTS="$out/stage" \
    -DICON="$out/game/packaging/velmora.ico" -DSIZE_KB="$size_kb" \
    -DOUTFILE="$out/$name-setup.exe" "$here/velmora.nsi"

echo "== Done in $(( $(date +%s) - started )) s:"
ls -l "$out/$name.zip" "$out/$name-setup.exe" | awk '{print "   " $5 " bytes  " $9}'
