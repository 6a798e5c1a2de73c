#!/usr/bin/env bash
# One picture of the gallery: takes the picture of a program's window
# (gallery_shot, under an X server: run this through tests/with-xvfb) and
# checks that it equals the checked-in PNG pixel for pixel, and that the
# gallery page shows that PNG. With FGL_GALLERY_UPDATE=1 it writes the PNG
# instead (tools/make-gallery).
#
# Usage: gallery_test.sh <gallery_shot> <picture.png> <gallery.md> [gallery_shot's options] <title> <program> [arguments...]
set -euo pipefail
shot_tool=$1 picture=$2 page=$3
shift 3
options=()
while [ "${1:-}" != "${1#--}" ]; do
  options+=("$1" "$2")
  shift 2
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$shot_tool" "${options[@]}" "$work/shot.ppm" "$@" || fail "no picture of $2's window"

if [ "${FGL_GALLERY_UPDATE:-}" = 1 ]; then
  # No time stamps or other metadata: the file changes only with the picture.
  convert "$work/shot.ppm" -strip -define png:exclude-chunks=date,time "$picture"
  echo "wrote $picture"
  exit 0
fi

[ -f "$picture" ] || fail "$picture does not exist (tools/make-gallery writes it)"
grep -qF "($(basename "$(dirname "$picture")")/$(basename "$picture"))" "$page" ||
  fail "$page does not show $(basename "$picture")"
# compare prints the number of differing pixels; status 1 when they differ,
# 2 when the sizes differ or a file cannot be read. A pixel counts as the same
# within 1% of the colour range: now and then Mesa's llvmpipe shades the
# 64x64 tiles that a triangle covers whole one step differently (2 runs in 8
# of hello.f built by f2c); a real change of a drawing differs by far more.
status=0
differing=$(compare -metric AE -fuzz 1% "$picture" "$work/shot.ppm" null: 2>&1) || status=$?
if [ "$status" -ne 0 ]; then
  fail "$2 now draws a picture that differs from $picture in $differing pixels (status $status); run tools/make-gallery if the change is meant"
fi
echo "$2: the same picture as $(basename "$picture")"
