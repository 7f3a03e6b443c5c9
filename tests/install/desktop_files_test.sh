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

# Every language the program speaks has the menu's words and the software centre's.
for lang in de fr es pt_BR ja; do
  for key in GenericName Comment; do
    grep -q "^$key\[$lang\]=." "$entry" || {
      echo "no ${key}[$lang] in $entry" >&2
      exit 1
    }
  done
  for tag in summary p; do
    grep -q "<$tag xml:lang=\"$lang\">" "$metainfo" || {
      echo "no $tag for $lang in $metainfo" >&2
      exit 1
    }
  done
done

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
