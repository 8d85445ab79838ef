#!/usr/bin/env bash
# Golden runs: plays every tests/golden/NAME.input through corvan-replay and compares what the
# player would have seen and heard (NAME.log), the final state (NAME.state.json) and a hash of
# every transition frame (NAME.frames) with the files kept next to the input. With --update it
# writes those files anew instead, after a change to the story or the engine that was meant.
#   run_golden.sh [--update] CORVAN_REPLAY GAMEDIR GOLDEN_DIR
set -euo pipefail
update=0
if [ "${1:-}" = "--update" ]; then
    update=1
    shift
fi
if [ $# -ne 3 ]; then
    echo "usage: run_golden.sh [--update] CORVAN_REPLAY GAMEDIR GOLDEN_DIR" >&2
    exit 2
fi
replay=$1 game=$2 golden=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shopt -s nullglob
inputs=("$golden"/*.input)
if [ ${#inputs[@]} -eq 0 ]; then
    echo "run_golden.sh: no .input files in $golden" >&2
    exit 2
fi

status=0
for input in "${inputs[@]}"; do
    name=$(basename "$input" .input)
    out="$work/$name"
    mkdir -p "$out/save"
    # Settings kept in memory and a fresh save folder: no run sees what another one cleared.
    if ! "$replay" --sound --save "$out/save" --input "$input" --log "$out/$name.log" \
            --state "$out/$name.state.json" --frames "$out/$name.frames" "$game" \
            2> "$out/stderr"; then
        echo "FAIL $name: corvan-replay failed:"
        cat "$out/stderr"
        status=1
        continue
    fi
    if [ "$update" -eq 1 ]; then
        cp "$out/$name.log" "$out/$name.state.json" "$out/$name.frames" "$golden/"
        echo "updated $name"
        continue
    fi
    same=1
    differs=()
    for kind in log state.json frames; do
        expected="$golden/$name.$kind"
        if [ ! -f "$expected" ]; then
            echo "FAIL $name: $expected is missing"
            same=0
        elif ! cmp -s "$expected" "$out/$name.$kind"; then
            echo "FAIL $name: $name.$kind differs from $expected (first differences):"
            if [ "$kind" = frames ]; then
                diff -u "$expected" "$out/$name.$kind" | head -n 8 || true
            else
                diff -u "$expected" "$out/$name.$kind" | head -n 30 || true
            fi
            differs+=("$kind")
            same=0
        fi
    done
    if [ "${differs[*]:-}" = frames ]; then
        # The same story, drawn differently: the text comes from the installed fonts.
        echo "     only the frames differ: the text is drawn with the fonts scripts/install-deps"
        echo "     installs (IPA fonts on Debian 12); other fonts or FreeType draw other pixels"
    fi
    if [ "$same" -eq 1 ]; then
        echo "ok   $name"
    else
        status=1
    fi
done
if [ "$status" -ne 0 ] && [ "$update" -eq 0 ]; then
    echo "After a change that was meant, write the golden files anew: scripts/update-golden"
fi
exit "$status"
