#!/usr/bin/env bash
# Installs the build tree into a fresh prefix and builds consumers of the
# installed libraries three ways: a CMake project with find_package(fgl),
# pkg-config lines, and bare gfortran/f2c lines; the first two also with LLVM
# Flang as the Fortran compiler. Runs what it built (under
# an X server: run this script through tests/with-xvfb).
#
# Usage: install_test.sh <build dir> <consumer source dir> <libdir name>
# Environment: CMAKE, CC, GFORTRAN, F2C; FLANG, FLANG_RUNTIME_DIR (where
# Flang's runtime libraries lie); FGL_SANITIZE_FLAGS (compile and link flags
# for consumers of sanitizer-built libraries), FLANG_SANITIZE_LIBS (the
# sanitizer runtimes a Flang program of that build loads first).
set -euo pipefail
build=$1
consumer=$2
libdir_name=$3
san=${FGL_SANITIZE_FLAGS:-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
libdir=$prefix/$libdir_name
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "== $*"; }

step "cmake --install into $prefix"
"$CMAKE" --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "install"; }

step "installed files"
for f in \
    "$libdir/libfgl.so.1.0.0" "$libdir/libfglut.so.1.0.0" \
    "$prefix/include/fgl.h" "$prefix/include/fgl_forward.inc" "$prefix/include/fglut.h" \
    "$prefix/include/fgl.inc" "$prefix/include/fglut.inc" \
    "$prefix/include/fglfn.inc" "$prefix/include/fglutfn.inc" \
    "$libdir/cmake/fgl/fglConfig.cmake" "$libdir/cmake/fgl/fglConfigVersion.cmake" \
    "$libdir/cmake/fgl/fglTargets.cmake" \
    "$libdir/pkgconfig/fgl.pc" "$libdir/pkgconfig/fglut.pc" \
    "$libdir/libfglu.so.1.0.0" "$prefix/include/fglu.h" "$prefix/include/fglu_forward.inc" \
    "$prefix/include/fglu.inc" "$prefix/include/fglufn.inc" "$libdir/pkgconfig/fglu.pc" \
    "$prefix/bin/house" "$prefix/bin/fglcheck" "$prefix/share/man/man1/fglcheck.1.gz"; do
  [ -f "$f" ] || fail "missing $f"
done
# ... and every Fortran include file the generator writes (FORTRAN_INCLUDES,
# from its own list: the first release's six and those added since).
[ -n "${FORTRAN_INCLUDES:-}" ] || fail "FORTRAN_INCLUDES is not set"
for f in $FORTRAN_INCLUDES; do
  [ -f "$prefix/include/$f" ] || fail "missing $prefix/include/$f"
done
for lib in fgl fglut fglu; do
  [ "$(readlink "$libdir/lib$lib.so")" = "lib$lib.so.1" ] || fail "lib$lib.so is not a link to lib$lib.so.1"
  [ "$(readlink "$libdir/lib$lib.so.1")" = "lib$lib.so.1.0.0" ] || fail "lib$lib.so.1 is not a link to lib$lib.so.1.0.0"
  soname=$(objdump -p "$libdir/lib$lib.so.1.0.0" | awk '/SONAME/ {print $2}')
  [ "$soname" = "lib$lib.so.1" ] || fail "lib$lib soname is '$soname'"
done
# The call checks: prototype files beside the include files, and modules (with
# their sources) per compiler that a program compiles against as installed.
for f in fgl.P fglut.P fglu.P fortran/gfortran/fgl.mod fortran/gfortran/fglut.mod \
    fortran/gfortran/fglu.mod fortran/gfortran/fgl.f90; do
  [ -f "$prefix/include/$f" ] || fail "missing $prefix/include/$f"
done
examples=$(dirname "$0")/../../fortran/examples
"$GFORTRAN" -c -I"$prefix/include/fortran/gfortran" -J"$work" -o "$work/hello_f90.o" "$examples/hello.f90" ||
  fail "hello.f90 against the installed gfortran modules"
