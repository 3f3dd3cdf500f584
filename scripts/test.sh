#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit tests,
# headless simulations, valgrind, the package and the end-to-end tests under
# Xvfb; the same again on sdl12-compat (but valgrind and the benchmark's
# smoke run); the frame benchmark's figures; then the whole
# suite again in a build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
VELMORA_EXPECT_SDL=classic ctest --test-dir build --output-on-failure -j"$(nproc)"

# Current distributions ship SDL 1.2 as sdl12-compat (over SDL2); Debian 12
# installs it beside classic SDL. The tests that use SDL run again on it; the
# tests themselves check which library their programs loaded.
echo "== The end-to-end and headless tests again on sdl12-compat"
# (Whole outputs are read before grep: under pipefail, grep -q leaving early
# would fail the pipe with SIGPIPE.)
compat_sdl=$(dpkg -L libsdl1.2-compat | grep -m 1 '/sdl12-compat/libSDL-1\.2\.so\.0$' || true)
compat_dir=$(dirname "${compat_sdl:-/none/x}")
compat_ldd=$(LD_LIBRARY_PATH=$compat_dir ldd build/velmora)
if ! grep -q "libSDL-1.2.so.0 => $compat_dir/" <<<"$compat_ldd"; then
  echo "the game does not load sdl12-compat from '$compat_dir'" >&2
  exit 1
fi
LD_LIBRARY_PATH=$compat_dir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} VELMORA_EXPECT_SDL=compat \
  ctest --test-dir build --output-on-failure -j"$(nproc)" -LE 'valgrind|bench'

# The Windows game, cross-built, and its end-to-end test under wine.
echo "== The Windows build and its end-to-end test under wine (zip, installer)"
bash scripts/windows.sh
version=$(sed -nE 's/^project\(velmora VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
bash tests/e2e/wine/e2e_windows.sh "build-win64/velmora-$version-win64.zip" \
    "build-win64/velmora-$version-win64-setup.exe" build/tests/velmora_probe build/velmora build

echo "== Frame benchmark (figures only; timing never fails the run)"
bash bench/run.sh build
echo "== The game's cost on a display, on classic SDL 1.2 and on sdl12-compat (figures only)"
bash bench/live.sh build

echo "== The same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0
# The package test installs a release build and valgrind cannot run a
# sanitized program; everything else runs again.
ctest --test-dir build-asan --output-on-failure -j"$(nproc)" -E '^e2e_install$' -LE valgrind
