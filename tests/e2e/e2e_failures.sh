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

start_x

# 3. No audio device when a match starts.
SDL_AUDIODRIVER=nosuchdriver start_game
click_start
wait_game 10; rc=$GAME_RC
[ "$rc" = 1 ] || fail "no audio: exit status $rc"
[ "$(head -n 1 "$WORK/game.out")" = "Can't set OpenAudio: " ] || fail "no audio: stdout was '$(cat "$WORK/game.out")'"
[ "$(wc -l < "$WORK/game.out")" = 1 ] || fail "no audio: the library's reason must follow without a line break"

# 4. A damaged image is named when the match loads it.
fresh_copy
echo "not a bitmap" > "$WORK/game/data/Ball.bmp"
start_game "$WORK/game"
click_start
wait_game 10; rc=$GAME_RC
[ "$rc" = 1 ] || fail "damaged Ball.bmp: exit status $rc"
grep -q "data/Ball.bmp" "$WORK/game.err" || fail "damaged Ball.bmp not named: $(cat "$WORK/game.err")"
echo "PASS"
