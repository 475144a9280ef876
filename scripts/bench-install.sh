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
# Every installer is timed as a whole process started from the shell, Wine's
# start included: setup.exe with its unattended switch (/quiet), an NSIS
# installer with /S, and a trivial program ("wine": cmd /c exit).
# KALVORA_UI=wizard times setup.exe through its windows instead: from the click
# on the wizard's start button to the closing message (the e2e driver's time
# marks, bench/install/install.scenario).
#
# MEASURE chooses what is measured of each install, in place of the wall time:
#   cpu       processor seconds of the installer's processes and of the Wine server
#   requests  requests to the Wine server by kind (the server traces every
#             request, which slows it down: use it with a few FILES)
# Processor time and counts, unlike wall time, hardly change with the load of
# the machine. FILES=N installs only the first N files of the payload.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
NATIVE=$(cd "${1:-$ROOT/build/native}" && pwd)
WIN32=$(cd "${2:-$ROOT/build/win32}" && pwd)
ROUNDS=${ROUNDS:-5}
KINDS=${KINDS:-lzh rle none nsis-zlib nsis-lzma wine}
KALVORA_UI=${KALVORA_UI:-quiet}
MEASURE=${MEASURE:-time}
FILES=${FILES:-}
BENCH=$ROOT/build/bench-install
WORK=$BENCH${FILES:+/first-$FILES}
export WINEPREFIX=${WINEPREFIX:-$WIN32/wineprefix}

if [ "${BENCH_INSTALL_PHASE:-prepare}" = prepare ]; then
  command -v makensis >/dev/null || { echo "bench-install: makensis missing (apt-get install nsis)" >&2; exit 1; }
  mkdir -p "$WORK"
  python3 "$ROOT/bench/make-install-payload.py" "$BENCH/payload"
  if [ -n "$FILES" ]; then
    # The payload's files are numbered from 000 in the order they are made.
    rm -rf "$WORK/payload"
    mkdir -p "$WORK/payload"
    (cd "$BENCH/payload" && find . -type f | LC_ALL=C sort |
      awk -v n="$FILES" '{ s = $0; sub(/.*\/[a-z]+/, "", s); if (s + 0 < n) print }' |
      tar -cf - -T - | tar -xf - -C "$WORK/payload")
  fi
  (cd "$WORK/payload" && find . -type f | LC_ALL=C sort | xargs md5sum) >"$WORK/payload.md5"
  for kind in $KINDS; do
    case $kind in
    lzh | rle | none)
      sed -e "s/^compression = COMPRESSION/compression = $kind/" \
        -e "s|^uninstaller = |uninstaller = $ROOT/bench/install/|" \
        "$ROOT/bench/install/product.kvp" >"$WORK/product-$kind.kvp"
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

# The server of the prefix, started here in the foreground so that its
# processor time can be read (and, for MEASURE=requests, with its trace).
wineserver -k >/dev/null 2>&1 || true
server_trace=/dev/null
[ "$MEASURE" = requests ] && server_trace=$WORK/server-trace.txt
if [ "$MEASURE" = requests ]; then wineserver -f -p -d1 2>"$server_trace" & else wineserver -f -p & fi
server=$!
sleep 1
server_ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$server/stat"; }

# Runs an installer (kind, a piece of the name of the processes to count, empty
# for all of them, then the command) the way MEASURE says; prints the
# figure(s) for the results. The command's output goes to WORK/output-KIND.txt.
measured() {
  kind=$1 name=$2
  shift 2
  out=$WORK/output-$kind.txt
  case $MEASURE in
  time)
    start=$(now)
    "$@" >"$out" 2>&1
    end=$(now)
    echo "$start $end" | awk '{ printf "%.3f\n", $2 - $1 }'
    ;;
  cpu)
    before=$(server_ticks)
    python3 "$ROOT/bench/install/cpu-of-tree.py" "$WORK/cpu.txt" "$@" >"$out" 2>&1
    after=$(server_ticks)
    # The installer's processes, then the server.
    awk -v name="$name" -v server=$((after - before)) -v hz="$(getconf CLK_TCK)" \
      'name == "" || index(tolower($1), tolower(name)) { u += $3 + $5; s += $4 + $6 }
       END { printf "%.2f %.2f %.2f\n", u, s, server / hz }' "$WORK/cpu.txt"
    ;;
  requests)
    from=$(wc -l <"$server_trace")
    "$@" >"$out" 2>&1
    tail -n +"$((from + 1))" "$server_trace" >"$WORK/trace-$kind.txt"
    python3 "$ROOT/bench/install/count-server-requests.py" "$WORK/trace-$kind.txt" "$name" 12 >"$WORK/requests-$kind.txt"
    sed -n 's/^\([0-9]*\) requests.*/\1/p' "$WORK/requests-$kind.txt"
    ;;
  esac
}

