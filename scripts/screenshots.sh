#!/usr/bin/env bash
# Takes the pictures of the game that the README and the AppStream metadata
# show: the real program from build/ in an Xvfb X server, driven by xdotool
# as the end-to-end tests drive it, kept as PNG files in docs/ (or the
# folder given):
#   title.png    the title, once the curtain has slid away
#   menu.png     the main menu, the crosshair on "Start"
#   options.png  the options screen, CPU level 2 chosen
#   aim.png      a match on the standard field, the aim open
#   flight.png   the same match, the player's ball in flight
# Every picture but flight.png is of a screen that stands still with the
# pointer at a fixed spot, so the same game gives the same pixels; on
# another system the font, the drawing library or SDL may give others, so
# made-with.txt beside them names those the pictures were made with.
#   bash scripts/screenshots.sh [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$(realpath -m "${1:-$root/docs}")
# The game as the tree is now (nothing to do when build/ is up to date).
bash scripts/build.sh velmora velmora_probe assets >/dev/null
mkdir -p "$out"

# The end-to-end tests' helpers; their fail() ends the script.
source tests/e2e/lib.sh "$root/build/velmora" "$root/build" "$root/build/tests/velmora_probe"
set +e
# Without dates or other text chunks, a PNG holds the picture and nothing
# of the moment it was taken.
keep() { convert "$SHOTS/$1.bmp" -strip "PNG24:$out/$1.png" || fail "$1.png"; echo "   $out/$1.png"; }

# The last frame of the title: the title drawn whole and the bottom row
# black, the curtain gone; the game holds it 1.5 s.
title_settled() {
    read -r _ _ f <<<"$(find_sprite "$1" Velmora.bmp 255,255,255 300 7 300 7)"
    ok_fraction "$f" 0.99 && [ "$(pixel "$1" 512 767)" = "0,0,0" ] && [ "$(pixel "$1" 5 767)" = "0,0,0" ]
}

start_x
start_game
await_screen 100 "" title_settled || fail "the title's last frame did not show"
cp "$SHOTS/await.bmp" "$SHOTS/title.bmp"
keep title
to_menu
move 440 310; sleep 0.4
shot menu; keep menu

move 440 370; sleep 0.2; hold_button 1 0.25; sleep 0.4     # "Options"
move 430 400; sleep 0.2; hold_button 1 0.25; sleep 0.3     # CPU level 2
move 700 650; sleep 0.4
shot options; keep options

move 25 720; sleep 0.2; hold_button 1 0.25; sleep 0.6      # "Back"
start_match
# The crosshair's centre low in the window, beside its middle line: a
# lifted shot that hardly curves, whichever way the crosshair drifts.
move 480 455
hold_button 3 0.2; sleep 0.8       # the player's figure walks under the pointer
shot aim; keep aim
# A charge of 0.4 s, and the picture once the ball has flown past the
# middle of the field (the probe follows it straight from the X server).
xdotool mousedown 1; sleep 0.4; xdotool mouseup 1
for _ in $(seq 100); do
    read -r _ y f <<<"$("$PROBE" live "$DATA/Ball.bmp" 255,255,255 0 0 973 640)"
    ok_fraction "$f" 0.9 && [ "$y" -lt 380 ] && break
done
shot flight; keep flight

{ dpkg-query -W -f='${Package} ${Version}\n' fonts-liberation libcairo2
  echo "SDL $("$PROBE" sdl | cut -d' ' -f1,2)"; } >"$out/made-with.txt"

hold_key Escape 0.3
hold_key q 0.3
wait_game 10
[ "$GAME_RC" = 0 ] || fail "the game ended with status $GAME_RC"
