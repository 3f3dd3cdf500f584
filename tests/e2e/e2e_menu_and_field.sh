# The title, the main menu, a match on the standard field, Escape back to the
# menu, and Q to quit with status 0.
source "$(dirname "$0")/lib.sh" "$@"
start_x
start_game
to_menu                      # past the title
sleep 0.3
shot menu
# The menu background and the label pixels prove the menu is drawn.
[ "$(pixel menu 1000 20)" = "0,50,100" ] || fail "menu background is $(pixel menu 1000 20)"
labels=$(count_colour menu 200x200+400+300 100,100,80)
[ "$labels" -gt 500 ] || fail "menu labels not drawn ($labels text pixels)"

move 440 310                 # hot spot = cursor + 25 lands inside "Start"
sleep 0.4
shot cursor
read -r cx cy cf <<<"$(find_sprite cursor Fadenkreuz.bmp 255,255,255 400 270 480 350)"
[ "$cx $cy" = "440 310" ] && ok_fraction "$cf" 0.95 || fail "crosshair cursor not at the pointer ($cx $cy $cf)"

start_match
shot field
kill -0 "$GAME_PID" || fail "game exited during the match"
f=$(same_as field VMFeld.bmp 0 100 1024 400)
ok_fraction "$f" 0.97 || fail "standard field not drawn (match $f)"
read -r x y f <<<"$(find_sprite field TestFigur1.bmp 255,255,255 440 0 460 10)"
[ "$x $y" = "450 0" ] && ok_fraction "$f" 0.97 || fail "CPU figure not at (450, 0): $x $y $f"
read -r x y f <<<"$(find_sprite field TestFigur2.bmp 255,255,255 440 560 460 580)"
# The ball lies over the player's figure at the start of a rally.
[ "$x $y" = "450 570" ] && ok_fraction "$f" 0.6 || fail "player figure not at (450, 570): $x $y $f"
read -r x y f <<<"$(find_sprite field Ball.bmp 255,255,255 490 640 510 660)"
[ "$x $y" = "500 650" ] && ok_fraction "$f" 0.97 || fail "ball not at (500, 650): $x $y $f"

hold_key Escape 0.3
sleep 0.8
shot back
[ "$(pixel back 1000 20)" = "0,50,100" ] || fail "Escape did not return to the menu"
hold_key q 0.3
wait_game 10; rc=$GAME_RC
[ "$rc" = 0 ] || fail "exit status $rc"
echo "PASS"
