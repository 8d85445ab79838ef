#!/bin/bash
# The demo's routes, within a budget ctest can afford: corvan-explore walks towards the endings
# it has not found yet first, so its first 120 choice points must reach all three endings, and
# nothing on the way may get stuck, loop, reach a dead end or meet a missing label or chunk.
# (The whole walk of the demo's hotel takes minutes: bench/explore_bench.cpp times it.)
# Usage: routes.sh CORVAN-EXPLORE GAMEDIR
set -u
report=$("$1" --json --max-states 120 "$2")
status=$?
if [ "$status" -ne 0 ] && [ "$status" -ne 3 ]; then
    echo "corvan-explore exited with $status:"
    echo "$report"
    exit 1
fi
endings=$(printf '%s\n' "$report" | grep -c '"kind": "game-clear"')
if [ "$endings" -ne 3 ]; then
    echo "expected the demo's 3 endings, found $endings:"
    echo "$report"
    exit 1
fi
echo "3 endings found, no route at fault"
