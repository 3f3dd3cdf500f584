# A match waits while its player is away. Under a window manager, with the
# ball rolling up the field: the window iconified costs at most 1 % of a
# core over 4 s, and once restored the ball goes on from where it stood;
# another window taking the focus holds the ball too, and the game's own
# window getting it back lets it go on.
source "$(dirname "$0")/lib.sh" "$@"
start_x
start_wm
# Another program's window, behind the game's once that starts, to take
# the focus later.
xmessage -geometry +0+0 away >/dev/null 2>&1 &
OTHER_PID=$!
trap 'kill "$OTHER_PID" 2>/dev/null; wait "$OTHER_PID" 2>/dev/null; cleanup' EXIT
other=$(xdotool search --sync --limit 1 --class Xmessage) || fail "xmessage did not show"
start_game
to_menu
start_match

# Where the ball is now, read straight from the X server: "x y fraction".
ball_now() { "$PROBE" live "$DATA/Ball.bmp" 255,255,255 470 -40 530 660; }
# The game's processor time so far, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$GAME_PID/stat"; }
# Sets Y to the ball's y, seen within a second (a window just restored
# takes a frame or two to show).
Y=
ball_y() {
    local x f
    for _ in $(seq 20); do
        read -r x Y f <<<"$(ball_now)"
        ok_fraction "$f" 0.9 && return 0
        sleep 0.05
    done
    fail "$1: no ball on the field ($x $Y $f)"
}

# An aim far off the target window: the ball rolls straight up the middle,
# about a pixel a frame, 6 s or more from the player's end to the CPU's.
move 800 300
hold_button 3 0.2
sleep 0.2
hold_button 1 0.15
sleep 0.8
window=$(xdotool getactivewindow)
ball_y "after the shot"; y0=$Y
iconify() {
    xdotool windowminimize "$window"
    for _ in $(seq 40); do
        xprop -id "$window" WM_STATE 2>/dev/null | grep -q Iconic && return 0
        sleep 0.05
    done
    fail "the window was not iconified"
}
iconify
sleep 0.5
t0=$(cpu_ticks)
sleep 4
t1=$(cpu_ticks)
hz=$(getconf CLK_TCK)
echo "iconified: $((t1 - t0)) ticks of $((4 * hz)) ($(awk -v t=$((t1 - t0)) -v h="$hz" 'BEGIN { printf "%.1f", 100 * t / (4 * h) }') % of a core)"
[ $((t1 - t0)) -le $((4 * hz / 100)) ] || fail "iconified, the game took $((t1 - t0)) ticks in 4 s"
xdotool windowactivate --sync "$window" 2>/dev/null
ball_y "after the restore"; y1=$Y
echo "the ball stood at y $y0 and goes on from y $y1"
# The clock ran for a few tenths of a second between the two readings at
# most, even on a busy machine; 4.5 s would have taken the ball 600 px and
# more up the field.
[ $((y0 - y1)) -lt 200 ] && [ "$y1" -le "$y0" ] || fail "the ball moved from y $y0 to y $y1 while away"
sleep 0.5
ball_y "after the return"; y2=$Y
[ "$y2" -lt "$y1" ] || fail "the ball did not go on after the restore (y $y1, then $y2)"

# The other window takes the focus: the ball stands still until the
# game's window has it back.
xdotool windowactivate --sync "$other" 2>/dev/null
sleep 0.3
ball_y "without the focus"; y3=$Y
sleep 1.5
ball_y "still without the focus"; y4=$Y
xdotool windowactivate --sync "$window" 2>/dev/null
sleep 0.5
ball_y "with the focus back"; y5=$Y
echo "without the focus the ball stood at y $y3, then $y4; with it back it went on to y $y5"
[ "$y4" = "$y3" ] || fail "the ball moved from y $y3 to y $y4 without the focus"
[ "$y5" -lt "$y4" ] || fail "the ball did not go on with the focus back (y $y4, then $y5)"

# A signal still ends the game at once while it waits.
iconify
sleep 0.5
kill -TERM "$GAME_PID"
t0=$(date +%s%N)
wait_game 5
ms=$((($(date +%s%N) - t0) / 1000000))
[ "$GAME_RC" = 143 ] && [ "$ms" -lt 1000 ] || fail "SIGTERM while iconified: status $GAME_RC after $ms ms"
echo "SIGTERM while iconified: ended in $ms ms"
echo "PASS"
