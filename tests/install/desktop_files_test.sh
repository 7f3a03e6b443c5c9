#!/bin/sh
# The desktop entry, the metainfo and the replay file type pass the desktop's own
# checkers, and the installed type database maps *.qlr to the replay type.
#   desktop_files_test.sh ENTRY METAINFO MIME_XML MIME_TYPE
set -eu
entry=$1 metainfo=$2 mime=$3 type=$4

desktop-file-validate "$entry"
appstreamcli validate --no-net --pedantic "$metainfo"
xmllint --noout "$mime"

grep -qx 'Exec=quillo %f' "$entry"
grep -qx "MimeType=$type;" "$entry"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/mime/packages"
cp "$mime" "$tmp/mime/packages/"
update-mime-database "$tmp/mime" >"$tmp/update.log" 2>&1 || {
  cat "$tmp/update.log" >&2
  exit 1
}
grep -q ":$type:\*\.qlr$" "$tmp/mime/globs2" || {
  echo "*.qlr does not map to $type" >&2
  exit 1
}
echo "desktop files: ok"
