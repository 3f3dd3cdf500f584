# Shared helpers for the end-to-end tests: a private X server, the real game
# started from the build folder, real input through xdotool, screenshots.
# Usage from a test: source lib.sh "$@"   (args: path-to-velmora build-folder)
set -u
GAME_BIN=$1
BUILD_DIR=$2
PROBE=${3:-$BUILD_DIR/tests/velmora_probe}
DATA=$BUILD_DIR/data
WORK=$(mktemp -d /tmp/velmora-e2e.XXXXXX)
SHOTS=${VELMORA_E2E_SHOTS:-$WORK}
mkdir -p "$SHOTS"
XVFB_PID=
WM_PID=
GAME_PID=

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$WORK/game.err" ]; then
        echo "--- the game's standard error (last lines):" >&2
        tail -n 30 "$WORK/game.err" >&2
    fi
    exit 1
}

cleanup() {
    # The game first, and to its end: with its display still there, it shuts
    # it down in time.
    if [ -n "$GAME_PID" ]; then
        kill "$GAME_PID" 2>/dev/null
        wait_game 5
    fi
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    [ -z "${VELMORA_E2E_SHOTS:-}" ] && rm -rf "$WORK"
}
trap cleanup EXIT

# An X server of the game's size, or of the size given (WxH).
start_x() {
    # Xvfb picks a free display itself, so tests running side by side never
    # share one.
    # -noreset: a test that starts the game more than once must not meet the
    # server resetting after the last client left.
    rm -f "$WORK/display"
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$WORK/display" ] && break
        sleep 0.1
    done
    [ -s "$WORK/display" ] || fail "no X server could be started: $(cat "$WORK/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$WORK/display")"
    for _ in $(seq 50); do
        xdotool getmouselocation >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "the X server on $DISPLAY does not answer"
}

# A window manager on the X server, as on any desktop: on a screen larger
# than the game's, sdl12-compat's full-screen window is sized and placed by
# it. openbox runs its --startup command once it manages the screen.
start_wm() {
    rm -f "$WORK/wm-ready"
    openbox --sm-disable --startup "touch $WORK/wm-ready" >"$WORK/wm.log" 2>&1 &
    WM_PID=$!
    for _ in $(seq 100); do
        [ -e "$WORK/wm-ready" ] && return 0
        sleep 0.1
    done
    fail "openbox did not start: $(cat "$WORK/wm.log")"
}

# Ends the window manager and the X server, for a test that goes on with
# another.
stop_x() {
    [ -n "$WM_PID" ] && { kill "$WM_PID" 2>/dev/null; wait "$WM_PID" 2>/dev/null; }
    [ -n "$XVFB_PID" ] && { kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; }
    WM_PID= XVFB_PID=
}

# Starts the game from the folder that holds data/ (default: the build folder).
start_game() {
    local dir=${1:-$BUILD_DIR}
    (cd "$dir" && SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} exec "$GAME_BIN" \
        >"$WORK/game.out" 2>"$WORK/game.err") &
    GAME_PID=$!
}

# Waits up to $1 seconds for the game to end and sets GAME_RC to its exit
# status ("timeout" if it is still running, then it is killed). Runs in the
# test's own shell: only the game's parent can collect its status.
GAME_RC=
wait_game() {
    local limit=$1
    GAME_RC=timeout
    for _ in $(seq $((limit * 10))); do
        # A finished game is a zombie until collected; kill -0 still finds
        # it, so ask ps whether it has really ended.
        if ! ps -o stat= -p "$GAME_PID" 2>/dev/null | grep -qv Z; then
            wait "$GAME_PID"; GAME_RC=$?; GAME_PID=; return 0
        fi
        sleep 0.1
    done
    kill -KILL "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=
}

# A screenshot as NAME.bmp for the probe (and NAME.png to look at when
# VELMORA_E2E_SHOTS names a folder to keep them in).
shot() {
    quick_shot "$1"
    [ -n "${VELMORA_E2E_SHOTS:-}" ] && convert "$SHOTS/$1.bmp" "$SHOTS/$1.png"
    return 0
}

# The same without the PNG, for tests that follow motion (about 0.1 s).
quick_shot() { import -window root "BMP3:$SHOTS/$1.bmp" 2>/dev/null || fail "screenshot $1"; }

# Prints "r,g,b" of one pixel of a screenshot.
pixel() { "$PROBE" pixel "$SHOTS/$1.bmp" "$2" "$3"; }

# Finds a sprite from data/ in a screenshot: "x y fraction" of the best match
# of its top-left corner within the box X0 Y0 X1 Y1.
find_sprite() { "$PROBE" find "$SHOTS/$1.bmp" "$DATA/$2" "$3" "$4" "$5" "$6" "$7"; }

# Fraction of the pixels of a screen region equal to the same region of an
# image from data/ (a full-screen field).
same_as() { "$PROBE" same "$SHOTS/$1.bmp" "$DATA/$2" "$3" "$4" "$5" "$6"; }

