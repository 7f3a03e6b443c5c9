#!/bin/sh
# An install into a DESTDIR puts every expected file in place.
#   destdir_test.sh BUILD_DIR APP_ID REPLAY_ICON
set -eu
build=$1 id=$2 replay_icon=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr >"$tmp/install.log"
usr="$tmp/root/usr"
fail=0
need() {
  [ -f "$usr/$1" ] || {
    echo "missing: /usr/$1" >&2
    fail=1
  }
}
# The PNG's width and height, from its header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'
}

for bin in quillo quillo-render; do
  need "bin/$bin"
  [ -x "$usr/bin/$bin" ] || { echo "not executable: /usr/bin/$bin" >&2; fail=1; }
done
"$usr/bin/quillo" --version | grep -q '^quillo [0-9]'

# The program folder's files, those in its language folders too: every one the
# build made, and none of the programs or of the files the program writes itself.
for f in $(cd "$build/program" && find . -type f ! -name '.*' | sed 's|^\./||'); do
  case "$f" in
    quillo* | littlblu.bmp | clip[0-9]*.bmp | autosave.*) continue ;;
  esac
  need "share/quillo/$f"
  cmp -s "$build/program/$f" "$usr/share/quillo/$f" || { echo "differs: $f" >&2; fail=1; }
done
for lang in de fr es pt_BR ja; do need "share/quillo/$lang/Introduction.rtf"; done
for f in nuspec.spl spec1.spl hispec.spl; do need "share/quillo/$f"; done
for f in quillo quillo-render littlblu.bmp autosave.qlr autosave.png; do
  [ ! -e "$usr/share/quillo/$f" ] || { echo "installed by mistake: $f" >&2; fail=1; }
done

need "share/applications/$id.desktop"
need "share/metainfo/$id.metainfo.xml"
need "share/mime/packages/$id.xml"
need "share/icons/hicolor/scalable/apps/$id.svg"
need "share/icons/hicolor/scalable/mimetypes/$replay_icon.svg"
for size in 16 32 48 64 128 256; do
  for icon in "apps/$id" "mimetypes/$replay_icon"; do
    png="share/icons/hicolor/${size}x$size/$icon.png"
    need "$png"
    if [ -f "$usr/$png" ] && [ "$(png_size "$usr/$png")" != "${size}x$size" ]; then
      echo "wrong size: /usr/$png is $(png_size "$usr/$png")" >&2
      fail=1
    fi
  done
done
need share/man/man1/quillo.1.gz
need share/man/man1/quillo-render.1.gz
need share/doc/quillo/copyright
need share/doc/quillo/changelog.gz
gzip -t "$usr/share/man/man1/quillo.1.gz"

[ "$fail" -eq 0 ] && echo "install: ok"
exit "$fail"
