#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root and checks it as a desktop would use
# it: both programs run from there, the menu entry, AppStream data and file types validate, the
# thumbnailer's own command line makes previews of both emblem types and nothing of a damaged
# file, and the manual pages carry the programs' help.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
version=$(awk -F'"' '/CPACK_PACKAGE_VERSION "/ {print $2; exit}' "$build/CPackConfig.cmake")
deb="$work/out/orvane_${version}_amd64.deb"
[[ -f $deb ]] || fail "no package named $(basename "$deb")"
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || fail "Qt is not among the dependencies"
dpkg-deb --field "$deb" Depends | grep -q 'fonts-noto-cjk' || fail "the Japanese fonts are not a dependency"
root="$work/root"
dpkg-deb -x "$deb" "$root"
bin="$root/usr/bin"
share="$root/usr/share"

"$bin/orvane" --version | grep -q "^orvane $version" || fail "orvane --version"
QT_QPA_PLATFORM=offscreen "$bin/orvane-editor" --version | grep -q "$version" ||
  fail "orvane-editor --version"

desktop-file-validate "$share/applications/dev.orvane.Editor.desktop" || fail "desktop entry"
grep -q '^Exec=orvane-editor %f$' "$share/applications/dev.orvane.Editor.desktop" || fail "Exec"
appstreamcli validate --no-net "$share/metainfo/dev.orvane.Editor.metainfo.xml" >"$work/as.log" ||
  { cat "$work/as.log"; fail "metainfo"; }
for size in 16 32 48 64 128 256; do
  [[ -s $share/icons/hicolor/${size}x${size}/apps/dev.orvane.Editor.png ]] || fail "icon $size"
done
[[ -s $share/icons/hicolor/scalable/apps/dev.orvane.Editor.svg ]] || fail "scalable icon"

# The file types, registered into a database of their own.
mkdir -p "$work/mime/packages"
cp "$share/mime/packages/dev.orvane.Editor.xml" "$work/mime/packages/"
update-mime-database "$work/mime" >/dev/null 2>&1 || fail "update-mime-database"
grep -q 'application/x-orvane-ovml:\*\.ovml' "$work/mime/globs" || fail "ovml glob"
grep -q 'application/x-orvane-ovr:\*\.ovr' "$work/mime/globs" || fail "ovr glob"
grep -q 'application/x-orvane-ovml application/xml' "$work/mime/subclasses" ||
  fail "ovml is not XML"
grep -q 'application/x-orvane-ovml' "$work/mime/XMLnamespaces" || fail "ov root element"

# Previews as a file manager makes them: the entry's Exec line with %s, %i and %o filled in.
exec_line=$(sed -n 's/^Exec=//p' "$share/thumbnailers/orvane.thumbnailer")
# Width and height from a PNG's header (two big-endian words at byte 16).
png_size() {
  od -An -j16 -N8 -tu1 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'
}
for input in "$source/examples/crest.ovml" "$source/examples/ovr/crest.ovr"; do
  out="$work/thumb-$(basename "$input").png"
  command=${exec_line//%s/128}
  command=${command//%i/$input}
  command=${command//%o/$out}
  PATH="$bin:$PATH" bash -c "$command" || fail "thumbnailer on $input"
  read -r width height < <(png_size "$out")
  [[ $width -le 128 && $height -le 128 && ($width -eq 128 || $height -eq 128) ]] ||
    fail "preview of $input is ${width}x$height"
done
printf 'damaged' >"$work/damaged.ovr"
command=${exec_line//%s/128}
command=${command//%i/$work/damaged.ovr}
command=${command//%o/$work/damaged.png}
if PATH="$bin:$PATH" bash -c "$command" 2>/dev/null; then fail "a damaged file gave a preview"; fi
[[ ! -e $work/damaged.png ]] || fail "a damaged file left a picture"

# The manual pages hold every command and option the programs' help names.
for word in info convert render blockart batch randomart thumbnail; do
  grep -q "$word" "$share/man/man1/orvane.1" || fail "orvane.1 lacks $word"
done
grep -q 'screenshot' "$share/man/man1/orvane-editor.1" || fail "orvane-editor.1 lacks its options"
echo "package: $(basename "$deb") checked"
