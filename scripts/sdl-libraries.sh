# The SDL 1.2 libraries this system has, for the test command, the
# end-to-end tests and bench/live.sh: Debian 12 has classic SDL 1.2 by
# default and sdl12-compat (SDL 1.2 over SDL2) beside it; Debian 13 has
# sdl12-compat only, and its sdl12-compat/ folder holds a link to that same
# library. Each folder that the package database lists with a
# libSDL-1.2.so.0 is tried with a program of ours that loads SDL 1.2 and
# names what it got ("PROGRAM sdl" prints "kind version file"); folders that
# lead to a file already seen are the same library.
#
#   source scripts/sdl-libraries.sh; sdl_libraries PROGRAM
#   bash scripts/sdl-libraries.sh PROGRAM
#
# prints a line per library, the system's default first:
#   KIND VERSION FILE FOLDER
# KIND is classic or sdl12-compat (told by the version the library reports),
# FILE its real file, FOLDER the one to put first in LD_LIBRARY_PATH for it,
# or "-" for the default.

sdl_libraries() {
    local program=$1 folder line kind version file seen=" "
    local folders=(-)
    [ -x "$program" ] || { echo "sdl_libraries: no program at '$program'" >&2; return 1; }
    # (The whole output is read before sed: under pipefail a reader leaving
    # early would fail the pipe.)
    local owned
    owned=$(dpkg-query -S '*/libSDL-1.2.so.0' 2>/dev/null || true)
    while read -r folder; do
        [ -n "$folder" ] && folders+=("$folder")
    done <<<"$(sed -n 's|^[^ ]*: \(/.*\)/libSDL-1\.2\.so\.0$|\1|p' <<<"$owned" | sort -u)"
    for folder in "${folders[@]}"; do
        if [ "$folder" = - ]; then
            line=$(env -u LD_LIBRARY_PATH "$program" sdl 2>/dev/null) || line=
        else
            line=$(LD_LIBRARY_PATH=$folder "$program" sdl 2>/dev/null) || line=
        fi
        read -r kind version file <<<"$line"
        if [ -z "${file:-}" ] || [ "$file" = "?" ]; then
            echo "sdl_libraries: no SDL 1.2 loads from ${folder/#-/the default folders}" >&2
            continue
        fi
        case $seen in *" $file "*) continue ;; esac
        seen+="$file "
        echo "$kind $version $file $folder"
    done
}

# The real file of the SDL 1.2 that process PID has loaded, from its memory
# map (which names the file a link resolves to), or nothing.
sdl_library_of_process() {
    local maps
    maps=$(cat "/proc/$1/maps" 2>/dev/null) || return 0
    grep -o '/[^ ]*/libSDL-1\.2\.so[^ ]*' <<<"$maps" | head -n 1 || true
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -euo pipefail
    [ $# -eq 1 ] || { echo "usage: $0 PROGRAM (tests/velmora_probe or bench/velmora_live_bench)" >&2; exit 2; }
    sdl_libraries "$1"
fi
