#!/usr/bin/env bash
# The demo must show an author every part of the script language: every command keyword of the
# interpreter's table, every text tag, every mark, the three views and the four special effects,
# and play every track and voice it ships.
# Reads the keyword tables from the engine's headers, so a new command fails here until the
# demo uses it.
#   coverage.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
scripts=("$source_dir"/demo/scripts/*.txt)
missing=()

# Command lines, the '*' and the keyword as the game matches them (letter case aside).
commands=$(grep -h '^\*' "${scripts[@]}" | tr 'A-Z' 'a-z')
while IFS= read -r keyword; do
    if ! grep -qF -- "*$keyword" <<<"$commands"; then missing+=("command *$keyword"); fi
done < <(sed -n 's/^ *{"\([^"]*\)", [0-9]*, CommandId::.*/\1/p' "$source_dir/engine/command_keywords.h")

# Text lines (not labels, comments or commands): tags, marks.
text=$(grep -hv '^[;:*]' "${scripts[@]}")
while IFS= read -r tag; do
    if ! grep -qiF -- "[$tag" <<<"$text"; then missing+=("tag [$tag]"); fi
done < <(sed -n 's/^ *{"\([^"]*\)", [0-9]*, TextTag::.*/\1/p' "$source_dir/engine/message_tags.h")
for mark in ▼ 〓 ▽ ◆ '　'; do
    if ! grep -qF -- "$mark" <<<"$text"; then missing+=("mark $mark"); fi
done
if ! grep -q '\\$' <<<"$text"; then missing+=('a trailing \'); fi

for n in 1 2 3; do
    if ! grep -qx "\*view $n" <<<"$commands"; then missing+=("*view $n"); fi
done
for n in 1 2 3 4; do
    if ! grep -q "^\*special $n" <<<"$commands"; then missing+=("*special $n"); fi
done

# Every music track and voice the demo ships is heard: tracks by *music N, voices by *voice or
# [voice], except the menus' own 90022 and 90023, which the game plays by itself.
all=$(cat "${scripts[@]}")
for track in "$source_dir"/demo/sounds/MIDI/*.MID; do
    n=$((10#$(basename "$track" .MID)))
    if ! grep -q "^\*music $n\$" <<<"$commands"; then missing+=("*music $n"); fi
done
for voice in "$source_dir"/demo/sounds/wave/*/*.wav; do
    name=$(basename "$voice" .wav)
    case $name in 90022|90023) continue ;; esac
    if ! grep -qiE "(^\*voice |\[voice )$name" <<<"$all"; then missing+=("voice $name"); fi
done

if [ ${#missing[@]} -ne 0 ]; then
    echo "The demo's scripts never use:"
    printf '  %s\n' "${missing[@]}"
    exit 1
fi
echo "The demo uses every command, tag and mark, the three views, the four special effects,"
echo "and plays every music track and voice it ships."
