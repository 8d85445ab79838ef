#!/usr/bin/env bash
# Every program answers --version and --help on a machine with no display at all: no DISPLAY,
# no WAYLAND_DISPLAY and no QT_QPA_PLATFORM. --version prints "NAME VERSION", --help starts with
# the program's usage; both succeed, print nothing on standard error and end within 20 s.
#   programs_answer.sh VERSION PROGRAM...
set -u
version=$1
shift
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

passed=0
failed=0
check() {  # check WHAT CONDITION-RESULT
    if [ "$2" = yes ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $1"
    fi
}

for program in "$@"; do
    name=$(basename "$program")
    for option in --version --help; do
        timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
            "$program" "$option" >"$scratch/out" 2>"$scratch/err" </dev/null
        status=$?
        first=$(head -n 1 "$scratch/out")
        if [ "$option" = --version ]; then
            [ "$first" = "$name $version" ] && ok=yes || ok=no
        else
            case "${first,,}" in "usage: $name"*) ok=yes ;; *) ok=no ;; esac
        fi
        [ "$status" -eq 0 ] && [ ! -s "$scratch/err" ] || ok=no
        check "$name $option: exit $status, first line '$first', stderr '$(head -c 300 "$scratch/err")'" "$ok"
    done
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
