#!/usr/bin/env bash
# The pictures in docs/ against the game as it is now: scripts/screenshots.sh
# takes them again and
# - each shows what it names, by the game's own colours and images: the
#   menus' background, the title, the standard field, the target window,
#   the ball well up the field;
# - the committed ones are not stale. Screens that stand still (the title's
#   last frame, the menus with the pointer at a fixed spot, the match with
#   the aim open) must match pixel for pixel; in flight.png the ball, its
#   shadow and both figures move with the timing, so it may differ by at
#   most what those four sprites cover in two places each, and no more.
#   Where the system's font, drawing library or SDL are not those that
#   docs/made-with.txt names, the pixels cannot be compared, and it says so.
#   bash tests/release/pictures.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
probe=$root/build/tests/velmora_probe
data=$root/build/data
work=$(mktemp -d /tmp/velmora-pictures.XXXXXX)
trap 'rm -rf "$work"' EXIT
failed=0
fault() { echo "FAIL: $*" >&2; failed=1; }

bash "$root/scripts/screenshots.sh" "$work/new" >"$work/log" 2>&1 || {
    cat "$work/log" >&2
    echo "FAIL: scripts/screenshots.sh" >&2
    exit 1
}
for f in "$work"/new/*.png; do convert "$f" "BMP3:${f%.png}.bmp"; done
shot() { echo "$work/new/$1.bmp"; }
ok() { awk -v f="$1" -v l="$2" 'BEGIN { exit !(f >= l) }'; }

for p in menu options; do
    [ "$("$probe" pixel "$(shot $p)" 1000 20)" = "0,50,100" ] || fault "$p.png: not the menus' background"
done
read -r x y f <<<"$("$probe" find "$(shot title)" "$data/Velmora.bmp" 255,255,255 300 7 300 7)"
ok "$f" 0.99 || fault "title.png: no title at (300, 7) ($f)"
ok "$("$probe" same "$(shot flight)" "$data/VMFeld.bmp" 0 100 1024 400)" 0.9 || fault "flight.png: not the standard field"
ok "$("$probe" same "$(shot aim)" "$data/VMFeld.bmp" 0 640 1024 768)" 0.9 || fault "aim.png: not the standard field"
read -r x y f <<<"$("$probe" find "$(shot aim)" "$data/SchFenster.bmp" 250,200,200 250 150 250 150)"
ok "$f" 0.8 || fault "aim.png: the target window is not open ($f)"
read -r x y f <<<"$("$probe" find "$(shot flight)" "$data/Ball.bmp" 255,255,255 0 0 973 640)"
ok "$f" 0.9 && [ "$y" -lt 380 ] || fault "flight.png: no ball up the field ($x $y $f)"

if ! cmp -s "$work/new/made-with.txt" "$root/docs/made-with.txt"; then
    echo "   docs/ was made with other libraries than this system's: not compared" >&2
    diff "$root/docs/made-with.txt" "$work/new/made-with.txt" | sed 's/^/   /' >&2
else
    area() { identify -format '%[fx:w*h]' "$data/$1"; }
    moving=$(( 2 * ($(area Ball.bmp) + $(area Ballschatten.bmp) + $(area TestFigur1.bmp) + $(area TestFigur2.bmp)) ))
    for p in title menu options aim flight; do
        if [ ! -f "$root/docs/$p.png" ]; then fault "docs/$p.png is missing"; continue; fi
        limit=0
        [ "$p" = flight ] && limit=$moving
        n=$(compare -metric AE "$root/docs/$p.png" "$work/new/$p.png" null: 2>&1)
        [[ $n =~ ^[0-9]+$ ]] && [ "$n" -le "$limit" ] ||
            fault "docs/$p.png is stale: $n pixels differ (at most $limit may); run bash scripts/screenshots.sh"
    done
fi
[ "$failed" = 0 ] && echo "PASS: the pictures show the game, and docs/ holds today's"
exit "$failed"