# Compares a fraction with a limit: ok_fraction 0.93 0.9 -> true.
ok_fraction() { awk -v f="$1" -v l="$2" 'BEGIN { exit !(f >= l) }'; }

# Counts the pixels of a region (WxH+X+Y) that equal an exact colour.
count_colour() {
    convert "$SHOTS/$1.bmp" -crop "$2" +repage -fill black +opaque "rgb($3)" -fill white -opaque "rgb($3)" \
        -format "%[fx:int(mean*w*h+0.5)]" info:
}

# The game samples button state once a pass, so a press is held across passes.
hold_button() {
    xdotool mousedown "$1"; sleep "${2:-0.25}"; xdotool mouseup "$1"
}

# A touchpad's tap: the press and the release at once, both between two of
# the game's looks at the buttons.
tap() { xdotool click "$1"; }

move() { xdotool mousemove "$1" "$2"; sleep 0.15; }
# A bare "xdotool key" lasts 6-7 ms and can fall between two passes, which
# read the key state once each; every key is held for at least 150 ms.
hold_key() { xdotool keydown "$1"; sleep "${2:-0.25}"; xdotool keyup "$1"; }
key() { hold_key "$1" 0.15; }

# The test command runs these tests on each SDL 1.2 the system has and
# names the kind it expects in VELMORA_EXPECT_SDL (classic or sdl12-compat);
# a run on another one fails instead of passing for the wrong one. A library
# folder may hold a link to another library, so the probe, started with the
# game's environment, names the kind and the real file it loads there, and
# the game's memory map must show that very file.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/sdl-libraries.sh"
check_sdl_library() {
    [ -n "${VELMORA_EXPECT_SDL:-}" ] || return 0
    local lib kind= version= file=
    lib=$(sdl_library_of_process "$GAME_PID")
    read -r kind version file <<<"$("$PROBE" sdl 2>/dev/null)"
    [ -n "$lib" ] && [ "$lib" = "$file" ] && [ "$kind" = "$VELMORA_EXPECT_SDL" ] && return 0
    fail "expected the $VELMORA_EXPECT_SDL SDL 1.2, but the game runs on '${lib:-none found}'" \
        "(here that is $kind $version, $file)"
}

# The one wait of the end-to-end tests: takes a screenshot (named "await")
# until CHECK, given that name, succeeds; STEP (a command line, or "") runs
# before each look, say a key press that a slow start must not lose. Returns
# 0 once CHECK holds, 1 when TRIES looks did not see it, 2 when the game
# has ended.
await_screen() {
    local tries=$1 step=$2
    shift 2
    for _ in $(seq "$tries"); do
        kill -0 "$GAME_PID" 2>/dev/null || return 2
        [ -z "$step" ] || $step
        quick_shot await
        "$@" await && return 0
        sleep 0.1
    done
    return 1
}

# The main menu's background at a spot no label or cursor covers.
menu_shows() { [ "$(pixel "$1" 1000 20)" = "0,50,100" ]; }
menu_gone() { ! menu_shows "$1"; }

# Presses Return until the main menu shows; a slow start never loses the key
# press.
to_menu() {
    local rc=0
    await_screen 40 "hold_key Return 0.15" menu_shows || rc=$?
    case $rc in
        0) check_sdl_library ;;
        2) fail "the game ended before its menu showed" ;;
        *) fail "the main menu did not show" ;;
    esac
}

# The title's curtain (drawn from y -100, sliding down to 800 after 2 s)
# stands at most 168 px down, more than 5 s before the title ends by
# itself: its rows 500 to 599 show at y 400 to 668. Read straight from the
# X server, as is the menu's background after the tap: a screenshot of a
# busy machine can take seconds.
title_early() {
    local x y f
    read -r x y f <<<"$("$PROBE" live "$WORK/curtain.bmp" none 0 400 0 668)"
    ok_fraction "$f" 0.9
}
menu_now() {
    local x y f
    read -r x y f <<<"$("$PROBE" live "$WORK/menu-patch.bmp" none 1000 16 1000 16)"
    ok_fraction "$f" 1
}

# Once the title shows, one tap skips it: the menu must come within 4 s,
# well before the title would have ended by itself.
tap_past_title() {
    local tapped ms seen=
    convert "$DATA/screen2.bmp" -crop 1024x100+0+500 +repage "BMP3:$WORK/curtain.bmp" &&
        convert -size 8x8 "xc:rgb(0,50,100)" "BMP3:$WORK/menu-patch.bmp" ||
        fail "no pictures to look for"
    for _ in $(seq 300); do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its title showed"
        title_early && { seen=yes; break; }
        sleep 0.05
    done
    [ -n "$seen" ] || fail "the title was not seen in its first seconds"
    tapped=$(date +%s%N)
    tap 1
    for _ in $(seq 200); do
        menu_now && break
        sleep 0.05
    done
    ms=$((($(date +%s%N) - tapped) / 1000000))
    menu_now || fail "the menu did not show after a tap on the title"
    [ "$ms" -lt 4000 ] || fail "the menu came $ms ms after the tap: the title was not skipped"
    check_sdl_library
}

