#!/usr/bin/env bash
# The Debian packages: builds them with CPack from the build tree, checks
# their names, versions, dependencies and contents, unpacks them into a
# scratch root (dpkg-deb -x: nothing is installed on the machine), builds the
# packaged example hello.f against the unpacked tree with gfortran, LLVM Flang
# and f2c (and hello.f90 against the packaged modules), and checks that each
# build draws the gallery's picture; runs the packaged fglcheck and renders its
# manual page; runs lintian on the packages (errors fail, warnings are listed).
# Needs an X server: run it through tests/with-xvfb.
#
# Usage: package_test.sh <build dir> <gallery_shot> <docs/gallery/hello.png>
# Environment: CPACK, CC, GFORTRAN, F2C, FLANG, FLANG_RUNTIME_DIR, VERSION
set -euo pipefail
build=$1 shot=$2 hello_png=$3
work=$(mktemp -d)
trap '[ -n "${FGL_KEEP:-}" ] || rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "== $* ($SECONDS s)"; }
runtime=libfgl${VERSION%%.*}

step "cpack"
# The tree is built before the tests run. With the Makefile generator CPack
# first runs make's check of the whole tree (the preinstall target, half a
# minute here); the Ninja generator has no such step, and the install rules
# it then runs are the same.
(cd "$work" && "$CPACK" -D CPACK_CMAKE_GENERATOR=Ninja --config "$build/CPackConfig.cmake" -B "$work/out" \
   >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; fail "cpack"; }
arch=$(dpkg --print-architecture)
deb() { echo "$work/out/${1}_${VERSION}_$arch.deb"; }
for p in "$runtime" libfgl-dev fgl-check; do
  [ -f "$(deb "$p")" ] || { ls "$work/out"; fail "no package $p"; }
  [ "$(dpkg-deb -f "$(deb "$p")" Package)" = "$p" ] || fail "$p: Package field"
  [ "$(dpkg-deb -f "$(deb "$p")" Version)" = "$VERSION" ] || fail "$p: Version field"
  [ -n "$(dpkg-deb -f "$(deb "$p")" Description)" ] || fail "$p: no description"
done

