# Signals end the game from every screen: SIGTERM (a shutdown, `timeout`),
# SIGINT (Ctrl-C) and SIGHUP (the session closed). The game must be gone
# within a second, with the status of a death by that signal, and leave the
# display as it found it.
source "$(dirname "$0")/lib.sh" "$@"

# SIGINT at its default, as the game gets it from a terminal: a script's
# background job would otherwise start with it ignored, and an ignored
# signal is left ignored.
start_plain() {
    (cd "$BUILD_DIR" && SDL_AUDIODRIVER=dummy exec perl -e '$SIG{INT} = "DEFAULT"; exec @ARGV or die' \
        "$GAME_BIN" >"$WORK/game.out" 2>"$WORK/game.err") &
    GAME_PID=$!
}

click() { move "$1" "$2"; sleep 0.2; hold_button 1 0.25; sleep 0.4; }
screen_changed() { [ "$(compare -metric AE "$SHOTS/before.bmp" "$SHOTS/$1.bmp" null: 2>&1)" != 0 ]; }
menu_text_shows() { [ "$(count_colour "$1" "$2" 100,100,80)" -gt 300 ]; }

# Drives a fresh game to a screen and makes sure it is showing.
to_screen() {
    case $1 in
        intro)
            # The title runs for over three seconds without input; wait
            # until it has replaced what the screen showed before.
            local rc=0
            await_screen 50 "" screen_changed || rc=$?
            if [ "$rc" -ne 2 ] && menu_shows await; then fail "the menu showed instead of the title"; fi ;;
        menu) to_menu ;;
        options)
            to_menu; click 440 370
            shot options; menu_text_shows options 150x60+100+30 || fail "options not shown" ;;
        credits)
            to_menu; click 440 370; click 920 720
            shot credits
            read -r _ _ f <<<"$(find_sprite credits VelmoraMini.bmp 255,255,255 250 520 250 520)"
            ok_fraction "$f" 0.9 || fail "credits not shown (logo $f)" ;;
        match) to_menu; start_match ;;
    esac
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its $1 screen showed"
}

# Sends the signal and times the end; fails unless the game is gone within
# a second with status 128 + the signal's number.
signal_case() {
    local screen=$1 sig=$2 number
    number=$(kill -l "$sig")
    start_plain
    to_screen "$screen"
    local t0 t1 ms rc=running
    t0=$(date +%s%N)
    kill -s "$sig" "$GAME_PID"
    for _ in $(seq 30); do
        if ! ps -o stat= -p "$GAME_PID" 2>/dev/null | grep -qv Z; then
            wait "$GAME_PID"; rc=$?; GAME_PID=; break
        fi
        sleep 0.05
    done
    t1=$(date +%s%N)
    ms=$(((t1 - t0) / 1000000))
    if [ "$rc" = running ]; then
        kill -KILL "$GAME_PID"; wait "$GAME_PID" 2>/dev/null; GAME_PID=
        fail "$sig on the $screen screen: still running after $ms ms"
    fi
    [ "$rc" = $((128 + number)) ] || fail "$sig on the $screen screen: exit status $rc"
    [ "$ms" -lt 1000 ] || fail "$sig on the $screen screen: took $ms ms"
    # Full screen must not outlive the game.
    [ "$(xdotool getdisplaygeometry)" = "$GEOMETRY" ] ||
        fail "$sig on the $screen screen: display left at $(xdotool getdisplaygeometry)"
    grep -q "runtime error\|Sanitizer" "$WORK/game.err" && fail "$sig on the $screen screen: $(head -n 5 "$WORK/game.err")"
    echo "$sig on the $screen screen: ended in $ms ms, status $rc"
}

start_x
GEOMETRY=$(xdotool getdisplaygeometry)
quick_shot before
for screen in intro menu options credits match; do
    signal_case "$screen" TERM
done
signal_case menu INT
signal_case options HUP
signal_case match INT
signal_case intro HUP
echo "PASS"
