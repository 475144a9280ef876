#!/bin/sh
# Installs the Debian packages that building and testing need, when missing.
# A fresh Debian 12 machine needs nothing else. `install-deps.sh bench` adds
# the peer encoder that the benchmarks measure against (not needed to test).
set -e
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

missing=""
need() { # need PACKAGE CHECK-COMMAND...
  pkg=$1; shift
  "$@" >/dev/null 2>&1 || missing="$missing $pkg"
}
need cmake command -v cmake
need ninja-build command -v ninja
need g++ command -v g++
need clang command -v clang++
need libclang-rt-14-dev test -e /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a
need googletest test -f /usr/src/googletest/CMakeLists.txt
need libbenchmark-dev test -f /usr/include/benchmark/benchmark.h
need g++-mingw-w64-i686-posix command -v i686-w64-mingw32-g++-posix
need mingw-w64-i686-dev test -d /usr/i686-w64-mingw32/include
need binutils-mingw-w64-i686 command -v i686-w64-mingw32-windres
need wine command -v wine
need wine32 test -e /usr/lib/wine/wine
need wine64 test -x /usr/lib/wine/wine64 # the scenarios of a 64-bit Windows (tests/e2e/*_win64.scenario)
need xvfb command -v Xvfb
need xauth command -v xauth
need lhasa command -v lhasa
need nsis command -v makensis
need imagemagick test -x /usr/bin/import # also reads the X screen (make screenshots, e2e)
if [ "$1" = bench ]; then
  need jlha-utils test -f /usr/share/java/jlha.jar
  need default-jdk-headless command -v javac
fi

[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
