# Options: choose the street field, level 2 and club 4, go back, start a match
# and see the street field; open the credits and leave them with Escape. The
# title, "Options" and "Back" each get a touchpad's tap, not a held click.
source "$(dirname "$0")/lib.sh" "$@"
start_x
start_game
tap_past_title

click_at() { move "$1" "$2"; sleep 0.2; hold_button 1 0.25; sleep 0.3; }
tap_at() { move "$1" "$2"; sleep 0.2; tap 1; sleep 0.3; }
text_pixels() { count_colour "$1" "$2" 100,100,80; }

sleep 0.5                             # the menu ignores clicks for 500 ms
tap_at 440 370                        # "Options"
shot options
[ "$(text_pixels options 150x60+100+30)" -gt 300 ] || fail "options screen not shown"
for m in "250 50" "290 400" "240 500"; do
    read -r x y f <<<"$(find_sprite options MiniBall.bmp 255,255,255 $m ${m% *} ${m#* })"
    ok_fraction "$f" 0.9 && fail "a marker shows before any choice ($m)"
done

click_at 325 200                      # field "Street"
click_at 430 400                      # enemy 2
click_at 570 500                      # club 4
move 700 700; sleep 0.3
shot chosen
for m in "250 190" "390 400" "540 500"; do
    read -r x y f <<<"$(find_sprite chosen MiniBall.bmp 255,255,255 $m ${m% *} ${m#* })"
    ok_fraction "$f" 0.9 || fail "no marker at ($m): $f"
done

tap_at 25 720                         # "Back"
sleep 0.6                             # the menu ignores clicks for 500 ms
shot menu
[ "$(pixel menu 1000 20)" = "0,50,100" ] || fail "Back did not return to the menu"
click_at 440 310                      # "Start"
sleep 0.6
shot street
f=$(same_as street VMFeldStr.bmp 0 100 1024 400)
ok_fraction "$f" 0.97 || fail "the street field is not drawn (match $f)"

hold_key Escape 0.3; sleep 0.5
click_at 440 370                      # "Options" again
click_at 920 720                      # "Credits"
shot credits
read -r x y f <<<"$(find_sprite credits VelmoraMini.bmp 255,255,255 245 515 255 525)"
[ "$x $y" = "250 520" ] && ok_fraction "$f" 0.8 || fail "credits logo not shown: $x $y $f"
hold_key Escape 0.2                   # leaves the credits only
sleep 0.4
shot after_credits
[ "$(text_pixels after_credits 150x60+100+30)" -gt 300 ] || fail "Escape on the credits left the options too"
sleep 0.4
hold_key Escape 0.3; sleep 0.5
shot menu2
[ "$(text_pixels menu2 150x60+100+30)" -lt 50 ] && [ "$(pixel menu2 1000 20)" = "0,50,100" ] \
    || fail "Escape did not leave the options"
hold_key q 0.3
wait_game 10; rc=$GAME_RC
[ "$rc" = 0 ] || fail "exit status $rc"
echo "PASS"
