# Broken installs, one data file at a time: removed, cut to its first half,
# and replaced by text. The game must end with status 1 and name the file
# (never crash, never run on with a half-loaded screen, never hang).
source "$(dirname "$0")/lib.sh" "$@"
SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)

# The game's own list of data files, so that a new file is covered here
# without anyone remembering to add it.
mapfile -t FILES < <(data_files "$SOURCE_DIR")
[ "${#FILES[@]}" -ge 20 ] || fail "could not read the data file list (${#FILES[@]} files)"

problems=()
problem() { problems+=("$*"); echo "problem: $*" >&2; }

# One working copy; each case damages one file and puts it back.
GAME=$WORK/game
mkdir -p "$GAME" "$WORK/keep"
cp -r "$DATA" "$GAME/data"
set_aside() { mv "$GAME/data/$1" "$WORK/keep/$1"; }
put_back() { rm -f "$GAME/data/$1"; mv "$WORK/keep/$1" "$GAME/data/$1"; }

# --- Removed: found by the start-up check, before any library call (no
# display is offered, so anything past the check would fail differently).
run_headless() {
    (cd "$GAME" && env -u DISPLAY timeout -s KILL 10 "$GAME_BIN" >"$WORK/out" 2>"$WORK/err")
}
for f in "${FILES[@]}"; do
    set_aside "$f"
    run_headless; rc=$?
    put_back "$f"
    [ "$rc" = 1 ] || { problem "removed $f: exit status $rc"; continue; }
    [ "$(head -n 1 "$WORK/err")" = "missing game file: data/$f" ] ||
        problem "removed $f: stderr was '$(head -n 3 "$WORK/err")'"
    [ "$(grep -c '^missing game file' "$WORK/err")" = 1 ] || problem "removed $f: other files reported too"
    [ -s "$WORK/out" ] && problem "removed $f: the game went on ('$(head -c 200 "$WORK/out")')"
done
# All of them at once: each is named, not just the first.
mv "$GAME/data" "$GAME/data.all"; mkdir "$GAME/data"
run_headless; rc=$?
rmdir "$GAME/data"; mv "$GAME/data.all" "$GAME/data"
[ "$rc" = 1 ] || problem "empty data folder: exit status $rc"
[ "$(grep -c '^missing game file: data/' "$WORK/err")" = "${#FILES[@]}" ] ||
    problem "empty data folder: $(grep -c '^missing game file' "$WORK/err") of ${#FILES[@]} files named"

# --- Damaged: each file is only read when the screen that uses it opens, so
# the game is driven just that far. The routes follow the screens' loads.
route_for() {
    case $1 in
        Font.ttf | Velmora.bmp | screen2.bmp | Laser.bmp) echo start ;;
        Fadenkreuz.bmp) echo menu ;;
        MiniBall.bmp) echo options ;;
        VelmoraMini.bmp) echo credits ;;
        VMFeld.bmp | VMFeldDecker.bmp) echo "match 1" ;;
        VMFeldCelSh.bmp | VMFeldCelShDecker.bmp) echo "match 2" ;;
        VMFeldStr.bmp | VMFeldStrDecker.bmp) echo "match 3" ;;
        VMFeldRas.bmp | VMFeldRasDecker.bmp) echo "match 4" ;;
        TestFigur1.bmp | TestFigur2.bmp | Ball.bmp | Ballschatten.bmp | SchFenster.bmp | \
            Leiste.bmp | Leistendecker.bmp | *.wav) echo "match 1" ;;
        *) echo unknown ;;
    esac
}

# Steps stop early once the game has ended; the rest would only cost time.
alive() { kill -0 "$GAME_PID" 2>/dev/null; }
click_at() { alive || return 0; move "$1" "$2"; sleep 0.1; hold_button 1 0.2; sleep 0.2; }
# Return until the menu's background shows: as soon as the title takes it,
# however long the window takes to appear.
past_title() {
    local rc=0
    await_screen 25 "hold_key Return 0.15" menu_shows || rc=$?
    [ "$rc" -ne 1 ] || problem "the title did not give way to the menu"
}

drive() {
    local route=$1 field=${2:-1}
    case $route in
        start) ;;
        menu) past_title ;;
        options) past_title; click_at 440 370 ;;
        credits) past_title; click_at 440 370; click_at 920 720 ;;
        match)
            past_title
            if [ "$field" != 1 ]; then
                click_at 440 370                            # Options
                click_at 325 $((60 + 70 * (field - 1)))     # the field's row
                click_at 25 720                             # Back
                sleep 0.6                                   # the menu's click gate
            fi
            click_at 440 310 ;;                             # Start
    esac
}

