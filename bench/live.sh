#!/usr/bin/env bash
# The game's cost on a display, on classic SDL 1.2 and on sdl12-compat (SDL
# 1.2 over SDL2, what current distributions ship): passes per second and the
# share of a core in the main menu and in a match with the aim open, from
# the real program in a private Xvfb (1024x768). Figures only; it fails when
# it cannot run or a run did not load the library it was meant to.
#   bash bench/live.sh BUILD_DIR [SECONDS per screen]
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 BUILD_DIR [seconds]" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
length=${2:-4}
program="$build_dir/bench/velmora_live_bench"
[ -x "$program" ] || { echo "no live benchmark at $program" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "no X server: $(cat "$work/xvfb.log")" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

compat_sdl=$(dpkg -L libsdl1.2-compat 2>/dev/null | grep '/sdl12-compat/libSDL-1\.2\.so\.0$' | head -n 1 || true)
status=0
for library in classic sdl12-compat; do
  echo "-- $library"
  if [ "$library" = classic ]; then
    (cd "$build_dir" && "$program" "$length") >"$work/out" 2>"$work/err" || status=1
    grep -q '^SDL 1.2: .*/sdl12-compat/' "$work/out" && { echo "classic run loaded sdl12-compat" >&2; status=1; }
  else
    [ -n "$compat_sdl" ] || { echo "sdl12-compat is not installed (libsdl1.2-compat)" >&2; status=1; continue; }
    (cd "$build_dir" && LD_LIBRARY_PATH=$(dirname "$compat_sdl")${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} \
      "$program" "$length") >"$work/out" 2>"$work/err" || status=1
    grep -q '^SDL 1.2: .*/sdl12-compat/' "$work/out" || { echo "the sdl12-compat run did not load it" >&2; status=1; }
  fi
  cat "$work/out"
  [ $status -eq 0 ] || tail -n 5 "$work/err" >&2
done
exit $status
