# A match waits while its player is away. Under a window manager, with the
# ball rolling up the field: another window taking the focus holds the
# ball, and the game's own window getting it back lets it go on; the window
# iconified costs at most 1 % of a core over 4 s, and once restored the
# ball goes on from where it stood; a signal still ends the game.
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

# As the ball leaves, the other window takes the focus: the ball stands
# still until the game's window has it back, then goes on.
roll_ball
window=$(xdotool getactivewindow)
xdotool windowactivate --sync "$other" 2>/dev/null
sleep 0.3
ball_y "without the focus"; y0=$Y
sleep 1.5
ball_y "still without the focus"; y1=$Y
xdotool windowactivate --sync "$window" 2>/dev/null
sleep 0.3
ball_y "with the focus back"; y2=$Y
echo "without the focus the ball stood at y $y0, then $y1; with it back it went on to y $y2"
[ "$y1" = "$y0" ] || fail "the ball moved from y $y0 to y $y1 without the focus"
[ "$y2" -lt "$y1" ] || fail "the ball did not go on with the focus back (y $y1, then $y2)"

iconified_in_flight "$window" "$GAME_PID" "$y2"

# A signal still ends the game at once while it waits (a second and a half
# on a busy machine, of which the test's own look takes a tenth).
iconify "$window"
sleep 0.5
kill -TERM "$GAME_PID"
t0=$(date +%s%N)
wait_game 5
ms=$((($(date +%s%N) - t0) / 1000000))
[ "$GAME_RC" = 143 ] && [ "$ms" -lt 1500 ] || fail "SIGTERM while iconified: status $GAME_RC after $ms ms"
echo "SIGTERM while iconified: ended in $ms ms"
echo "PASS"
