#!/usr/bin/env bash
# Builds the browser game from this tree: installs what is missing, builds
# (or reuses) FreeType for WebAssembly, the asset generator for this machine
# and then the game, and leaves build-web/ holding the page velmora.html with
# velmora.js, velmora.wasm and velmora.data, the licence texts, and
# velmora-VERSION-web.zip of the same. Any static web host serves the folder
# as it is. The builds themselves live in build-web-work/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-web
work=$root/build-web-work
web=$root/platform/web
started=$(date +%s)

bash scripts/install-deps.sh
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive

# Debian's emscripten runs on node; npm and Chromium are for the tests.
web_packages=(emscripten binaryen nodejs chromium zip dpkg-dev)
command -v npm >/dev/null || web_packages+=(npm)
missing=()
for p in "${web_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# A node from elsewhere (NodeSource) also provides nodejs and npm.
if command -v node >/dev/null; then
    for i in "${!missing[@]}"; do [ "${missing[$i]}" = nodejs ] && unset 'missing[i]'; done
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=900 update -q
    "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}"
fi
# emcc's optimiser needs Debian's acorn, which only Debian's node finds by
# itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# Debian's FreeType source: the one this machine's libfreetype6 was built
# from, as the Linux game whose pictures the browser's are compared with
# draws through it (scripts/debian-sources.sh).
source "$root/scripts/debian-sources.sh"
debian_sources
freetype=$(freetype_source)

# FreeType lives outside the clone, keyed by its source version, the
# compiler and the script that builds it.
key=$( { source_versions "$freetype";
         emcc --version | sed -n 1p; cat "$web/build-freetype.sh"; } | sha256sum | cut -c1-16)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/velmora-web/$key
prefix=$cache/prefix
# Two builds on one machine share it: the second waits while the first
# builds it.
mkdir -p "$(dirname "$cache")"
exec 9>"$cache.lock"
flock 9
if [ -f "$cache/complete" ]; then
    echo "== Reusing FreeType for WebAssembly in $prefix"
    touch "$cache/complete"
else
    echo "== Building FreeType for WebAssembly into $prefix (key $key)"
    lib_start=$(date +%s)
    rm -rf "$cache"
    bash "$web/build-freetype.sh" "$prefix" "$cache/work" "$freetype"
    rm -rf "$cache/work"
    touch "$cache/complete"
    echo "== FreeType built in $(( $(date +%s) - lib_start )) s"
fi
exec 9>&-
# Finished builds of other keys that no build has used for a month go.
for other in "$(dirname "$cache")"/*/; do
    other=${other%/}
    if [ "$other" != "$cache" ] && [ -f "$other/complete" ] &&
       [ -z "$(find "$other/complete" -mtime -30)" ]; then
        rm -rf "$other" "$other.lock"
    fi
done

echo "== The asset generator, built for this machine"
cmake -S . -B "$work/native" -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF >/dev/null
cmake --build "$work/native" -j2 --target velmora_make_assets

echo "== The game for the browser"
emcmake cmake -S . -B "$work/game" -DCMAKE_BUILD_TYPE=Release -DVELMORA_WEB_PREFIX="$prefix" \
    -DVELMORA_NATIVE_TOOLS="$work/native/velmora-native-tools.cmake" >/dev/null
cmake --build "$work/game" -j2

version=$(sed -nE 's/^project\(velmora VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
name=velmora-$version-web
rm -rf "$out"
mkdir -p "$out/licenses"
cp "$work/game"/velmora.{html,js,wasm,data} "$out/"
cp LICENSE "$out/LICENSE"
font_terms "$out/licenses"
cp "$prefix"/licenses/* "$out/licenses/"
mkdir -p "$work/stage"
rm -rf "${work:?}/stage/$name"
cp -r "$out" "$work/stage/$name"
(cd "$work/stage" && zip -q -r -X "$out/$name.zip" "$name")

echo "== Done in $(( $(date +%s) - started )) s:"
for f in "$out"/velmora.{html,js,wasm,data} "$out/$name.zip"; do
    printf '   %9d bytes  %9d gzipped  %s\n' "$(stat -c %s "$f")" "$(gzip -9 -c "$f" | wc -c)" "${f#"$root"/}"
done
