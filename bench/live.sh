#!/usr/bin/env bash
# The game's cost on a display, on each SDL 1.2 the system has (classic SDL
# 1.2 and sdl12-compat, SDL 1.2 over SDL2, on Debian 12; sdl12-compat alone
# on Debian 13): passes per second and the share of a core in the main menu
# and in a match with the aim open, from the real program in a private Xvfb
# (1024x768). Figures only; it fails when it cannot run or a run did not
# load the library it was meant to.
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

source "$(dirname "$0")/../scripts/sdl-libraries.sh"
libraries=$(sdl_libraries "$program")
[ -n "$libraries" ] || { echo "no SDL 1.2 library loads here" >&2; exit 1; }
[ "$(wc -l <<<"$libraries")" -gt 1 ] || echo "(one SDL 1.2 on this system)"
status=0
while read -r kind version file folder; do
  echo "-- $kind $version"
  if [ "$folder" = - ]; then
    (cd "$build_dir" && env -u LD_LIBRARY_PATH "$program" "$length") >"$work/out" 2>"$work/err" </dev/null || status=1
  else
    (cd "$build_dir" && LD_LIBRARY_PATH=$folder "$program" "$length") >"$work/out" 2>"$work/err" </dev/null || status=1
  fi
  grep -qxF "SDL 1.2: $kind $version $file" "$work/out" ||
    { echo "the run meant for $kind $version ($file) did not load it" >&2; status=1; }
  cat "$work/out"
  [ $status -eq 0 ] || tail -n 5 "$work/err" >&2
done <<<"$libraries"
exit $status
