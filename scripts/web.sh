#!/usr/bin/env bash
# Builds the browser game from this tree: installs what is missing, builds
# (or reuses) FreeType for WebAssembly, the asset generator for this machine
# and then the game, and leaves build-web/ holding the page index.html, the
# game and its data compressed in files/ (the page fetches and decompresses
# them itself), its manifest, icons and service worker (for the home screen
# and playing offline), the licence texts, and
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
source "$root/scripts/cross-build.sh"
# Debian's emscripten runs on node; npm, Chromium, Firefox ESR and WebKitGTK's
# MiniBrowser with its WebDriver are for the tests. A node from elsewhere
# (NodeSource) also provides nodejs and npm.
web_packages=(emscripten binaryen zopfli chromium firefox-esr webkit2gtk-driver zip dpkg-dev)
command -v node >/dev/null || web_packages+=(nodejs)
command -v npm >/dev/null || web_packages+=(npm)
install_missing "${web_packages[@]}"
# emcc's optimiser needs Debian's acorn, which only Debian's node finds by
# itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# Debian's FreeType source: the one this machine's libfreetype6 was built
# from, as the Linux game whose pictures the browser's are compared with
# draws through it (scripts/debian-sources.sh).
source "$root/scripts/debian-sources.sh"
debian_sources
# The test command installs first, everything at once, so that nothing
# installs while its tests run.
[ "${1:-}" != --install-only ] || exit 0
freetype=$(freetype_source)

# FreeType lives outside the clone, keyed by its source version, the
# compiler and the script that builds it.
key=$( { source_versions "$freetype";
         emcc --version | sed -n 1p; cat "$web/build-freetype.sh"; } | sha256sum | cut -c1-16)
cached_prefix web "$key" "FreeType for WebAssembly" "$web/build-freetype.sh" "$freetype"

echo "== The asset generator, built for this machine"
cmake -S . -B "$work/native" -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF >/dev/null
cmake --build "$work/native" -j2 --target velmora_make_assets velmora_make_icon

echo "== The game for the browser"
emcmake cmake -S . -B "$work/game" -DCMAKE_BUILD_TYPE=Release -DVELMORA_WEB_PREFIX="$prefix" \
    -DVELMORA_NATIVE_TOOLS="$work/native/velmora-native-tools.cmake" >/dev/null
cmake --build "$work/game" -j2

version=$(sed -nE 's/^project\(velmora VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
name=velmora-$version-web
rm -rf "$out"
mkdir -p "$out/licenses"
cp -r "$work/game/site/." "$out/"
cp LICENSE "$out/LICENSE"
font_terms "$out/licenses"
cp "$prefix"/licenses/* "$out/licenses/"
mkdir -p "$work/stage"
rm -rf "${work:?}/stage/$name"
cp -r "$out" "$work/stage/$name"
zip_same_bytes "$work/stage" "$name" "$out/$name.zip"

echo "== Done in $(( $(date +%s) - started )) s:"
printf '   %9d bytes  %s\n' "$(stat -c %s "$out/index.html")" "build-web/index.html" \
    "$(cat "$out"/files/* | wc -c)" "build-web/files/ ($(ls "$out/files" | wc -l) files, compressed)" \
    "$(stat -c %s "$out/$name.zip")" "build-web/$name.zip"
