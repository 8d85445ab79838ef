#!/usr/bin/env bash
# The demo's committed pictures and sounds must be exactly what their generators make: runs both
# into a temporary folder and compares every file, byte for byte, both ways.
#   art_matches.sh MAKE_DEMO_PICTURES MAKE_DEMO_SOUNDS DEMO_DIR
set -euo pipefail
pictures_tool=$1 sounds_tool=$2 demo=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$pictures_tool" "$work/pictures" >/dev/null
"$sounds_tool" "$work/sounds" >/dev/null

status=0
for part in pictures sounds; do
    if ! diff -r -q "$demo/$part" "$work/$part"; then
        status=1
    fi
done
if [ "$status" -ne 0 ]; then
    echo "The committed demo files differ from what the generators make (above). After an"
    echo "intended change, write them anew from the source folder:"
    echo "    build/make_demo_pictures demo/pictures && build/make_demo_sounds demo/sounds"
fi
exit "$status"
