#!/usr/bin/env bash
# The Debian package that `cpack -G DEB` makes from the build folder: its file name, what it
# installs (the seven programs, the desktop entry, the icon in every size, the manual pages),
# that those files are what they claim to be, and its Depends line (the libraries, worked out by
# dpkg-shlibdeps, and the fonts and the soundfont). The package is made in a temporary folder:
# the build folder is only read.
#   package_test.sh CPACK BUILD_DIR VERSION
set -u
cpack=$1
build=$2
version=$3
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

programs=(corvan corvan2 corvanup corvan-setup corvan-replay corvan-explore stftool prstool)
sizes=(16 32 48 64 128 256)
arch=$(dpkg --print-architecture)
deb=$scratch/out/corvan_${version}_${arch}.deb

if ! "$cpack" -G DEB -B "$scratch/out" --config "$build/CPackConfig.cmake" \
        >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    echo "0 passed, 1 failed"
    exit 1
fi
check "the package is $(basename "$deb"): $(ls "$scratch/out")" "$(holds test -f "$deb")"

# dpkg-deb -c: the files, by path; programs executable.
dpkg-deb -c "$deb" | awk '{print $1, $6}' >"$scratch/contents"
listed() { grep -qx -- "$1 \./$2" "$scratch/contents"; }
for program in "${programs[@]}"; do
    check "usr/bin/$program, executable" "$(holds listed '-rwxr-xr-x' "usr/bin/$program")"
    check "its manual page" "$(holds listed '-rw-r--r--' "usr/share/man/man1/$program.1.gz")"
done
check "the desktop entry" "$(holds listed '-rw-r--r--' usr/share/applications/corvan.desktop)"
for size in "${sizes[@]}"; do
    check "the ${size}x$size icon" \
        "$(holds listed '-rw-r--r--' "usr/share/icons/hicolor/${size}x$size/apps/corvan.png")"
done

# dpkg-deb -I: the control fields.
field() { dpkg-deb -f "$deb" "$1"; }
check "Package: $(field Package)" "$([ "$(field Package)" = corvan ] && echo yes || echo no)"
check "Version: $(field Version)" "$([ "$(field Version)" = "$version" ] && echo yes || echo no)"
dpkg-deb -I "$deb" >"$scratch/info"
depends=$(grep '^ Depends:' "$scratch/info")
for wanted in fonts-ipafont-gothic fonts-ipafont-mincho timgm6mb-soundfont qt6-qpa-plugins \
              qt6-translations-l10n \
              'libqt6widgets6 (>=' 'libsdl2-mixer-2.0-0 (>=' 'libpng16-16 (>=' 'libc6 (>='; do
    check "Depends names $wanted: $depends" "$(holds grep -qF -- "$wanted" <<<"$depends")"
done

# The files themselves.
dpkg-deb -x "$deb" "$scratch/root"
share=$scratch/root/usr/share
check "the desktop entry is valid: $(desktop-file-validate "$share/applications/corvan.desktop" 2>&1)" \
    "$(holds desktop-file-validate "$share/applications/corvan.desktop")"
check "the desktop entry starts the game, named in Japanese too" \
    "$(grep -qx 'Exec=corvan' "$share/applications/corvan.desktop" &&
       grep -qx 'Name\[ja\]=コルヴァン' "$share/applications/corvan.desktop" && echo yes)"
for size in "${sizes[@]}"; do
    icon=$share/icons/hicolor/${size}x$size/apps/corvan.png
    # A PNG's signature, then its IHDR chunk: width and height as 4-byte big-endian numbers.
    header=$(od -An -tx1 -N24 "$icon" | tr -d ' \n')
    printf -v want '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size"
    check "the ${size}x$size icon is a PNG of that size ($header)" \
        "$([ "$header" = "$want" ] && echo yes || echo no)"
done
for program in "${programs[@]}"; do
    page=$share/man/man1/$program.1.gz
    shown=$(LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -l "$page" 2>"$scratch/warnings")
    check "the manual page of $program shows its usage without warnings: $(cat "$scratch/warnings")" \
        "$(grep -qi -- "usage: $program" <<<"$shown" && [ ! -s "$scratch/warnings" ] && echo yes)"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