damaged_case() {
    local f=$1 how=$2 route
    route=$(route_for "$f")
    [ "$route" = unknown ] && { problem "$f: no screen known to load it; add its route here"; return; }
    set_aside "$f"
    case $how in
        truncated) head -c $(($(stat -c %s "$WORK/keep/$f") / 2)) "$WORK/keep/$f" >"$GAME/data/$f" ;;
        text) printf 'This is not a game file.\n' >"$GAME/data/$f" ;;
        *) cp "$WORK/crafted" "$GAME/data/$f" ;;  # a crafted file, named by what it is
    esac
    start_game "$GAME"
    # shellcheck disable=SC2086
    drive $route
    wait_game 10; RC=$GAME_RC
    if [ "$RC" = timeout ]; then
        problem "$how $f: the game still runs at the screen that loads it ($route)"
    elif [ "$RC" != 1 ]; then
        problem "$how $f: exit status $RC; stderr '$(tail -n 3 "$WORK/game.err")'"
    elif ! grep -q "^data/$f: ." "$WORK/game.err"; then
        problem "$how $f: not named; stderr '$(head -n 3 "$WORK/game.err")' stdout '$(head -c 200 "$WORK/game.out")'"
    fi
    put_back "$f"
}

start_x
for f in "${FILES[@]}"; do
    damaged_case "$f" truncated
    damaged_case "$f" text
done

# --- Crafted: well-formed files with hostile headers, of the kinds that
# crashed the library's loaders or drew heap memory. Each is named by what it
# is and put where the game reads it.
le16() { printf "$(printf '\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $((($1 >> 16) & 65535)); }
# WIDTH HEIGHT BITS COMPRESSION PALETTE-COLOURS PIXEL-BYTES [PIXELS-AT]
craft_bmp() {
    local at=${7:-$((54 + $5 * 4))}
    {
        printf BM; le32 $((at + $6)); le32 0; le32 "$at"
        le32 40; le32 "$1"; le32 "$2"; le16 1; le16 "$3"; le32 "$4"; le32 "$6"
        le32 2835; le32 2835; le32 "$5"; le32 0
        head -c $(($5 * 4)) /dev/zero; head -c "$6" /dev/zero
    } >"$WORK/crafted"
}
# FORMAT-TAG CHANNELS RATE BITS BLOCK-ALIGN DATA-BYTES [DATA-LENGTH-SAID]
craft_wav() {
    {
        printf RIFF; le32 $((36 + $6)); printf 'WAVEfmt '; le32 16
        le16 "$1"; le16 "$2"; le32 "$3"; le32 $(($3 * $5)); le16 "$5"; le16 "$4"
        printf data; le32 "${7:-$6}"; head -c "$6" /dev/zero
    } >"$WORK/crafted"
}
crafted() { damaged_case "$2" "$1"; }

craft_bmp 4 -2147483648 24 0 0 192
[ "$(stat -c %s "$WORK/crafted")" = 246 ] || fail "the crafted picture is not 246 bytes"
crafted "height of -2^31 (intro picture)" screen2.bmp
crafted "height of -2^31 (field)" VMFeld.bmp
craft_bmp 51 -2147483648 24 0 0 192
crafted "height of -2^31, 51 px wide" VMFeldCelSh.bmp
crafted "height of -2^31, 51 px wide (sprite)" Ball.bmp
craft_bmp 0 51 24 0 0 0
crafted "width of 0" Fadenkreuz.bmp
craft_bmp 5000 1 24 0 0 15000
crafted "width of 5000" TestFigur1.bmp
craft_bmp 51 51 2 0 0 663
crafted "bit depth of 2" MiniBall.bmp
craft_bmp 51 51 64 0 0 20808
crafted "bit depth of 64" Ballschatten.bmp
craft_bmp 51 51 8 0 0 2652 54
crafted "8-bit picture without its palette" VelmoraMini.bmp
craft_bmp 51 51 8 0 300 2652
crafted "palette of 300 colours" Laser.bmp
craft_bmp 51 51 8 1 0 100
crafted "run-length compressed" SchFenster.bmp
craft_bmp 500 458 24 0 0 1000
crafted "pixel data past the end of the file" SchFenster.bmp
craft_bmp 800 600 8 0 256 480000
crafted "field of 800x600, smaller than the screen" VMFeldStr.bmp
crafted "intro picture of 800x600, smaller than the screen" screen2.bmp
craft_wav 1 0 0 16 0 64
crafted "channels 0 and rate 0" Schuss.wav
craft_wav 1 1 100 8 1 64
crafted "8-bit mono at 100 Hz" LadeOK.wav
craft_wav 1 1 300 8 1 64
crafted "8-bit mono at 300 Hz" BlockPl1.wav
craft_wav 1 1 1 8 1 64
crafted "rate of 1 Hz" BlockPl2.wav
craft_wav 17 1 22050 4 0 256
crafted "IMA ADPCM with block align 0" PL1.wav
craft_wav 1 3 22050 16 6 600
crafted "3 channels" PL2.wav
craft_wav 1 1 22050 24 3 600
crafted "24-bit samples" PL2.wav
craft_wav 1 1 22050 16 2 64 2000000000
crafted "sound data past the end of the file" Schuss.wav

[ "${#problems[@]}" = 0 ] || fail "${#problems[@]} broken installs handled badly"
echo "PASS (${#FILES[@]} files, and crafted ones)"
