# Broken installs and missing devices end the game with status 1 and say why.
source "$(dirname "$0")/lib.sh" "$@"

# A copy of the game's folder whose data can be damaged.
fresh_copy() {
    rm -rf "$WORK/game"; mkdir -p "$WORK/game"
    cp -r "$BUILD_DIR/data" "$WORK/game/data"
}

# Start a match in the running game: past the title, then "Start".
click_start() { to_menu; start_match; }

# 1. A missing file is found before any library call, even without a display.
fresh_copy
rm "$WORK/game/data/Ball.bmp" "$WORK/game/data/PL2.wav"
(cd "$WORK/game" && env -u DISPLAY timeout 20 "$GAME_BIN" >"$WORK/out" 2>"$WORK/err"); rc=$?
[ "$rc" = 1 ] || fail "missing files: exit status $rc"
grep -q "data/Ball.bmp" "$WORK/err" || fail "missing Ball.bmp not named: $(cat "$WORK/err")"
grep -q "data/PL2.wav" "$WORK/err" || fail "missing PL2.wav not named"
grep -q "data/Font.ttf" "$WORK/err" && fail "a present file was reported missing"

# 2. No video device: the library cannot start.
(cd "$BUILD_DIR" && SDL_VIDEODRIVER=nosuchdriver timeout 20 "$GAME_BIN" >"$WORK/out" 2>"$WORK/err"); rc=$?
[ "$rc" = 1 ] || fail "no video device: exit status $rc"
[ "$(head -n 1 "$WORK/out")" = "Can't init SDL: " ] || fail "no video device: stdout was '$(cat "$WORK/out")'"

# 2b. No display and no driver asked for: the library's text-mode and
# unseen fallbacks count as no display, reported at once. The display named
# is one with no server, held so by the lock file an X server itself takes
# first: X servers refuse a number whose lock names a live process.
no_display=
for n in $(seq 100 999); do
    [ -e "/tmp/.X11-unix/X$n" ] && continue
    ( set -o noclobber; printf '%10d\n' $$ >"/tmp/.X$n-lock" ) 2>/dev/null || continue
    if [ -e "/tmp/.X11-unix/X$n" ] || grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix; then
        rm -f "/tmp/.X$n-lock"; continue
    fi
    no_display=$n; break
done
trap 'rm -f "/tmp/.X$no_display-lock"; cleanup' EXIT
[ -n "$no_display" ] || fail "no display number could be held without a server"
for display in unset ":$no_display"; do
    if [ "$display" = unset ]; then
        (cd "$BUILD_DIR" && env -u DISPLAY -u SDL_VIDEODRIVER timeout 20 "$GAME_BIN" >"$WORK/out" 2>"$WORK/err"); rc=$?
    else
        (cd "$BUILD_DIR" && DISPLAY=$display env -u SDL_VIDEODRIVER timeout 20 "$GAME_BIN" >"$WORK/out" 2>"$WORK/err"); rc=$?
    fi
    [ "$rc" = 1 ] || fail "no display ($display): exit status $rc"
    [ "$(head -n 1 "$WORK/out")" = "Can't init SDL: " ] || fail "no display ($display): stdout was '$(head -c 300 "$WORK/out")'"
    sed -n 2p "$WORK/out" | grep -q "^No graphical display" || fail "no display ($display): reason '$(sed -n 2p "$WORK/out")'"
    [ "$(wc -l <"$WORK/out")" = 1 ] || fail "no display ($display): the reason must follow without a line break"
done
rm -f "/tmp/.X$no_display-lock"
# A driver that was asked for is used, display or not. (exec: the signal
# below must reach the game itself, not a shell around it.)
(cd "$BUILD_DIR" && exec env -u DISPLAY SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$GAME_BIN" >"$WORK/out" 2>"$WORK/err") &
GAME_PID=$!
sleep 2
kill -0 "$GAME_PID" 2>/dev/null || fail "SDL_VIDEODRIVER=dummy: the game did not run ('$(cat "$WORK/out")')"
[ "$(readlink "/proc/$GAME_PID/exe")" = "$(readlink -f "$GAME_BIN")" ] ||
    fail "SDL_VIDEODRIVER=dummy: process $GAME_PID is $(readlink "/proc/$GAME_PID/exe"), not the game"
kill -TERM "$GAME_PID"; wait_game 5
[ "$GAME_RC" = 143 ] || fail "SDL_VIDEODRIVER=dummy: status $GAME_RC after SIGTERM"

start_x

# 3. No audio device when a match starts.
SDL_AUDIODRIVER=nosuchdriver start_game
click_start
wait_game 10; rc=$GAME_RC
[ "$rc" = 1 ] || fail "no audio: exit status $rc"
[ "$(head -n 1 "$WORK/game.out")" = "Can't set OpenAudio: " ] || fail "no audio: stdout was '$(cat "$WORK/game.out")'"
[ "$(wc -l < "$WORK/game.out")" = 1 ] || fail "no audio: the library's reason must follow without a line break"

# 4. A damaged image is named at start-up, before the library reads it
# (the broken-install test goes through every file and kind of damage).
fresh_copy
echo "not a bitmap" > "$WORK/game/data/Ball.bmp"
start_game "$WORK/game"
wait_game 10; rc=$GAME_RC
[ "$rc" = 1 ] || fail "damaged Ball.bmp: exit status $rc"
grep -q "data/Ball.bmp" "$WORK/game.err" || fail "damaged Ball.bmp not named: $(cat "$WORK/game.err")"

# 5. The X server goes away under the game (the session ended, the server
# crashed): the game ends with status 1 rather than wait for it forever.
start_game
to_menu
kill "$XVFB_PID"; wait "$XVFB_PID" 2>/dev/null; XVFB_PID=
wait_game 10
[ "$GAME_RC" = 1 ] || fail "X server gone: exit status $GAME_RC"
echo "PASS"
