#!/usr/bin/env bash
# What the two Debian packages hold, checked on the files themselves:
#   package_contents.sh tree CMAKE BUILD_DIR SOURCE_DIR VERSION
#       installs the build with `cmake --install` into a temporary folder, as debian/rules does,
#       and shares the files out by debian/*.install, as dh_install does (seconds: for ctest);
#   package_contents.sh debs DEB_DIR SOURCE_DIR VERSION
#       unpacks corvan_*.deb and corvan-tools_*.deb from DEB_DIR (what scripts/package made).
# Either way: every file lands in the package it belongs to and in no other, the programs are
# where Debian puts games and tools, every program has its manual in the right section and the
# manual tells every option its --help names, the desktop entry, icons and AppStream metadata
# are valid, and the versions agree.
set -u
mode=$1
shift
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

passed=0
failed=0
check() {  # check WHAT yes|no
    if [ "$2" = yes ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $1"
    fi
}
holds() { "$@" >/dev/null 2>&1 && echo yes || echo no; }
same() { [ "$1" = "$2" ] && echo yes || echo no; }

root=$scratch/root
owners=$scratch/owners  # one line per file: PACKAGE path (without a leading /)
if [ "$mode" = tree ]; then
    cmake=$1 build=$2 source=$3 version=$4
    if ! DESTDIR=$scratch/tmp "$cmake" --install "$build" --prefix /usr >"$scratch/install.log" 2>&1; then
        cat "$scratch/install.log"
        echo "0 passed, 1 failed"
        exit 1
    fi
    # dh_install: each line of debian/PACKAGE.install is a file or a folder below debian/tmp.
    (cd "$scratch/tmp" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$scratch/files"
    : >"$owners"
    while read -r file; do
        claimed=()
        for list in "$source"/debian/*.install; do
            package=$(basename "$list" .install)
            while read -r entry; do
                [ -z "$entry" ] && continue
                case "$file" in "${entry%/}" | "${entry%/}"/*) claimed+=("$package") ;; esac
            done <"$list"
        done
        check "$file is taken by exactly one package: ${claimed[*]:-none}" \
            "$(same "${#claimed[@]}" 1)"
        [ "${#claimed[@]}" -ge 1 ] && echo "${claimed[0]} $file" >>"$owners"
    done <"$scratch/files"
    mv "$scratch/tmp" "$root"
else
    debs=$1 source=$2 version=$3
    mkdir -p "$root"
    : >"$owners"
    arch=$(dpkg --print-architecture)
    for package in corvan corvan-tools; do
        deb=$debs/${package}_${version}_$arch.deb
        check "$deb exists" "$(holds test -f "$deb")"
        [ -f "$deb" ] || continue
        dpkg-deb -x "$deb" "$root"
        dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' |
            sed "s|^|$package |" >>"$owners"
        check "$package's Version is $version" "$(same "$(dpkg-deb -f "$deb" Version)" "$version")"
    done
    depends=$(dpkg-deb -f "$debs/corvan_${version}_$arch.deb" Depends 2>/dev/null)
    for wanted in fonts-ipafont-gothic fonts-ipafont-mincho timgm6mb-soundfont qt6-qpa-plugins \
                  qt6-translations-l10n \
                  'libqt6widgets6 (>=' 'libsdl2-mixer-2.0-0 (>=' 'libc6 (>='; do
        check "corvan's Depends names $wanted: $depends" "$(holds grep -qF -- "$wanted" <<<"$depends")"
    done
fi
# Debian compresses manuals and longer documents; the names below are the uncompressed ones.
owner() { awk -v f="$1" '$2 == f || $2 == f ".gz" {print $1}' "$owners"; }
exists() { [ -e "$root/$1" ] && echo "$1" || echo "$1.gz"; }

# The programs: games in /usr/games, manuals in section 6, in corvan; the authors' tools in
# /usr/bin, manuals in section 1, in corvan-tools. Each answers --help without a display.
manual_text() {  # manual_text PAGE: the page as a reader sees it, or nothing when it warns
    (cd "$root/usr/share/man" && LC_ALL=C.UTF-8 MANWIDTH=200 man --warnings -E UTF-8 -l "$1" \
        2>"$scratch/warnings")
}
check_program() {  # check_program NAME FOLDER SECTION PACKAGE
    local name=$1 folder=$2 section=$3 package=$4
    local program=usr/$folder/$name
    local page
    page=man$section/$(basename "$(exists "usr/share/man/man$section/$name.$section")")
    check "$program is an executable ELF file" \
        "$([ -x "$root/$program" ] && [ "$(head -c 4 "$root/$program" | od -An -c | tr -d ' ')" = '177ELF' ] && echo yes || echo no)"
    check "$program is in $package: $(owner "$program")" "$(same "$(owner "$program")" "$package")"
    check "$page is in $package: $(owner "usr/share/man/$page")" \
        "$(same "$(owner "usr/share/man/${page%.gz}")" "$package")"
    local text
    text=$(manual_text "$page")
    check "$page shows without warnings: $(cat "$scratch/warnings")" \
        "$([ -n "$text" ] && [ ! -s "$scratch/warnings" ] && echo yes || echo no)"
    check "$page is a manual of section $section naming $name, for version $version" \
        "$(grep -qE "^[A-Z0-9-]+\($section\) " <<<"$text" &&
           grep -A1 '^NAME' <<<"$text" | grep -qE "(^| )$name(,| -)" &&
           grep -q "^corvan $version " <<<"$text" && echo yes || echo no)"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/$program" --help \
        >"$scratch/help" 2>&1 </dev/null
    for option in $(grep -oE -- '--[a-z][a-z-]+' "$scratch/help" | sort -u); do
        check "$page tells $name's option $option" "$(holds grep -qF -- "$option" <<<"$text")"
    done
}
for name in corvan corvan2 corvan-setup corvanup; do check_program "$name" games 6 corvan; done
for name in stftool prstool corvan-explore corvan-replay; do
    check_program "$name" bin 1 corvan-tools
done
programs=$(cd "$root" && find usr/bin usr/games -type f -o -type l | sort)
check "no program but these eight: $(echo $programs)" "$(same "$(wc -l <<<"$programs")" 8)"

# The desktop entry starts the game from the menu, under its Japanese name too.
desktop=usr/share/applications/corvan.desktop
check "$desktop is in corvan" "$(same "$(owner "$desktop")" corvan)"
check "$desktop is valid: $(desktop-file-validate "$root/$desktop" 2>&1)" \
    "$(holds desktop-file-validate "$root/$desktop")"
check "$desktop starts corvan, a program of the package, and is named コルヴァン" \
    "$(grep -qx 'Exec=corvan' "$root/$desktop" && [ -x "$root/usr/games/corvan" ] &&
       grep -qx 'Name\[ja\]=コルヴァン' "$root/$desktop" && echo yes || echo no)"
for size in 16 32 48 64 128 256; do
    icon=usr/share/icons/hicolor/${size}x$size/apps/corvan.png
    # A PNG's signature, then its IHDR chunk: width and height as 4-byte big-endian numbers.
    header=$(od -An -tx1 -N24 "$root/$icon" 2>/dev/null | tr -d ' \n')
    printf -v want '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size"
    check "$icon is a ${size}x$size PNG in corvan" \
        "$([ "$header" = "$want" ] && [ "$(owner "$icon")" = corvan ] && echo yes || echo no)"
done

# The AppStream metadata: valid, pointing at the desktop entry, its screenshot shipped in the
# source at the size it states, its newest release the version built.
metainfo=$(cd "$root" && ls usr/share/metainfo/*.metainfo.xml 2>/dev/null)
check "one AppStream file in corvan: $metainfo" \
    "$([ "$(wc -w <<<"$metainfo")" = 1 ] && [ "$(owner "$metainfo")" = corvan ] && echo yes || echo no)"
if [ -n "$metainfo" ]; then
    xml=$root/$metainfo
    check "$metainfo is valid: $(appstreamcli validate --no-net "$xml" 2>&1 | tail -n 5)" \
        "$(holds appstreamcli validate --no-net "$xml")"
    check "$metainfo is named after its id" \
        "$(holds grep -qF "<id>$(basename "$metainfo" .metainfo.xml)</id>" "$xml")"
    check "$metainfo launches corvan.desktop" \
        "$(holds grep -qF '<launchable type="desktop-id">corvan.desktop</launchable>' "$xml")"
    check "$metainfo describes the game in English and Japanese" \
        "$(grep -q '<p>' "$xml" && grep -q '<p xml:lang="ja">' "$xml" && echo yes || echo no)"
    check "$metainfo's newest release is $version" \
        "$(same "$(grep -m1 -oP '<release version="\K[^"]+' "$xml")" "$version")"
    image=$(grep -oP '<image type="source" width="\d+" height="\d+">\K[^<]+' "$xml")
    size=$(grep -oP '<image type="source" width="\K\d+" height="\d+' "$xml" | tr -d '"' |
           sed 's/ height=/x/')
    shot=$source/${image#*/raw/main/}
    header=$(od -An -tx1 -N24 "$shot" 2>/dev/null | tr -d ' \n')
    printf -v want '89504e470d0a1a0a0000000d49484452%08x%08x' "${size%x*}" "${size#*x}"
    check "the screenshot $image is ${shot#"$source"/}, a $size PNG" "$(same "$header" "$want")"
fi

# The player's guide, and the versions that must agree.
guide=$(exists usr/share/doc/corvan/players-guide.md)
check "the player's guide $guide is in corvan" "$(same "$(owner "${guide%.gz}")" corvan)"
changelog=$(sed -n '1s/^corvan (\([^)]*\)).*/\1/p' "$source/debian/changelog")
check "debian/changelog's version $changelog is $version" "$(same "$changelog" "$version")"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
