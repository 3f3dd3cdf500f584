#!/usr/bin/env bash
# The game's cost on a display, on each SDL 1.2 the system has (classic SDL
# 1.2 and sdl12-compat, SDL 1.2 over SDL2, on Debian 12; sdl12-compat alone
# on Debian 13): passes per second and the share of a core in the main menu
# with the pointer moving and with it still, and in a match with the aim
# open, from the real program in a private Xvfb with a window manager
# (openbox), as on a desktop, at the screen sizes players have.
# sdl12-compat never changes the mode, so there the 1024x768 picture is
# scaled to the whole screen; "x 2.9" is a share against the same library's
# at 1024x768. Figures only; it fails when it cannot run or a run did not
# load the library it was meant to.
#   bash bench/live.sh BUILD_DIR [SECONDS per screen] [SIZES, e.g. "1024x768 1920x1080"] [every]
# every: each pass presents its picture, still or not (the cost before a
# still picture rested).
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 BUILD_DIR [seconds] [sizes]" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
length=${2:-3}
read -r -a sizes <<<"${3:-1024x768 1920x1080 2560x1440}"
every=${4:-}
program="$build_dir/bench/velmora_live_bench"
[ -x "$program" ] || { echo "no live benchmark at $program" >&2; exit 1; }
command -v openbox >/dev/null || { echo "no window manager: openbox is not installed" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid= wm_pid=
stop_display() {
  # The window manager first: it must not outlive its server.
  if [ -n "$wm_pid" ]; then kill "$wm_pid" 2>/dev/null; wait "$wm_pid" 2>/dev/null; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
  wm_pid= xvfb_pid=
  return 0
}
trap 'stop_display; rm -rf "$work"' EXIT

# An X server of the given size with openbox managing it; openbox runs its
# --startup command once it has taken over the screen.
start_display() {
  rm -f "$work/display" "$work/wm-ready"
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "no X server: $(cat "$work/xvfb.log")" >&2; return 1; }
  export DISPLAY=":$(head -n 1 "$work/display")"
  openbox --sm-disable --startup "touch $work/wm-ready" >"$work/wm.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 100); do [ -e "$work/wm-ready" ] && return 0; sleep 0.1; done
  echo "openbox did not start: $(cat "$work/wm.log")" >&2
  return 1
}

source "$(dirname "$0")/../scripts/sdl-libraries.sh"
libraries=$(sdl_libraries "$program")
[ -n "$libraries" ] || { echo "no SDL 1.2 library loads here" >&2; exit 1; }
[ "$(wc -l <<<"$libraries")" -gt 1 ] || echo "(one SDL 1.2 on this system)"

# The figures of one run: "PASSES CPU" of a screen's line, or "- -".
figures() {
  awk -v screen="$1" '$1 == screen && $3 == "passes/s" { print $2, $5; found = 1 } END { if (!found) print "- -" }' "$2"
}

status=0
declare -A base
printf '%-10s %-20s %-28s%-28s%s\n' screen library " menu" " still menu" " match (aim open)"
for size in "${sizes[@]}"; do
  start_display "$size" || { status=1; stop_display; continue; }
  while read -r kind version file folder; do
    library="$kind $version"
    : >"$work/out"
    if [ "$folder" = - ]; then
      (cd "$build_dir" && exec env -u LD_LIBRARY_PATH "$program" "$length" $every) >"$work/out" 2>"$work/err" </dev/null || status=1
    else
      (cd "$build_dir" && LD_LIBRARY_PATH=$folder exec "$program" "$length" $every) >"$work/out" 2>"$work/err" </dev/null || status=1
    fi
    grep -qxF "SDL 1.2: $kind $version $file" "$work/out" ||
      { echo "the run meant for $kind $version ($file) did not load it" >&2; status=1; }
    line=$(printf '%-10s %-20s' "$size" "$library")
    for screen in menu still match; do
      read -r passes cpu <<<"$(figures "$screen" "$work/out")"
      key="$file $screen"
      [ "$size" = 1024x768 ] && [ "$cpu" != - ] && base[$key]=$cpu
      ratio=
      if [ "$size" != 1024x768 ] && [ "$cpu" != - ] && [ -n "${base[$key]:-}" ]; then
        ratio=$(awk -v a="$cpu" -v b="${base[$key]}" 'BEGIN { if (b > 0) printf "x %.1f", a / b }')
      fi
      line+=$(printf ' %6s/s %5s %% %-9s' "$passes" "$cpu" "$ratio")
      [ "$passes" = - ] && status=1
    done
    sed "s/ *$//" <<<"$line"
    [ $status -eq 0 ] || tail -n 5 "$work/err" >&2
  done <<<"$libraries"
  stop_display
done
echo "(passes per second and the game's share of a core; x: against the same library at 1024x768)"
exit $status
