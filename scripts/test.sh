#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit tests,
# headless simulations, valgrind, the package and the end-to-end tests under
# Xvfb; the same again on each other SDL 1.2 the system has (but valgrind
# and the benchmark's smoke run); the Windows build under wine; the frame
# benchmark's figures; on Debian 12 the suite in a Debian 13 root too; then
# the whole suite again in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
# Everything this command starts carries this mark in its environment; a
# process with it still running at the end is named and ended, and fails
# the command.
export VELMORA_TEST_RUN="test-$$-$(date +%s%N)"
finish() { local rc=$?; env -u VELMORA_TEST_RUN bash scripts/leftovers.sh "$VELMORA_TEST_RUN" || rc=1; exit "$rc"; }
trap finish EXIT
bash scripts/build.sh

# Debian 12 has classic SDL 1.2 by default and sdl12-compat (SDL 1.2 over
# SDL2) beside it; Debian 13 has sdl12-compat alone. The tests that use SDL
# run on each one found; the test programs check which library they loaded.
source scripts/sdl-libraries.sh
mapfile -t libraries < <(sdl_libraries build/tests/velmora_probe)
[ ${#libraries[@]} -gt 0 ] || { echo "no SDL 1.2 library loads here" >&2; exit 1; }
echo "== SDL 1.2 on this system (kind, version, file, folder; '-' is the default):"
printf '   %s\n' "${libraries[@]}"
read -r kind version _ <<<"${libraries[0]}"
echo "== Every test on $kind $version, the system's default"
VELMORA_EXPECT_SDL=$kind ctest --test-dir build --output-on-failure -j"$(nproc)"
[ ${#libraries[@]} -gt 1 ] || echo "== This system has one SDL 1.2 ($kind $version): the tests ran once"
for entry in "${libraries[@]:1}"; do
  read -r kind version _ folder <<<"$entry"
  echo "== The end-to-end and headless tests again on $kind $version ($folder)"
  LD_LIBRARY_PATH=$folder${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} VELMORA_EXPECT_SDL=$kind \
    ctest --test-dir build --output-on-failure -j"$(nproc)" -LE 'valgrind|bench'
done

# The same walk on a Wayland desktop (sway, headless), each way a player
# runs the game there.
echo "== The end-to-end walk on a Wayland desktop (sway with Xwayland, 1920x1080)"
bash tests/e2e/wayland/walk.sh "$PWD/build/velmora" "$PWD/build" "$PWD/build/tests/velmora_probe" \
    "$PWD/build/tests/velmora_wl_input"

# The Windows game, cross-built, and its end-to-end test under wine.
echo "== The Windows build and its end-to-end test under wine (zip, installer)"
bash scripts/windows.sh
version=$(sed -nE 's/^project\(velmora VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
bash tests/e2e/wine/e2e_windows.sh "build-win64/velmora-$version-win64.zip" \
    "build-win64/velmora-$version-win64-setup.exe" build/tests/velmora_probe build/velmora build

# The browser game from the same tree, and its tests in headless Chromium.
echo "== The browser build and its tests (replays under node, the walk in headless Chromium)"
bash tests/web/run.sh

echo "== The .debs built twice and the zips made twice: the same bytes (release.sh --verify does it all)"
bash tests/release/same_downloads.sh
echo "== The pictures in docs/ taken again: what they show, and not stale"
bash tests/release/pictures.sh

echo "== Frame benchmark (figures only; timing never fails the run)"
bash bench/run.sh build
echo "== The game's cost on a display, on each SDL 1.2 (figures only)"
bash bench/live.sh build

echo "== The suite on Debian 13, in a root of its own (nothing to add on Debian 13 itself)"
bash scripts/debian13.sh

echo "== The same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0
# The package test installs a release build and valgrind cannot run a
# sanitized program; everything else runs again.
ctest --test-dir build-asan --output-on-failure -j"$(nproc)" -E '^e2e_install$' -LE valgrind