# Clicks "Start" on the main menu and waits until the field covers the menu.
start_match() {
    move 440 310; sleep 0.2; hold_button 1 0.3
    await_field
}

# After a click on "Start": waits until the field covers the menu; a game
# that has ended is the caller's to judge.
await_field() {
    local rc=0
    await_screen 40 "" menu_gone || rc=$?
    case $rc in
        0) sleep 0.3 ;;
        1) fail "the match did not start" ;;
    esac
}

# The game's data files, one name below data/ a line, from its own list
# (platform/data_files.def under the source folder given).
data_files() {
    grep -o '^DATA_FILE([A-Z_0-9]*, "data/[^"]*")' "$1/platform/data_files.def" |
        sed 's|^.*"data/\([^"]*\)")$|\1|'
}

# The away walk, for the Linux and the Windows game alike, in a match under
# a window manager. An aim far off the target window rolls the ball
# straight up the middle, about 0.15 px a millisecond: 4.5 s from the
# player's end to the top of the picture. Every step that the clock runs
# through takes the ball on, and a busy machine makes each step long, so
# the walk goes away at once and looks no more than it must.
roll_ball() {
    local _x y f
    move 800 300
    # A shot the game did not take (the aim opened a frame late) is tried
    # again: the ball leaves its rest at y 650 once it flies.
    for _ in $(seq 5); do
        hold_button 3 0.2
        sleep 0.3
        hold_button 1 0.15
        sleep 0.4
        read -r _x y f <<<"$("$PROBE" live "$DATA/Ball.bmp" 255,255,255 460 -40 540 700)"
        ok_fraction "$f" 0.9 && [ "$y" -lt 645 ] && return 0
    done
    fail "the ball never left the player"
}

# Sets Y to the ball's y in the middle column of the game's picture, seen
# within a second (a window just restored takes a frame or two to show).
# The picture's place comes from the top of the player's figure, which
# stands at y 570: classic SDL 1.2 shows the game in a window, under the
# window manager's title bar, while it has no focus.
Y=
ball_y() {
    local x f fy ff
    [ -s "$WORK/figure-top.bmp" ] ||
        convert "$DATA/TestFigur2.bmp" -crop 140x100+0+0 +repage "BMP3:$WORK/figure-top.bmp"
    for _ in $(seq 20); do
        read -r x fy ff <<<"$("$PROBE" live "$WORK/figure-top.bmp" 255,255,255 380 520 520 620)"
        read -r x Y f <<<"$("$PROBE" live "$DATA/Ball.bmp" 255,255,255 460 -40 540 700)"
        ok_fraction "$f" 0.9 && ok_fraction "$ff" 0.8 && { Y=$((Y - fy + 570)); return 0; }
        sleep 0.05
    done
    fail "$1: no ball on the field ($x $Y $f; the player's figure at y ${fy:-?}, $ff)"
}

iconify() {
    xdotool windowminimize "$1"
    for _ in $(seq 40); do
        xprop -id "$1" WM_STATE 2>/dev/null | grep -q Iconic && return 0
        sleep 0.05
    done
    fail "the window was not iconified"
}

# With the ball rolling, iconifies the game's window ($1, its process $2):
# over 4 s the game takes at most 1 % of a core; restored, the ball is where
# it stood, not where 4.5 s more would have taken it, and goes on. $3, if
# given, is where the ball was just seen, so no time goes on a look.
iconified_in_flight() {
    local window=$1 pid=$2 y0=${3:-} y1 t0 t1 hz
    hz=$(getconf CLK_TCK)
    [ -n "$y0" ] || { ball_y "before iconifying"; y0=$Y; }
    iconify "$window"
    sleep 0.5
    t0=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    sleep 4
    t1=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    echo "iconified: $((t1 - t0)) ticks of $((4 * hz)) ($(awk -v t=$((t1 - t0)) -v h="$hz" \
        'BEGIN { printf "%.1f", 100 * t / (4 * h) }') % of a core)"
    [ $((t1 - t0)) -le $((4 * hz / 100)) ] || fail "iconified, the game took $((t1 - t0)) ticks in 4 s"
    xdotool windowactivate --sync "$window" 2>/dev/null
    ball_y "after the restore"; y1=$Y
    echo "the ball stood at y $y0 and goes on from y $y1"
    # The clock ran about a second between the two readings at most, even
    # on a busy machine; 4.5 s would have taken the ball 600 px and more up
    # the field.
    [ $((y0 - y1)) -lt 300 ] && [ "$y1" -le "$y0" ] || fail "the ball moved from y $y0 to y $y1 while away"
    sleep 0.3
    ball_y "after the return"
    [ "$Y" -lt "$y1" ] || fail "the ball did not go on after the restore (y $y1, then $Y)"
}