failed() { # kind
  cat "$WORK/output-$1.txt" >&2
  echo "bench-install: $1 failed" >&2
  exit 1
}

install_once() { # kind -> the measure on stdout
  case $1 in
  lzh | rle | none)
    rm -rf "$drive_c/KvBench" "$WORK/$1/times.txt"
    # The entry of an earlier install would make setup ask about the installed copy.
    "$run" reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KvBench' /f >/dev/null 2>&1 || true
    if [ "$KALVORA_UI" = wizard ]; then
      # The e2e driver clicks through the windows and marks the times; its own work is not counted.
      figure=$(measured "$1" setup.exe "$run" "$WIN32/kvdrive.exe" --scenario "$ROOT/bench/install/install.scenario" \
        --setup "$WIN32/setup.exe" --media "$ROOT/tests/e2e/media" --work "$WORK/$1") || failed "$1"
      [ "$MEASURE" = time ] && figure=$(awk '$1 == "start" { s = $2 } $1 == "end" { printf "%.3f\n", $2 - s }' "$WORK/$1/times.txt")
    else
      figure=$(measured "$1" "" "$run" "$WORK/$1/medium/setup.exe" /quiet '/dir=C:\KvBench' /group=KvBench) ||
        failed "$1"
    fi
    check "$drive_c/KvBench"
    echo "$figure"
    ;;
  nsis-*)
    rm -rf "$drive_c/KvBenchNsis"
    measured "$1" "" "$run" "$WORK/$1.exe" /S || failed "$1"
    check "$drive_c/KvBenchNsis"
    ;;
  wine)
    measured "$1" "" "$run" cmd /c exit 0 || failed "$1"
    ;;
  esac
}

"$run" cmd /c exit 0 >/dev/null 2>&1 # the prefix up before the first install
round=1
while [ "$round" -le "$ROUNDS" ]; do
  for kind in $KINDS; do
    figures=$(install_once "$kind")
    echo "$kind $figures" >>"$results"
    echo "round $round: $kind $figures (load $(cut -d' ' -f1-3 /proc/loadavg))" >&2
  done
  round=$((round + 1))
done

median() { # kind [column]
  awk -v k="$1" -v c="${2:-2}" '$1 == k { print $c }' "$results" | sort -n |
    awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

label() { # kind
  case $1 in
  lzh | rle | none) echo "kalvora $1" ;;
  wine) echo "wine cmd /c exit" ;;
  *) echo "$1" ;;
  esac
}

files=$(wc -l <"$WORK/payload.md5")
echo
case $MEASURE in
time)
  reference=$(median nsis-zlib)
  echo "| installer | median of $ROUNDS | all runs (s) | / NSIS zlib |"
  echo "|---|---|---|---|"
  for kind in $KINDS; do
    m=$(median "$kind")
    all=$(awk -v k="$kind" '$1 == k { printf "%s%s", sep, $2; sep = " " }' "$results")
    ratio=$(echo "$m ${reference:-0}" | awk '{ if ($2 > 0) printf "%.2f", $1 / $2; else print "-" }')
    echo "| $(label "$kind") | $m s | $all | $ratio |"
  done
  ;;
cpu)
  echo "| installer ($files files) | its processes: user s | system s | Wine server s | total ms per file |"
  echo "|---|---|---|---|---|"
  for kind in $KINDS; do
    u=$(median "$kind" 2) s=$(median "$kind" 3) w=$(median "$kind" 4)
    echo "| $(label "$kind") | $u | $s | $w | $(echo "$u $s $w $files" | awk '{ printf "%.2f", ($1 + $2 + $3) * 1000 / $4 }') |"
  done
  ;;
requests)
  echo "| installer ($files files) | $MEASURE | per file |"
  echo "|---|---|---|"
  for kind in $KINDS; do
    m=$(median "$kind")
    echo "| $(label "$kind") | $m | $(echo "$m $files" | awk '{ printf "%.1f", $1 / $2 }') |"
  done
  for kind in $KINDS; do
    echo
    echo "$(label "$kind"), the last round:"
    cat "$WORK/requests-$kind.txt"
  done
  ;;
esac