# lintian takes a while: it runs while the packages are used below.
lintian --fail-on error "$work"/out/*.deb >"$work/lintian.log" 2>&1 &
lintian_pid=$!

step "dependencies"
depends() { dpkg-deb -f "$(deb "$1")" Depends; }
echo "   $runtime: $(depends "$runtime")"
echo "   libfgl-dev: $(depends libfgl-dev)"
echo "   fgl-check: $(depends fgl-check)"
# OpenGL through the GL vendor-neutral dispatch (libOpenGL, libGLX) or libGL.
for d in 'libglut3\.12|freeglut3' 'libopengl0|libgl1' 'libglx0|libgl1' 'libglu1-mesa' 'libc6' 'libstdc\+\+6'; do
  depends "$runtime" | grep -Eq "(^|, )($d)( |,|$)" || fail "$runtime does not depend on $d"
  depends fgl-check | grep -Eq "(^|, )($d)( |,|$)" || fail "fgl-check does not depend on $d"
done
for p in libfgl-dev fgl-check; do
  depends "$p" | grep -Fq "$runtime (= $VERSION)" || fail "$p does not depend on $runtime (= $VERSION)"
done
for d in libgl-dev libglu1-mesa-dev freeglut3-dev; do
  depends libfgl-dev | grep -Fq "$d" || fail "libfgl-dev does not depend on $d"
done

step "shlibs and ldconfig trigger: the runtime package's, not the checking build's"
dpkg-deb -e "$(deb "$runtime")" "$work/control_runtime"
dpkg-deb -e "$(deb fgl-check)" "$work/control_check"
for l in fgl fglut fglu; do
  grep -qx "lib$l ${VERSION%%.*} $runtime (>= $VERSION)" "$work/control_runtime/shlibs" || fail "shlibs of $runtime for lib$l"
done
grep -qx "activate-noawait ldconfig" "$work/control_runtime/triggers" || fail "$runtime activates no ldconfig trigger"
[ ! -e "$work/control_check/shlibs" ] || fail "fgl-check declares the sonames of $runtime: $(cat "$work/control_check/shlibs")"

step "contents"
# Each file in exactly the package it belongs to.
for p in "$runtime" libfgl-dev fgl-check; do
  dpkg-deb -c "$(deb "$p")" | awk '{print $6}' | sed 's|^\./|/|' >"$work/$p.contents"
done
contents() { cat "$work/$1.contents"; }
expect() {  # package file...
  local p=$1 f
  shift
  for f in "$@"; do
    contents "$p" | grep -qx "$f" || fail "$p lacks $f"
  done
}
expect "$runtime" /usr/lib/libfgl.so.1.0.0 /usr/lib/libfglut.so.1.0.0 /usr/lib/libfglu.so.1.0.0 \
  /usr/lib/libfgl.so.1 /usr/lib/libfglut.so.1 /usr/lib/libfglu.so.1 /usr/bin/house /usr/share/man/man1/house.1.gz \
  "/usr/share/doc/$runtime/copyright" "/usr/share/doc/$runtime/changelog.gz"
expect libfgl-dev /usr/lib/libfgl.so /usr/lib/libfglut.so /usr/lib/libfglu.so \
  /usr/include/fgl.h /usr/include/fglut.h /usr/include/fglu.h /usr/include/fgl.inc /usr/include/fglut.inc \
  /usr/include/fglu.inc /usr/include/fgl.P /usr/include/fglut.P /usr/include/fglu.P \
  /usr/include/fortran/gfortran/fgl.mod /usr/include/fortran/flang/fgl.mod \
  /usr/lib/pkgconfig/fgl.pc /usr/lib/pkgconfig/fglut.pc /usr/lib/pkgconfig/fglu.pc \
  /usr/lib/cmake/fgl/fglConfig.cmake /usr/lib/cmake/fgl/fglTargets.cmake \
  /usr/share/doc/libfgl-dev/examples/hello.f /usr/share/doc/libfgl-dev/examples/house.f90 \
  /usr/share/doc/libfgl-dev/copyright
expect fgl-check /usr/bin/fglcheck /usr/lib/fgl-check/libfgl.so.1.0.0 /usr/lib/fgl-check/libfglut.so.1.0.0 \
  /usr/lib/fgl-check/libfglu.so.1.0.0 /usr/share/man/man1/fglcheck.1.gz /usr/share/doc/fgl-check/copyright
contents "$runtime" | grep -E '^/usr/(include|lib/fgl-check|bin/fglcheck)|\.so$' && fail "$runtime holds the files above"
contents fgl-check | grep -E '^/usr/(include|lib/lib)' && fail "fgl-check holds the files above"

step "unpack into a scratch root"
root=$work/root
for p in "$runtime" libfgl-dev fgl-check; do
  dpkg-deb -x "$(deb "$p")" "$root"
done
lib=$root/usr/lib
inc=$root/usr/include
examples=$root/usr/share/doc/libfgl-dev/examples
export PKG_CONFIG_PATH=$lib/pkgconfig
[ "$(pkg-config --modversion fglut)" = "$VERSION" ] || fail "pkg-config fglut version"
flags=$(pkg-config --cflags --libs fglut)
[ "$(realpath "$(pkg-config --variable=includedir fglut)")" = "$(realpath "$inc")" ] ||
  fail "pkg-config does not point into the unpacked tree: $flags"

step "the packaged example, built against the unpacked tree"
cd "$work"
# shellcheck disable=SC2086
"$GFORTRAN" -std=legacy -o hello_gfortran "$examples/hello.f" $flags -Wl,-rpath,"$lib"
# shellcheck disable=SC2086
"$FLANG" -o hello_flang "$examples/hello.f" $flags -L"$FLANG_RUNTIME_DIR" -Wl,-rpath,"$lib"
"$F2C" -Nn1604 -Nx2000 -I"$inc" "$examples/hello.f" "$inc/fgl.P" "$inc/fglut.P" >f2c.log 2>&1 || { cat f2c.log; fail "f2c"; }
grep -q Warning f2c.log && { cat f2c.log; fail "f2c warns against the packaged prototype files"; }
# shellcheck disable=SC2086
"$CC" -w -o hello_f2c hello.c $flags -lf2c -lm -Wl,-rpath,"$lib"
mkdir gfortran_mods flang_mods
"$GFORTRAN" -I"$inc/fortran/gfortran" -Jgfortran_mods -o hello_f90_gfortran "$examples/hello.f90" \
  -L"$lib" -lfglut -lfgl -Wl,-rpath,"$lib"
(cd flang_mods && "$FLANG" -I"$inc/fortran/flang" -o ../hello_f90_flang "$examples/hello.f90" \
  -L"$lib" -lfglut -lfgl -L"$FLANG_RUNTIME_DIR" -Wl,-rpath,"$lib")
for program in hello_gfortran hello_flang hello_f2c hello_f90_gfortran hello_f90_flang; do
  for l in fgl fglut; do
    used=$(ldd "./$program" | awk -v l="lib$l.so.1" '$1 == l {print $3}')
    [ "$(realpath "$used")" = "$(realpath "$lib/lib$l.so.1")" ] || fail "$program loads lib$l from '$used'"
  done
  "$shot" "$program.ppm" "Hello from Fortran" "./$program" || fail "$program showed no picture"
  # Within 1% of the colour range, as in the gallery's test.
  differing=$(compare -metric AE -fuzz 1% "$hello_png" "$program.ppm" null: 2>&1) ||
    fail "$program draws a picture that differs from $hello_png in $differing pixels"
  echo "   $program: the gallery's picture"
done

step "the packaged fglcheck and its manual page"
for l in fgl fglut; do
  used=$("$root/usr/bin/fglcheck" ldd ./hello_gfortran | awk -v l="lib$l.so.1" '$1 == l {print $3}')
  [ "$(realpath "$used")" = "$(realpath "$lib/fgl-check/lib$l.so.1")" ] || fail "under fglcheck lib$l comes from '$used'"
done
set +e
"$root/usr/bin/fglcheck" sh -c 'exit 7'
status=$?
set -e
[ "$status" = 7 ] || fail "fglcheck passed status $status on, not 7"
for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "groff warns about $(basename "$page"): $warnings"
done
page=$root/usr/share/man/man1/fglcheck.1.gz
rendered=$(MANWIDTH=80 man -l "$page" 2>&1)
for s in FGL_CHECK abort quiet "EXIT STATUS" "looks like an INTEGER passed for a REAL"; do
  grep -qF "$s" <<<"$rendered" || fail "the manual page does not mention $s"
done

step "lintian"
status=0
wait "$lintian_pid" || status=$?
cat "$work/lintian.log"
[ "$status" = 0 ] || fail "lintian reports errors"
echo "all package checks passed"
