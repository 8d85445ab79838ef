#!/usr/bin/env bash
# What a waiting game costs on a desktop: under Xvfb, corvan2 on the demo game (in a 640x480
# window, and in fullscreen with the sharp scaling) and Debian's onscripter on a one-line script
# of its own, each waiting for a click. For each: the CPU it uses over 10 seconds of waiting,
# its resident memory, and the time from its start until its window is mapped with the picture. Run from the repository after building (build/).
#
#   bench/desktop.sh [SECONDS]        (default 10)
#
# It installs onscripter and x11-utils from Debian when they are missing (with sudo when not
# root), and runs itself under xvfb-run when there is no display.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}

if [ -z "${CORVAN_DESKTOP_BENCH_XVFB:-}" ]; then
    need=()
    command -v /usr/games/onscripter >/dev/null || need+=(onscripter)
    command -v xwininfo >/dev/null || need+=(x11-utils)
    command -v xvfb-run >/dev/null || need+=(xvfb xauth)
    if [ ${#need[@]} -gt 0 ]; then
        sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        echo "desktop.sh: installing ${need[*]}"
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
            "${need[@]}" >/dev/null
    fi
    export CORVAN_DESKTOP_BENCH_XVFB=1
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
fi

[ -x build/shell/corvan2 ] && [ -f build/demo/mg_data.stf ] || {
    echo "desktop.sh: build first (cmake --build build)" >&2
    exit 1
}

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

# corvan2 on the demo, with a settings file and save folder of its own, at scale 1.
mkdir -p "$work/config" "$work/save"
printf '[Corvan]\nSaveDir=%s\nGameDir=%s\n' "$work/save" "$PWD/build/demo" \
    >"$work/config/Brackwell.ini"
mkdir -p "$work/sharp"
printf 'Scaling=sharp\n' | cat "$work/config/Brackwell.ini" - >"$work/sharp/Brackwell.ini"

# onscripter on one page that waits for a click, in a font it can read.
mkdir -p "$work/ons"
printf '*define\ngame\n*start\nWaiting for a click.@\nclick\nend\n' >"$work/ons/0.txt"
font=$(fc-match -f '%{file}' 'DejaVu Sans' 2>/dev/null || true)
[ -n "$font" ] && ln -s "$font" "$work/ons/default.ttf"

now_ms() { date +%s%3N; }

# Milliseconds until a mapped window of this size appears, or empty after 20 s.
window_ms() {
    local start=$1 size=$2
    for _ in $(seq 1 2000); do
        if xwininfo -root -tree 2>/dev/null | grep -q " ${size}+"; then
            echo $(($(now_ms) - start))
            return
        fi
        sleep 0.01
    done
}

cpu_ticks() {
    local stat
    read -r -a stat <"/proc/$1/stat"
    echo $((stat[13] + stat[14]))
}

# One program: start it, wait for its window (of $window_size) and two more seconds, then measure. onscripter
# now and then quits at once on Xvfb; it gets three tries.
measure() {
    local name=$1
    shift
    local start pid first t0 t1 rss hz try
    for try in 1 2 3; do
        start=$(now_ms)
        "$@" >"$work/$name.log" 2>&1 &
        pid=$!
        first=$(window_ms "$start" "${window_size:-640x480}")
        sleep 2
        kill -0 "$pid" 2>/dev/null && break
        echo "$name ended by itself (try $try):" >&2
        tail -n 3 "$work/$name.log" >&2
        [ "$try" = 3 ] && return
    done
    t0=$(cpu_ticks "$pid")
    sleep "$seconds"
    t1=$(cpu_ticks "$pid")
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    hz=$(getconf CLK_TCK)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    awk -v n="$name" -v t=$((t1 - t0)) -v hz="$hz" -v s="$seconds" -v r="$rss" -v f="${first:-?}" \
        'BEGIN { printf "%-12s %8.2f %% %9.1f MiB %10s ms\n", n, 100 * t / hz / s, r / 1024, f }'
}

# corvan with its music playing (SDL's dummy driver keeps real time without a sound card): the
# whole program, and the share of it that is the synthesiser's own audio thread.
measure_music() {
    local pid t0 t1 a0 a1 hz
    XDG_CONFIG_HOME="$work/config" SDL_AUDIODRIVER=dummy build/shell/corvan --scale 1 --window \
        >/dev/null 2>&1 &
    pid=$!
    window_ms "$(now_ms)" 640x480 >/dev/null
    sleep 2
    audio_ticks() {
        local total=0 task name stat
        for task in /proc/"$pid"/task/*; do
            name=$(cat "$task/comm")
            case "$name" in SDLAudio*)
                read -r -a stat <"$task/stat"
                total=$((total + stat[13] + stat[14]))
                ;;
            esac
        done
        echo "$total"
    }
    t0=$(cpu_ticks "$pid")
    a0=$(audio_ticks)
    sleep "$seconds"
    t1=$(cpu_ticks "$pid")
    a1=$(audio_ticks)
    hz=$(getconf CLK_TCK)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    awk -v t=$((t1 - t0)) -v a=$((a1 - a0)) -v hz="$hz" -v s="$seconds" \
        'BEGIN { printf "corvan with music %.2f %% of a core, of which the synthesiser %.2f %%\n",
                 100 * t / hz / s, 100 * a / hz / s }'
}

echo "waiting for a click, ${seconds} s; idle CPU of one core, resident memory, first frame"
XDG_CONFIG_HOME="$work/config" measure corvan2 build/shell/corvan2 --scale 1 --window
XDG_CONFIG_HOME="$work/sharp" window_size=1920x1080 measure "corvan2 sharp" build/shell/corvan2 \
    --fullscreen
SDL_AUDIODRIVER=dummy measure onscripter /usr/games/onscripter -r "$work/ons"
measure_music
