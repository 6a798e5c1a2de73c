#!/usr/bin/env bash
# Every program in the examples directory is in the gallery: it has a
# picture (its file name is among the given ones, the gallery.* tests), or the
# gallery page lists it under "Examples without a picture" with the reason,
# as a line "- `fortran/examples/<file>`: <reason>".
#
# Usage: every_example.sh <examples directory> <gallery.md> <file names with a picture...>
set -euo pipefail
examples=$1 page=$2
shift 2
missing=0
for path in "$examples"/*.f "$examples"/*.f90 "$examples"/*.c; do
  [ -e "$path" ] || continue
  file=$(basename "$path")
  for pictured in "$@"; do
    [ "$pictured" = "$file" ] && continue 2
  done
  # The reason must come in the section for programs without a picture.
  if ! sed -n '/^## Examples without a picture/,/^## /p' "$page" |
       grep -qE "^- \`fortran/examples/${file//./\\.}\`: [[:alnum:]]"; then
    echo "FAIL: $file has no picture in $page and no stated reason" >&2
    missing=1
  fi
done
[ "$missing" = 0 ] && echo "every example has its picture or its reason"
exit "$missing"
