#!/usr/bin/env bash
# The browser game's tests, run by scripts/test.sh after the native build:
# builds it (scripts/web.sh), then
# - platform/web's SDL 1.2 against classic SDL 1.2 (tests/web/sdl_same.cpp);
# - the replays under tests/demos/ on the browser build of the replay
#   runner under node (same traces as the Linux game: the same rules);
# - the Linux game's pictures of the walk, and its cost, under Xvfb;
# - the walk in headless Chromium and in WebKitGTK's MiniBrowser (under an
#   Xvfb of its own) at 1024x768 in the page's full screen and in a
#   1600x1000 window, and in headless Firefox ESR in the window, with the
#   pictures compared pixel for pixel; the same walk by a scripted pad
#   alone in Chromium and Firefox ESR;
# - the six sounds through the web mixer;
# - the walk by touch alone on a tablet and a phone (touch.js), and the
#   game played offline after one visit;
# - the page over a phone's network from a plain host: bytes in budget,
#   a later visit from the store, a cut download, a damaged stored file;
# - figures: download sizes, the browser's cost beside the native one.
# Every process started here ends by the end, also on failure.
#
#   bash tests/web/run.sh [build|test|quick]
# "build" does only what may need the network (the build and the npm
# packages) and builds the test programs; "test" runs the tests on what
# "build" left, with no network (the Debian 13 pass). Both by default.
# "quick", after "build", runs the walk in headless Chromium alone (the
# quick tier of scripts/test.sh).
set -euo pipefail
stage=${1:-all}
case $stage in all|build|test|quick|packages) ;; *) echo "usage: $0 [build|test|quick|packages]" >&2; exit 2 ;; esac
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
native=$root/build
site=$root/build-web
game=$root/build-web-work/game
started=$(date +%s)

export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
npm_packages() {
    echo "== npm packages of the browser tests (puppeteer-core, no browser download)"
    if ! cmp -s "$here/package-lock.json" "$here/node_modules/.velmora-lock"; then
        PUPPETEER_SKIP_DOWNLOAD=1 npm ci --prefix "$here" --no-audit --no-fund --loglevel=error
        cp "$here/package-lock.json" "$here/node_modules/.velmora-lock"
    fi
}
# "packages": the npm packages alone (the Debian 13 pass copies them).
[ "$stage" != packages ] || { npm_packages; exit 0; }
if [ "$stage" = all ] || [ "$stage" = build ]; then
    bash "$root/scripts/web.sh"
    echo "== Test programs for the browser build"
    cmake --build "$game" -j2 --target velmora_replay_node velmora_sound_check velmora_sdl_same_node
    cmake --build "$native" -j2 --target velmora_compose velmora_sdl_same velmora velmora_probe
    npm_packages
fi
[ "$stage" != build ] || exit 0
cmp -s "$here/package-lock.json" "$here/node_modules/.velmora-lock" ||
    { echo "FAIL: the npm packages are not those of package-lock.json: run $0 build" >&2; exit 1; }

