# The walk on a Wayland desktop, each way a Debian player runs the game
# there: sdl12-compat with SDL2's own choice of driver (XWayland), classic
# SDL 1.2 through XWayland (Debian 12's default), and sdl12-compat natively
# on Wayland (SDL_VIDEODRIVER=wayland). The compositor is sway, headless
# with its software renderer, one 1920x1080 output and Xwayland; pictures
# come through grim, input from our own virtual pointer and keyboard
# (wl_input). Per path: the picture's place and 4:3, the crosshair under
# absolute motion all over the picture and under relative motion, clicks,
# the aim, Escape and Q, and the share of a core that the game, Xwayland and
# sway take in the menu (figures only).
#   walk.sh GAME BUILD PROBE WL_INPUT
source "$(dirname "$0")/../lib.sh" "$1" "$2" "$3"
WL_INPUT=$4
WIDTH=1920 HEIGHT=1080
# sway refuses to run as root; it runs as this user, made if missing.
SESSION_USER=velmora-wayland
INPUT_PID=

start_sway() {
    if ! id -u "$SESSION_USER" >/dev/null 2>&1; then
        # Two runs at once may both try; either one's user will do.
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
            "$SESSION_USER" 2>/dev/null || id -u "$SESSION_USER" >/dev/null || fail "cannot make user $SESSION_USER"
    fi
    chmod 711 "$WORK"
    mkdir -m 700 "$WORK/run"
    chown "$SESSION_USER:" "$WORK/run"
    # Xwayland lets root's game in; the session's names are written once
    # it does.
    cat >"$WORK/sway.conf" <<EOF
output HEADLESS-1 mode ${WIDTH}x$HEIGHT position 0 0
xwayland force
default_border none
exec xhost +si:localuser:root && echo "\$WAYLAND_DISPLAY \$DISPLAY" >$WORK/run/session
EOF
    chmod 644 "$WORK/sway.conf"
    # env and setpriv exec sway: $! is the compositor itself, which ends
    # its Xwayland when it ends.
    env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$WORK/run" VELMORA_TEST_RUN="${VELMORA_TEST_RUN:-}" \
        WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=1 WLR_LIBINPUT_NO_DEVICES=1 \
        setpriv --reuid "$SESSION_USER" --regid "$SESSION_USER" --clear-groups \
        sway -c "$WORK/sway.conf" >"$WORK/sway.log" 2>&1 &
    XVFB_PID=$!   # lib.sh's cleanup ends it
    for _ in $(seq 150); do
        [ -s "$WORK/run/session" ] && break
        sleep 0.1
    done
    [ -s "$WORK/run/session" ] || fail "sway did not start: $(tail -n 5 "$WORK/sway.log")"
    read -r WAYLAND_DISPLAY DISPLAY <"$WORK/run/session"
    export XDG_RUNTIME_DIR=$WORK/run WAYLAND_DISPLAY DISPLAY
    mkfifo "$WORK/input"
    "$WL_INPUT" "$WIDTH" "$HEIGHT" <"$WORK/input" >"$WORK/input.out" 2>"$WORK/input.err" &
    INPUT_PID=$!
    WM_PID=$INPUT_PID   # ended before the compositor
    exec 7>"$WORK/input"
}

# lib.sh's input and screenshots, through the compositor.
input() { echo "$*" >&7 || fail "the input client has gone: $(cat "$WORK/input.err")"; }
move() { input abs "$1" "$2"; sleep 0.15; }
hold_button() { input button "$1" 1; sleep "${2:-0.25}"; input button "$1" 0; }
hold_key() { input key "$1" 1; sleep "${2:-0.25}"; input key "$1" 0; }
quick_shot() { grim -t ppm - 2>/dev/null | convert ppm:- "BMP3:$SHOTS/$1.bmp" || fail "screenshot $1"; }

box() { "$PROBE" box "$SHOTS/$1.bmp" "$2"; }
spot() { "$PROBE" spot "$SHOTS/$1.bmp" "${@:2}"; }
# The menu's background fills most of the picture, wherever it was put;
# once the place is known, the options' title ("Field:") tells them apart.
menu_shows() {
    [ "$(box "$1" 0,50,100 | cut -d' ' -f5)" -gt 400000 ] && { [ -z "$scale" ] || ! options_show "$1"; }
}
options_show() { [ "$(spot "$1" 100,100,80 "$title_x0" "$title_y0" "$title_x1" "$title_y1" | cut -d' ' -f3)" -gt 500 ]; }

