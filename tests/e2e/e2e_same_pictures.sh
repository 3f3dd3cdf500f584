# The same game on each SDL 1.2 the system has (classic SDL 1.2 and
# sdl12-compat, SDL 1.2 over SDL2, on Debian 12) shows the very same pixels:
# the main menu, the options, the credits and a match's first picture, each
# with the crosshair placed by an absolute pointer move; and on each the
# crosshair stands under the pointer after the options, the credits and a
# match have returned. Where there is one library, the crosshair checks run
# and there is nothing to compare. Then sdl12-compat on a 1920x1080 desktop,
# where it scales the picture to the screen.
source "$(dirname "$0")/lib.sh" "$@"
mapfile -t libraries < <(sdl_libraries "$PROBE")
[ ${#libraries[@]} -gt 0 ] || fail "no SDL 1.2 library loads here"
start_x

click_at() { move "$1" "$2"; sleep 0.2; hold_button 1 0.25; sleep 0.4; }

# The crosshair's top-left corner is the pointer's position.
crosshair_at() {
    local name=$1 x=$2 y=$3 fx fy f
    read -r fx fy f <<<"$(find_sprite "$name" Fadenkreuz.bmp 255,255,255 $((x - 30)) $((y - 30)) $((x + 30)) $((y + 30)))"
    [ "$fx $fy" = "$x $y" ] && ok_fraction "$f" 0.95 ||
        fail "$library, $name: crosshair at $fx $fy ($f), the pointer at $x $y"
}

# Each screen is shot with the pointer somewhere no other screen put it, so
# a crosshair left over from before the screen would show.
# $1: a line of sdl_libraries.
visit() {
    local kind version file folder
    read -r kind version file folder <<<"$1"
    library=$kind-$version
    if [ "$folder" = - ]; then
        unset LD_LIBRARY_PATH
    else
        export LD_LIBRARY_PATH=$folder
    fi
    export VELMORA_EXPECT_SDL=$kind
    start_game
    to_menu
    move 610 590; sleep 0.3; shot "$library-menu"
    crosshair_at "$library-menu" 610 590
    click_at 440 370                              # Options
    move 660 640; sleep 0.3; shot "$library-options"
    crosshair_at "$library-options" 660 640
    click_at 920 720                              # Credits
    move 600 150; sleep 0.3; shot "$library-credits"
    crosshair_at "$library-credits" 600 150
    hold_key Escape 0.2; sleep 0.4                # back to the options
    move 700 300; sleep 0.3; quick_shot "$library-options-again"
    crosshair_at "$library-options-again" 700 300
    click_at 25 720                               # Back to the menu
    move 620 200; sleep 0.3; quick_shot "$library-menu-again"
    crosshair_at "$library-menu-again" 620 200
    sleep 0.3
    click_at 440 310                              # Start
    sleep 0.5; shot "$library-match"
    hold_key Escape 0.3; sleep 0.5
    move 150 600; sleep 0.3; quick_shot "$library-after-match"
    crosshair_at "$library-after-match" 150 600
    hold_key q 0.3
    wait_game 10
    [ "$GAME_RC" = 0 ] || fail "$library: exit status $GAME_RC"
}

for entry in "${libraries[@]}"; do visit "$entry"; done
read -r kind version _ <<<"${libraries[0]}"
first=$kind-$version
if [ ${#libraries[@]} -eq 1 ]; then
    echo "one SDL 1.2 here ($kind $version): nothing to compare its pictures with"
fi
for entry in "${libraries[@]:1}"; do
    read -r kind version _ <<<"$entry"
    echo "comparing $first with $kind-$version: the same build, texts by the same SDL_ttf and FreeType"
    for screen in menu options credits match; do
        differ=$(compare -metric AE "$SHOTS/$first-$screen.bmp" "$SHOTS/$kind-$version-$screen.bmp" null: 2>&1 || true)
        [ "$differ" = 0 ] || fail "the $screen differs between $first and $kind-$version in $differ pixels"
    done
done

# On a 1920x1080 desktop with a window manager, sdl12-compat shows the
# 1024x768 picture scaled to the screen's height, letterboxed: 1440x1080
# from x 240. Checked where scaling cannot change it: the background's
# colour and the black bars, where a label and the crosshair stand (the
# mean place of their pixels of one colour, against the unscaled picture),
# and that clicks land on the labels.
stop_x
start_x 1920x1080
start_wm
read -r scale ox oy <<<"$(awk 'BEGIN { s = 1920 / 1024; if (1080 / 768 < s) s = 1080 / 768
    printf "%.6f %.3f %.3f", s, (1920 - 1024 * s) / 2, (1080 - 768 * s) / 2 }')"
# The screen pixel over the middle of the game's pixel (x, y).
to_screen() { awk -v s="$scale" -v ox="$ox" -v oy="$oy" -v x="$1" -v y="$2" 'BEGIN { printf "%d %d", int(ox + (x + 0.5) * s), int(oy + (y + 0.5) * s) }'; }
# Whether a mean place on the screen is within TOLERANCE pixels of where the
# mean place (gx, gy) of the game's picture lands.
lands() {
    awk -v s="$scale" -v ox="$ox" -v oy="$oy" -v x="$1" -v y="$2" -v gx="$3" -v gy="$4" -v t="$5" 'BEGIN {
        dx = x - (ox + (gx + 0.5) * s - 0.5); dy = y - (oy + (gy + 0.5) * s - 0.5)
        exit !(dx <= t && -dx <= t && dy <= t && -dy <= t) }'
}
spot() { "$PROBE" spot "$SHOTS/$1.bmp" "${@:2}"; }
click_game() { read -r sx sy <<<"$(to_screen "$1" "$2")"; click_at "$sx" "$sy"; }
text=100,100,80
# A label's text pixels, in the unscaled menu and in the scaled one.
label_lands() {
    local name=$1 x0=$2 y0=$3 x1=$4 y1=$5 gx gy gn sx0 sy0 sx1 sy1 x y n
    read -r gx gy gn <<<"$(spot "$unscaled" "$text" "$x0" "$y0" "$x1" "$y1")"
    read -r sx0 sy0 <<<"$(to_screen "$x0" "$y0")"
    read -r sx1 sy1 <<<"$(to_screen "$x1" "$y1")"
    read -r x y n <<<"$(spot scaled-menu "$text" $((sx0 - 2)) $((sy0 - 2)) $((sx1 + 2)) $((sy1 + 2)))"
    lands "$x" "$y" "$gx" "$gy" 3 ||
        fail "scaled: \"$name\" stands at $x,$y ($n pixels); unscaled at $gx,$gy ($gn)"
    # Scaled, not merely moved: about scale squared as many pixels.
    awk -v n="$n" -v gn="$gn" -v s="$scale" 'BEGIN { exit !(n >= 0.6 * gn * s * s && n <= 1.3 * gn * s * s) }' ||
        fail "scaled: \"$name\" has $n text pixels, $gn unscaled"
}
scaled_menu_shows() { [ "$(pixel "$1" 1647 28)" = "0,50,100" ]; }
scaled_options_show() { [ "$(spot "$1" "$text" 380 50 550 115 | cut -d' ' -f3)" -gt 500 ]; }

compat=
for entry in "${libraries[@]}"; do [[ $entry == sdl12-compat\ * ]] && compat=$entry; done
[ -n "$compat" ] || fail "no sdl12-compat here for the scaled picture"
read -r kind version _ folder <<<"$compat"
unscaled=$kind-$version-menu
if [ "$folder" = - ]; then unset LD_LIBRARY_PATH; else export LD_LIBRARY_PATH=$folder; fi
export VELMORA_EXPECT_SDL=$kind
start_game
to_menu
read -r cursor_x cursor_y <<<"$(to_screen 611 497)"
move "$cursor_x" "$cursor_y"; sleep 0.3; shot scaled-menu
scaled_menu_shows scaled-menu || fail "scaled: the menu's background at (1647, 28) is $(pixel scaled-menu 1647 28)"
for bar in "100 540" "1819 540" "239 1079" "1680 0"; do
    [ "$(pixel scaled-menu $bar)" = "0,0,0" ] || fail "scaled: no black bar at $bar: $(pixel scaled-menu $bar)"
done
for edge in "240 0" "1679 1079"; do
    [ "$(pixel scaled-menu $edge)" = "0,50,100" ] || fail "scaled: the picture does not reach $edge: $(pixel scaled-menu $edge)"
done
label_lands Start 390 300 520 360
label_lands Options 390 370 585 430
label_lands Quit 390 440 500 500
# The crosshair's top-left corner is the pointer's place in the game's
# picture (to a game pixel); its red is found by its mean place.
read -r rx ry rn <<<"$("$PROBE" spot "$DATA/Fadenkreuz.bmp" 240,44,40 0 0 50 50 40)"
read -r x y n <<<"$(spot scaled-menu 240,44,40 $((cursor_x - 20)) $((cursor_y - 20)) $((cursor_x + 90)) $((cursor_y + 90)) 40)"
lands "$x" "$y" "$(awk -v a="$rx" 'BEGIN { print 611 + a }')" "$(awk -v a="$ry" 'BEGIN { print 497 + a }')" \
    "$(awk -v s="$scale" 'BEGIN { print s + 0.5 }')" ||
    fail "scaled: the crosshair's red stands at $x,$y ($n pixels), the pointer at $cursor_x,$cursor_y"
# Where the machine has no render node (no GPU), the game has the picture
# scaled by repeating pixels: every colour on the screen is one of the
# picture's own.
if ! compgen -G '/dev/dri/renderD*' >/dev/null; then
    colours() { convert "$SHOTS/$1.bmp" -crop "$2" +repage -unique-colors -depth 8 txt:- | awk 'NR > 1 { print $3 }' | sort -u; }
    new=$(comm -13 <(colours "$unscaled" 1024x768+0+0) <(colours scaled-menu 1440x1080+240+0) | wc -l)
    [ "$new" = 0 ] || fail "scaled: $new colours on the screen that the picture does not have"
fi
click_game 440 370                                # Options
await_screen 40 "" scaled_options_show || fail "scaled: a click on Options did not open them"
click_game 25 720                                 # Back
await_screen 40 "" scaled_menu_shows || fail "scaled: a click on Back did not return to the menu"
sleep 0.3
click_game 440 310                                # Start
await_screen 40 "" menu_gone || fail "scaled: a click on Start did not start a match"
sleep 0.5
hold_key Escape 0.3
await_screen 40 "" scaled_menu_shows || fail "scaled: Escape did not return to the menu"
hold_key q 0.3
wait_game 10
[ "$GAME_RC" = 0 ] || fail "scaled: exit status $GAME_RC"
echo "PASS"