work=$(mktemp -d /tmp/velmora-web-tests.XXXXXX)
keep=${VELMORA_WEB_KEEP:-}
pids=()
http_pid=
touch "$work/browsers"
cleanup() {
    local pid
    for pid in "${pids[@]}" $http_pid; do kill "$pid" 2>/dev/null || true; done
    # Chromium runs in a process group of its own, led by the process
    # puppeteer started.
    while read -r pid; do kill -KILL -- "-$pid" 2>/dev/null || true; done <"$work/browsers"
    wait 2>/dev/null || true
    if [ -n "$keep" ]; then echo "kept: $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP
# Runs a command in the background as the very process to end on failure.
run() {
    "$@" &
    pids+=($!)
    local rc=0
    wait "$!" || rc=$?
    pids=("${pids[@]:0:${#pids[@]}-1}")
    return "$rc"
}

if [ "$stage" != quick ]; then
echo "== The replays on the browser build, under node"
mapfile -t demos < <(ls -S "$root"/tests/demos/*.demo)
running=()
for demo in "${demos[@]}"; do
    name=$(basename "$demo" .demo)
    # node's own fetch cannot read a local .wasm; the runner reads files.
    (cd "$game" && exec node --no-experimental-fetch velmora_replay_node.js trace "$demo" \
        >"$work/$name.trace" 2>"$work/$name.err") &
    pids+=($!)
    running+=($!)
    if [ ${#running[@]} -ge 2 ]; then
        wait "${running[0]}" || true
        running=("${running[@]:1}")
    fi
done
for pid in "${running[@]}"; do wait "$pid" || true; done
pids=()
failed=0
for demo in "${demos[@]}"; do
    name=$(basename "$demo" .demo)
    if cmp -s "${demo%.demo}.trace" "$work/$name.trace"; then
        echo "   $name: the same trace"
    else
        failed=1
        echo "FAIL: $name: the trace differs from the Linux game's:" >&2
        diff "${demo%.demo}.trace" "$work/$name.trace" | head -n 6 >&2 || true
        tail -n 5 "$work/$name.err" >&2
    fi
done
[ "$failed" = 0 ] || exit 1
fi

echo "== The browser build's SDL 1.2 against classic SDL 1.2 (blits, fills, pictures, error texts)"
# Classic SDL 1.2 is the reference; Debian 13 has sdl12-compat alone, which
# clips and blends otherwise, so there the comparison is left to Debian 12.
source "$root/scripts/sdl-libraries.sh"
libraries=$(sdl_libraries "$native/tests/velmora_probe")
classic=$(awk '$1 == "classic" { print $4; exit }' <<<"$libraries")
# The library the Linux game's pictures below are drawn with (the default).
export VELMORA_NATIVE_SDL=$(awk 'NR == 1 { print $1 }' <<<"$libraries")
if [ -z "$classic" ]; then
    echo "   no classic SDL 1.2 on this system: not compared here"
elif [ "$stage" = quick ]; then
    echo "   (not in the quick tier)"
else
    [ "$classic" != - ] || classic=
    mkdir -p "$work/same"
    run env -C "$native" ${classic:+LD_LIBRARY_PATH=$classic} ./tests/velmora_sdl_same "$work/same" >"$work/same/linux.txt"
    run env -C "$native" node --no-experimental-fetch "$game/velmora_sdl_same_node.js" "$work/same" >"$work/same/web.txt"
    if ! diff -u "$work/same/linux.txt" "$work/same/web.txt" >"$work/same/diff"; then
        echo "FAIL: the browser build's SDL differs from classic SDL 1.2:" >&2
        head -n 20 "$work/same/diff" >&2
        exit 1
    fi
    echo "   $(wc -l <"$work/same/linux.txt") cases: the same"
fi

echo "== The Linux game's pictures and cost, under Xvfb"
run bash "$here/native_pictures.sh" "$native" "$work/native"

echo "== The walk in headless Chromium, Firefox ESR and WebKit"
# The page as shipped, and the sound check beside it.
mkdir -p "$work/site"
cp -r "$site"/. "$work/site/"
cp "$game"/sound_check.html "$game"/velmora_sound_check.{js,wasm,data} "$work/site/"
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work/site" >"$work/http.log" 2>&1 &
http_pid=$!
port=
for _ in $(seq 100); do
    port=$(sed -nE 's/.*port ([0-9]+).*/\1/p' "$work/http.log" | head -n 1)
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { echo "FAIL: the web server did not start: $(cat "$work/http.log")" >&2; exit 1; }
url=http://127.0.0.1:$port
export VELMORA_PIDFILE=$work/browsers VELMORA_PROFILES=$work/profiles
export VELMORA_COMPOSE=$native/tests/velmora_compose
mkdir -p "$work/out"
# Two walks at a time, WebKit's (on a screen of its own) beside another:
# much of a walk is waiting (the page hidden 10 s, keys held, pictures
# awaited), so two take little longer than one.
walk=(node "$here/browser.js" walk "$url/")
pictures=("$work/native" "$native/data" "$work/out")
beside=
walk_beside() {
    env VELMORA_BROWSER="$1" "${walk[@]}" "$2" "$3" "$4" "${pictures[@]}" >"$work/beside.log" 2>&1 &
    beside=$!
    pids+=("$beside")
}
beside_done() {
    local rc=0
    wait "$beside" || rc=$?
    pids=("${pids[@]:0:${#pids[@]}-1}")
    cat "$work/beside.log"
    return "$rc"
}
walks_started=$(date +%s)
if [ "$stage" = quick ]; then
    run "${walk[@]}" 1024 768 full "${pictures[@]}"
    echo "== The walk in headless Chromium passed in $(( $(date +%s) - started )) s"
    exit 0
fi
walk_beside webkit 1600 1000 window
run "${walk[@]}" 1024 768 full "${pictures[@]}"
beside_done
walk_beside webkit 1024 768 full
run "${walk[@]}" 1600 1000 window "${pictures[@]}"
beside_done
walk_beside firefox 1600 1000 pad
VELMORA_BROWSER=firefox run "${walk[@]}" 1600 1000 window "${pictures[@]}"
beside_done
run "${walk[@]}" 1600 1000 pad "${pictures[@]}"
echo "   the seven walks took $(( $(date +%s) - walks_started )) s"
run node "$here/browser.js" sounds "$url/sound_check.html" "$native/data" "$work/out"
run node "$here/browser.js" nosound "$url/"
run node "$here/browser.js" cost "$url/" "$work/out"
run node "$here/touch.js" walk "$url/" "$native/data" "$work/out"
run node "$here/touch.js" offline "$work/site"
run node "$here/browser.js" load "$site" "$native/data"

echo "== Figures (never fail the run)"
printf '   %-13s %9d bytes\n' index.html "$(stat -c %s "$site/index.html")"
printf '   %-13s %9d bytes, %d files, compressed\n' files/ "$(cat "$site"/files/* | wc -c)" "$(ls "$site/files" | wc -l)"
echo "   share of a core, main menu and a match with the aim open (machine load: $(cut -d' ' -f1-3 /proc/loadavg)):"
echo "     Linux game + X server: $(cat "$work/native/native-cost")"
echo "     Chromium, all its processes: $(cat "$work/out/browser-cost")"
echo "== The browser tests passed in $(( $(date +%s) - started )) s"