# The screen pixel over the middle of the game's pixel (x, y), and whether a
# mean place on the screen is within TOLERANCE of the game's place (gx, gy).
to_screen() { awk -v s="$scale" -v ox="$ox" -v oy="$oy" -v x="$1" -v y="$2" 'BEGIN { printf "%d %d", int(ox + (x + 0.5) * s), int(oy + (y + 0.5) * s) }'; }
lands() {
    awk -v s="$scale" -v ox="$ox" -v oy="$oy" -v x="$1" -v y="$2" -v gx="$3" -v gy="$4" -v t="$5" 'BEGIN {
        dx = x - (ox + (gx + 0.5) * s - 0.5); dy = y - (oy + (gy + 0.5) * s - 0.5)
        exit !(dx <= t && -dx <= t && dy <= t && -dy <= t) }'
}

# The crosshair's red, by its mean place, must stand where the pointer is:
# its top-left corner on game pixel (x, y), to a game pixel. A busy machine
# may take a while to show it; a wrong place never passes.
read -r red_x red_y _ <<<"$("$PROBE" spot "$DATA/Fadenkreuz.bmp" 240,44,40 0 0 50 50 40)"
crosshair_at() {
    local name=$1 x=$2 y=$3 what=$4 sx sy cx cy n
    read -r sx sy <<<"$(to_screen "$x" "$y")"
    for _ in $(seq 30); do
        quick_shot "$name"
        read -r cx cy n <<<"$(spot "$name" 240,44,40 $((sx - 30)) $((sy - 30)) $((sx + 100)) $((sy + 100)) 40)"
        lands "$cx" "$cy" "$(awk -v a="$red_x" -v x="$x" 'BEGIN { print x + a }')" \
            "$(awk -v a="$red_y" -v y="$y" 'BEGIN { print y + a }')" "$(awk -v s="$scale" 'BEGIN { print s + 0.5 }')" &&
            return 0
        sleep 0.1
    done
    fail "$path: $what: the crosshair's red stands at $cx,$cy ($n pixels), the pointer at game $x,$y"
}
# A click once the crosshair shows at the place, held over several passes.
click_game() {
    read -r sx sy <<<"$(to_screen "$1" "$2")"
    move "$sx" "$sy"
    crosshair_at click "$1" "$2" "before a click at game $1,$2"
    hold_button 1 0.4
}

# Shares of a core that processes PID... take over the same SECONDS ("-"
# for none).
core_shares() {
    local seconds=$1 pid before=() after=() i=0
    shift
    for pid in "$@"; do before+=("$(awk '{ print $14 + $15 }' "/proc/$pid/stat" 2>/dev/null || echo -)"); done
    sleep "$seconds"
    for pid in "$@"; do after+=("$(awk '{ print $14 + $15 }' "/proc/$pid/stat" 2>/dev/null || echo -)"); done
    for pid in "$@"; do
        awk -v a="${before[$i]}" -v b="${after[$i]}" -v t="$(getconf CLK_TCK)" -v s="$seconds" \
            'BEGIN { if (a == "-" || b == "-") print "-"; else printf "%.0f%%\n", (b - a) * 100 / t / s }'
        i=$((i + 1))
    done
}

