#!/bin/sh
# The installed program, started headless with an empty per-user folder, fills that
# folder from the installed files and gets through its first start, which keeps the
# colour field's miniature there.
#   first_start_test.sh BUILD_DIR
set -eu
build=$1
tmp=$(mktemp -d)
pid=
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr >"$tmp/install.log"
shared="$tmp/root/usr/share/quillo"
mkdir -p "$tmp/work" "$tmp/home" "$tmp/data"
own="$tmp/data/quillo"

filled() {
  for f in $(cd "$shared" && find . -type f); do
    cmp -s "$shared/$f" "$own/$f" || return 1
  done
}
miniature_kept() { [ -s "$own/littlblu.bmp" ]; }

# Waits up to a tenth of TRIES seconds for CHECK while the program runs; otherwise
# fails with WHAT.
wait_for() {
  check=$1 tries=$2 what=$3
  until "$check"; do
    tries=$((tries - 1))
    if [ "$tries" -lt 0 ] || ! kill -0 "$pid" 2>/dev/null; then
      echo "$what" >&2
      ls -la "$own" >&2 || true
      cat "$tmp/out.log" >&2
      exit 1
    fi
    sleep 0.1
  done
}

cd "$tmp/work"
HOME="$tmp/home" XDG_DATA_HOME="$tmp/data" QT_QPA_PLATFORM=offscreen \
  "$tmp/root/usr/bin/quillo" >"$tmp/out.log" 2>&1 &
pid=$!
wait_for filled 300 "the per-user folder was not filled"
# The first start goes on to paint the colour field and keep its 400 x 300
# miniature there; the program is then in its message loop.
wait_for miniature_kept 600 "the first start kept no field miniature"
sleep 1
size=$(od -An -tu4 -j18 -N8 "$own/littlblu.bmp" | tr -s ' ' | sed 's/^ //')
[ "$size" = "400 300" ] || { echo "the field miniature is $size, not 400 300" >&2; exit 1; }
if ! kill -0 "$pid" 2>/dev/null; then
  echo "quillo ended during its first start" >&2
  cat "$tmp/out.log" >&2
  exit 1
fi
[ ! -e "$tmp/work/nuspec.spl" ] || { echo "wrote into the working directory" >&2; exit 1; }
echo "first start: ok ($(ls "$own" | wc -l) files in the per-user folder, field miniature $size)"
