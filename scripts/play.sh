#!/usr/bin/env bash
# Installs what is missing, builds the game and its data (not the tests or
# the benchmark), and starts it from build/ (which holds the generated data/).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh velmora assets
# On a Wayland desktop, sdl12-compat where Debian 12 has it beside classic
# SDL 1.2, as the installed game's launcher does (packaging/velmora.sh.in).
compat=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null)/sdl12-compat
if { [ -n "${WAYLAND_DISPLAY:-}" ] || [ "${XDG_SESSION_TYPE:-}" = wayland ]; } &&
    [ -e "$compat/libSDL-1.2.so.0" ]; then
    export LD_LIBRARY_PATH="${LD_LIBRARY_PATH:+$LD_LIBRARY_PATH:}$compat"
fi
cd build && exec ./velmora