if [ -n "${FLANG:-}" ]; then
  [ -f "$prefix/include/fortran/flang/fgl.mod" ] || fail "missing the installed Flang modules"
  (cd "$work" && "$FLANG" -c -I"$prefix/include/fortran/flang" -o "$work/hello_flang.o" "$examples/hello.f90") ||
    fail "hello.f90 against the installed Flang modules"
fi
# -Nx2000: room for every entry in f2c's table of external names; the table
# of names keeps its default size.
out=$("$F2C" -Nx2000 -I"$prefix/include" -d"$work" "$examples/house.f" \
    "$prefix/include/fgl.P" "$prefix/include/fglut.P" "$prefix/include/fglu.P" 2>&1) ||
  fail "f2c with the installed prototype files: $out"
warnings=$(echo "$out" | grep Warning || true)
[ -z "$warnings" ] || fail "f2c with the installed prototype files: $warnings"

# The installed viewer uses the installed libraries.
for lib in fgl fglut; do
  used=$(ldd "$prefix/bin/house" | awk -v l="lib$lib.so.1" '$1 == l {print $3}')
  [ -n "$used" ] && [ "$(realpath "$used")" = "$(realpath "$libdir/lib$lib.so.1")" ] ||
    fail "installed house loads lib$lib from '$used', not from $libdir"
done

run() {  # name program...
  local name=$1
  shift
  local out
  local status=0
  out=$("$@" 2>&1) || status=$?
  [ "$status" -eq 0 ] || { echo "$out"; fail "$name exited with status $status"; }
  echo "$out" | grep -Eq '^ *PROBE +255 +0 +0 *$' || { echo "$out"; fail "$name did not read back red"; }
  echo "   $name: $out"
}

step "CMake consumer: find_package(fgl), fgl::fgl and fgl::fglut"
"$CMAKE" -S "$consumer" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_C_COMPILER="$CC" -DCMAKE_Fortran_COMPILER="$GFORTRAN" \
    -DCMAKE_C_FLAGS="$san" -DCMAKE_Fortran_FLAGS="$san" -DCMAKE_EXE_LINKER_FLAGS="$san" \
    >"$work/consumer.log" 2>&1 || { cat "$work/consumer.log"; fail "consumer configure"; }
"$CMAKE" --build "$work/consumer" >>"$work/consumer.log" 2>&1 || { cat "$work/consumer.log"; fail "consumer build"; }
run "CMake C consumer" "$work/consumer/probe_c"
run "CMake Fortran consumer" "$work/consumer/probe_f"
"$work/consumer/glu_probe" | grep -q '^GLU PROBE [1-9][0-9]* .* 1$' || fail "CMake GLU consumer (fgl::fglu)"

step "CMake consumer with Flang as the Fortran compiler"
flang_link="-L$FLANG_RUNTIME_DIR ${FLANG_SANITIZE_LIBS:-}"
"$CMAKE" -S "$consumer" -B "$work/consumer_flang" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_C_COMPILER="$CC" -DCMAKE_Fortran_COMPILER="$FLANG" \
    -DCMAKE_C_FLAGS="$san" -DCMAKE_EXE_LINKER_FLAGS="$flang_link" \
    >"$work/consumer_flang.log" 2>&1 || { cat "$work/consumer_flang.log"; fail "Flang consumer configure"; }
"$CMAKE" --build "$work/consumer_flang" --target probe_f >>"$work/consumer_flang.log" 2>&1 ||
  { cat "$work/consumer_flang.log"; fail "Flang consumer build"; }
run "CMake Fortran consumer (Flang)" "$work/consumer_flang/probe_f"

