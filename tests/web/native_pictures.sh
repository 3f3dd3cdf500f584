# The Linux game's pictures that the browser's must equal, taken by the same
# walk the browser test makes (the same pointer places, the same choices):
# menu, options, options-chosen, credits and match (its first picture, on
# the street field), as BMP files in OUT_DIR. Then the game's cost on the
# machine: the share of a core that the game and its X server take together
# in the main menu and in a match with the aim open, written to
# OUT_DIR/native-cost.
# Usage: native_pictures.sh BUILD_DIR OUT_DIR
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
out=$2
source "$here/../e2e/lib.sh" "$build/velmora" "$build" "$build/tests/velmora_probe"
# Ended by a signal, the game and the X server go too (lib.sh's EXIT trap).
trap 'exit 143' TERM INT HUP
mkdir -p "$out"

click_at() { move "$1" "$2"; sleep 0.2; hold_button 1 0.25; sleep 0.4; }
take() { sleep 0.4; quick_shot "$1"; cp "$SHOTS/$1.bmp" "$out/$1.bmp"; }

# Clock ticks the processes have used so far.
ticks() {
    local total=0 pid
    for pid in "$@"; do
        read -r -a stat <"/proc/$pid/stat" || return 1
        total=$((total + stat[13] + stat[14]))
    done
    echo "$total"
}
share() {
    local seconds=$1 start end
    shift
    start=$(ticks "$@") || return 1
    sleep "$seconds"
    end=$(ticks "$@") || return 1
    awk -v t=$((end - start)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * t / hz / s }'
}

start_x
start_game
to_menu
move 610 590; take menu
click_at 440 370                              # Options
move 660 640; take options
click_at 325 200                              # the street field
click_at 430 400                              # level 2
click_at 570 500                              # club 4
move 700 700; take options-chosen
click_at 920 720                              # Credits
move 600 150; take credits
hold_key Escape 0.2; sleep 0.4                # back to the options
click_at 25 720; sleep 0.4                    # Back to the menu
click_at 440 310                              # Start
take match

hold_key Escape 0.3; sleep 0.5
move 610 590; sleep 0.5
menu=$(share 8 "$GAME_PID" "$XVFB_PID") || fail "the game ended"
click_at 440 310; sleep 0.5                   # Start
hold_button 3 0.25; sleep 0.5                 # the aim opens
match=$(share 8 "$GAME_PID" "$XVFB_PID") || fail "the game ended"
echo "menu $menu match-aim $match" >"$out/native-cost"
hold_key Escape 0.3; sleep 0.5
hold_key q 0.3
wait_game 10
[ "$GAME_RC" = 0 ] || fail "exit status $GAME_RC"
echo "native pictures and cost: $(cat "$out/native-cost")"