# PATH [picture]: "picture" checks the picture's place and the keys alone.
visit() {
    path=$1 scale=
    echo "== $path"
    start_game
    to_menu
    sleep 0.3
    quick_shot menu
    # Where the picture is, at what scale: 4:3, centred, black around it.
    local x0 y0 x1 y1 n w h
    read -r x0 y0 x1 y1 n <<<"$(box menu 0,50,100)"
    w=$((x1 - x0 + 1)) h=$((y1 - y0 + 1))
    echo "$path: the picture is ${w}x$h at +$x0+$y0"
    [ $((w * 3)) -eq $((h * 4)) ] || fail "$path: the picture is ${w}x$h, not 4:3"
    [ $((x0 + x1 + 1)) -eq "$WIDTH" ] && [ $((y0 + y1 + 1)) -eq "$HEIGHT" ] ||
        fail "$path: the picture ${w}x$h at +$x0+$y0 is not centred"
    [ "$w" -ge 1024 ] || fail "$path: the picture is smaller than the game's"
    for bar in "0 0" "$((WIDTH - 1)) $((HEIGHT - 1))"; do
        [ "$x0" -eq 0 ] && [ "$y0" -eq 0 ] && break
        [ "$("$PROBE" pixel "$SHOTS/menu.bmp" $bar)" = "0,0,0" ] || fail "$path: not black beside the picture at $bar"
    done
    scale=$(awk -v w="$w" 'BEGIN { printf "%.6f", w / 1024 }') ox=$x0 oy=$y0
    read -r title_x0 title_y0 <<<"$(to_screen 95 30)"
    read -r title_x1 title_y1 <<<"$(to_screen 225 85)"
    local shares
    mapfile -t shares < <(core_shares 3 "$GAME_PID" "$(pgrep -u "$SESSION_USER" -f "^Xwayland $DISPLAY " || echo 0)" "$XVFB_PID")
    echo "$path: in the menu the game takes ${shares[0]} of a core, Xwayland ${shares[1]}, sway ${shares[2]}"
    if [ "${2:-}" = picture ]; then
        leave_by_q
        return
    fi

    # Absolute motion all over the picture: every part takes the pointer.
    local spot_x spot_y
    for place in "611 497" "60 60" "900 60" "60 660" "900 660" "500 380"; do
        read -r spot_x spot_y <<<"$place"
        read -r sx sy <<<"$(to_screen "$spot_x" "$spot_y")"
        move "$sx" "$sy"; sleep 0.25
        crosshair_at abs "$spot_x" "$spot_y" "pointer put at screen $sx,$sy"
    done
    # Relative motion, one for one: 100 screen pixels across, 80 down.
    for _ in 1 2 3 4; do input move 25 20; sleep 0.05; done
    sleep 0.3
    crosshair_at rel "$(awk -v s="$scale" 'BEGIN { printf "%d", 500 + 100 / s }')" \
        "$(awk -v s="$scale" 'BEGIN { printf "%d", 380 + 80 / s }')" "after relative motion of 100,80"

    # Clicks: Options, Back, Start.
    click_game 440 370
    await_screen 40 "" options_show || fail "$path: a click on Options did not open them"
    click_game 25 720
    await_screen 40 "" menu_shows || fail "$path: a click on Back did not return to the menu"
    sleep 0.3
    click_game 440 310
    await_screen 60 "" menu_gone || fail "$path: a click on Start did not start a match"
    sleep 0.5
    # The aim: the right button opens the target window, and the crosshair
    # stands at the pointer over the field.
    read -r sx sy <<<"$(to_screen 385 455)"
    move "$sx" "$sy"; sleep 0.2
    quick_shot field
    hold_button 3 0.4
    local before
    before=$(box field 22,20,30 | cut -d' ' -f5)
    aim_shows() {
        awk -v a="$(box "$1" 22,20,30 | cut -d' ' -f5)" -v b="$before" -v s="$scale" 'BEGIN { exit !(a - b > 12000 * s * s) }'
    }
    await_screen 30 "" aim_shows ||
        fail "$path: the right button did not open the target window ($before of its pixels before)"
    crosshair_at aim 385 455 "aim open"
    hold_key Escape 0.3
    await_screen 40 "" menu_shows || fail "$path: Escape did not return to the menu"
    leave_by_q
}

leave_by_q() {
    hold_key q 0.3
    wait_game 10
    [ "$GAME_RC" = 0 ] || fail "$path: exit status $GAME_RC"
    [ ! -s "$WORK/game.err" ] || { cat "$WORK/game.err" >&2; fail "$path: the game wrote to its standard error"; }
}

command -v sway >/dev/null && command -v grim >/dev/null || fail "sway and grim are needed"
start_sway
mapfile -t libraries < <(sdl_libraries "$PROBE")
[ ${#libraries[@]} -gt 0 ] || fail "no SDL 1.2 library loads here"
for entry in "${libraries[@]}"; do
    read -r kind version _ folder <<<"$entry"
    if [ "$folder" = - ]; then unset LD_LIBRARY_PATH; else export LD_LIBRARY_PATH=$folder; fi
    export VELMORA_EXPECT_SDL=$kind
    unset SDL_VIDEODRIVER
    if [ "$kind" = classic ]; then
        # Classic SDL's full-screen window is two X windows, and under
        # Xwayland its pointer grab with a hidden cursor locks the pointer:
        # which of them the compositor hands the pointer to varies from
        # start to start. The launcher and scripts/play.sh play on
        # sdl12-compat on a Wayland desktop; classic SDL keeps the picture.
        visit "classic $version through XWayland" picture
    else
        visit "$kind $version, SDL2's own choice of driver"
        export SDL_VIDEODRIVER=wayland
        visit "$kind $version natively on Wayland"
    fi
done
echo "PASS"