step "pkg-config consumer"
export PKG_CONFIG_PATH=$libdir/pkgconfig
[ "$(pkg-config --modversion fgl)" = "1.0.0" ] || fail "pkg-config fgl version"
[ "$(pkg-config --modversion fglut)" = "1.0.0" ] || fail "pkg-config fglut version"
# shellcheck disable=SC2046
"$CC" $san -o "$work/pc_c" "$consumer/probe.c" $(pkg-config --cflags --libs fglut) -Wl,-rpath,"$libdir"
# shellcheck disable=SC2046
"$GFORTRAN" $san -std=legacy -o "$work/pc_f" "$consumer/probe.f" $(pkg-config --cflags --libs fglut) -Wl,-rpath,"$libdir"
run "pkg-config C consumer" "$work/pc_c"
[ "$(pkg-config --modversion fglu)" = "1.0.0" ] || fail "pkg-config fglu version"
# shellcheck disable=SC2046
"$CC" $san -std=c99 -pedantic -Werror -o "$work/pc_glu" "$consumer/glu_probe.c" $(pkg-config --cflags --libs fglu) -Wl,-rpath,"$libdir"
"$work/pc_glu" | grep -q '^GLU PROBE [1-9][0-9]* .* 1$' || fail "pkg-config GLU consumer"
run "pkg-config Fortran consumer" "$work/pc_f"
# shellcheck disable=SC2046,SC2086
"$FLANG" -o "$work/pc_flang" ${FLANG_SANITIZE_LIBS:-} "$consumer/probe.f" $(pkg-config --cflags --libs fglut) \
    -L"$FLANG_RUNTIME_DIR" -Wl,-rpath,"$libdir"
run "pkg-config Fortran consumer (Flang)" "$work/pc_flang"

step "bare command lines"
"$GFORTRAN" $san -std=legacy -I"$prefix/include" -o "$work/bare_f" "$consumer/probe.f" -L"$libdir" -lfglut -lfgl
(cd "$work" && "$F2C" -I"$prefix/include" "$consumer/probe.f" >/dev/null 2>&1) || fail "f2c"
"$CC" $san -w -o "$work/bare_f2c" "$work/probe.c" -L"$libdir" -lfglut -lfgl -lf2c -lm
LD_LIBRARY_PATH=$libdir run "gfortran -lfglut -lfgl" "$work/bare_f"
LD_LIBRARY_PATH=$libdir run "f2c; cc -lfglut -lfgl -lf2c" "$work/bare_f2c"

step "checking build: fglcheck runs a program with lib/fgl-check"
for lib in fgl fglut fglu; do
  soname=$(objdump -p "$libdir/fgl-check/lib$lib.so.1" | awk '/SONAME/ {print $2}')
  [ "$soname" = "lib$lib.so.1" ] || fail "checking lib$lib soname is '$soname'"
  used=$("$prefix/bin/fglcheck" ldd "$work/pc_f" | awk -v l="lib$lib.so.1" '$1 == l {print $3}')
  [ "$lib" = fglu ] || [ "$(realpath "$used")" = "$(realpath "$libdir/fgl-check/lib$lib.so.1")" ] ||
    fail "under fglcheck lib$lib comes from '$used'"
done
out=$("$prefix/bin/fglcheck" "$work/pc_f" 2>&1) || fail "checked probe exited with status $?"
echo "$out" | grep -q "fgl check" && { echo "$out"; fail "reports from a correct program"; }
set +e
"$prefix/bin/fglcheck" sh -c 'exit 7'
status=$?
set -e
[ "$status" = 7 ] || fail "fglcheck passed status $status on, not 7"
echo "   checked probe: $out"

step "installed viewer opens its window"
"$prefix/bin/house" &
house=$!
# xdotool --sync waits for the window to appear.
if ! timeout 10 xdotool search --sync --name "Fortran GLUT program" >/dev/null; then
  kill "$house" 2>/dev/null
  fail "no window from the installed house"
fi
kill "$house"
wait "$house" 2>/dev/null || true
echo "all install checks passed"
