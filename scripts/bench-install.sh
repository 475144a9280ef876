#!/bin/sh
# The install benchmark: one product (bench/make-install-payload.py, 500 files,
# 51.3 MB) installed under one Wine prefix by kalvora's setup.exe from media
# compressed with LZH, RLE and stored, and by NSIS installers (zlib and lzma)
# made from the same files. Every kind is installed ROUNDS times, interleaved;
# every installed file is checked; the medians and the ratios to NSIS zlib are
# printed.
#
#   sh scripts/bench-install.sh [NATIVE_TREE [WIN32_TREE]]   (defaults build/native, build/win32)
#   ROUNDS=5 KINDS="lzh rle none nsis-zlib nsis-lzma wine" sh scripts/bench-install.sh
#
# kalvora is timed from the click on the wizard's start button to the closing
# message (kvdrive's time marks: the scenario bench/install/install.scenario);
# an NSIS installer (/S) and a trivial program ("wine": cmd /c exit) as whole
# processes started from the shell.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
NATIVE=$(cd "${1:-$ROOT/build/native}" && pwd)
WIN32=$(cd "${2:-$ROOT/build/win32}" && pwd)
ROUNDS=${ROUNDS:-5}
KINDS=${KINDS:-lzh rle none nsis-zlib nsis-lzma wine}
WORK=$ROOT/build/bench-install
export WINEPREFIX=${WINEPREFIX:-$WIN32/wineprefix}

if [ "${BENCH_INSTALL_PHASE:-prepare}" = prepare ]; then
  command -v makensis >/dev/null || { echo "bench-install: makensis missing (apt-get install nsis)" >&2; exit 1; }
  mkdir -p "$WORK"
  python3 "$ROOT/bench/make-install-payload.py" "$WORK/payload"
  (cd "$WORK/payload" && find . -type f | LC_ALL=C sort | xargs md5sum) >"$WORK/payload.md5"
  for kind in $KINDS; do
    case $kind in
    lzh | rle | none)
      sed "s/^compression = COMPRESSION/compression = $kind/" "$ROOT/bench/install/product.kvp" >"$WORK/product-$kind.kvp"
      KALVORA_SETUP_EXE=$WIN32/setup.exe "$NATIVE/kalvora" build -q -o "$WORK/$kind/medium" "$WORK/product-$kind.kvp" >/dev/null
      ;;
    nsis-*)
      # The installer depends only on the payload and the compressor: made once.
      [ -f "$WORK/$kind.exe" ] ||
        makensis -V1 -DPAYLOAD="$WORK/payload" -DOUTFILE="$WORK/$kind.exe" "-XSetCompressor ${kind#nsis-}" \
          "$ROOT/bench/install/product.nsi"
      ;;
    esac
  done
  export BENCH_INSTALL_PHASE=run
  exec sh "$ROOT/scripts/with-wine.sh" sh "$0" "$NATIVE" "$WIN32"
fi

# --- under Wine
drive_c=$WINEPREFIX/drive_c
run="$WIN32/wine-run.sh"
now() { date +%s.%N; }
results=$WORK/times.txt
: >"$results"

check() { # directory
  (cd "$1" && md5sum --quiet -c "$WORK/payload.md5") || { echo "bench-install: $1 differs from the payload" >&2; exit 1; }
}

install_once() { # kind -> seconds on stdout
  case $1 in
  lzh | rle | none)
    rm -rf "$drive_c/KvBench" "$WORK/$1/times.txt"
    "$run" "$WIN32/kvdrive.exe" --scenario "$ROOT/bench/install/install.scenario" --setup "$WIN32/setup.exe" \
      --media "$ROOT/tests/e2e/media" --work "$WORK/$1" >"$WORK/$1/kvdrive-output.txt" 2>&1 ||
      { cat "$WORK/$1/kvdrive-output.txt" >&2; exit 1; }
    check "$drive_c/KvBench"
    awk '$1 == "start" { s = $2 } $1 == "end" { printf "%.3f\n", $2 - s }' "$WORK/$1/times.txt"
    ;;
  nsis-*)
    rm -rf "$drive_c/KvBenchNsis"
    start=$(now)
    "$run" "$WORK/$1.exe" /S >/dev/null 2>&1
    end=$(now)
    check "$drive_c/KvBenchNsis"
    echo "$start $end" | awk '{ printf "%.3f\n", $2 - $1 }'
    ;;
  wine)
    start=$(now)
    "$run" cmd /c exit 0 >/dev/null 2>&1
    end=$(now)
    echo "$start $end" | awk '{ printf "%.3f\n", $2 - $1 }'
    ;;
  esac
}

"$run" cmd /c exit 0 >/dev/null 2>&1 # the prefix and its wineserver up before the first timing
round=1
while [ "$round" -le "$ROUNDS" ]; do
  for kind in $KINDS; do
    seconds=$(install_once "$kind")
    echo "$kind $seconds" >>"$results"
    echo "round $round: $kind $seconds s" >&2
  done
  round=$((round + 1))
done

median() { # kind
  awk -v k="$1" '$1 == k { print $2 }' "$results" | sort -n |
    awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

reference=$(median nsis-zlib)
echo
echo "| installer | median of $ROUNDS | all runs (s) | / NSIS zlib |"
echo "|---|---|---|---|"
for kind in $KINDS; do
  m=$(median "$kind")
  all=$(awk -v k="$kind" '$1 == k { printf "%s%s", sep, $2; sep = " " }' "$results")
  ratio=$(echo "$m ${reference:-0}" | awk '{ if ($2 > 0) printf "%.2f", $1 / $2; else print "-" }')
  case $kind in
  lzh | rle | none) label="kalvora $kind" ;;
  wine) label="wine cmd /c exit" ;;
  *) label=$kind ;;
  esac
  echo "| $label | $m s | $all | $ratio |"
done
