# Shared by the CLI tests: sourced with the tool's path as $1.
# Gives: $tool, $work (a fresh directory, removed at exit), fail, run, expect,
# and deterministic data files.
tool=$1
if [ ! -x "$tool" ]; then
  echo "usage: $0 PATH-TO-KALVORA" >&2
  exit 2
fi
case $tool in /*) ;; *) tool=$PWD/$tool ;; esac
work=$(mktemp -d "${TMPDIR:-/tmp}/kalvora-cli.XXXXXX") || exit 1
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT INT TERM

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# run ARGS...: runs the tool; sets $status, output in $work/out and $work/err.
run() {
  status=0
  "$tool" "$@" >"$work/out" 2>"$work/err" || status=$?
}

# expect STATUS ARGS...: runs the tool and fails unless it exits with STATUS.
expect() {
  want=$1
  shift
  run "$@"
  if [ "$status" != "$want" ]; then
    echo "--- stdout" >&2; cat "$work/out" >&2
    echo "--- stderr" >&2; cat "$work/err" >&2
    fail "kalvora $* exited $status, expected $want"
  fi
}

# expect_err TEXT: the last run's stderr is exactly TEXT (one line).
expect_err() {
  printf '%s\n' "$1" >"$work/want"
  cmp -s "$work/want" "$work/err" || fail "stderr was '$(cat "$work/err")', expected '$1'"
}

# contains FILE TEXT: FILE holds TEXT somewhere.
contains() {
  grep -F -q -- "$2" "$1" || fail "'$2' not found in: $(cat "$1")"
}

# noise FILE SIZE [SEED]: SIZE bytes that do not compress.
noise() {
  LC_ALL=C awk -v n="$2" -v s="${3:-1}" 'BEGIN {
    for (i = 0; i < n; i++) { s = (s * 69069 + 1) % 4294967296; printf "%c", int(s / 16777216) } }' >"$1"
}

# text FILE SIZE [SEED]: SIZE bytes of words and line breaks.
text() {
  LC_ALL=C awk -v n="$2" -v s="${3:-1}" 'BEGIN {
    split("the setup archive of kalvora installs files into a target folder and program group disk", w, " ")
    out = 0
    while (out < n) {
      s = (s * 69069 + 1) % 4294967296; word = w[int(s / 16777216) % 15 + 1] (s % 7 == 0 ? "\r\n" : " ")
      if (out + length(word) > n) word = substr(word, 1, n - out)
      printf "%s", word; out += length(word) } }' >"$1"
}

# same A B: the two files hold the same bytes.
same() {
  cmp -s "$1" "$2" || fail "$2 differs from $1"
}

# poke FILE OFFSET OCTAL: overwrites one byte.
poke() {
  printf "\\$3" | dd of="$1" bs=1 seek="$2" count=1 conv=notrunc 2>/dev/null
}

# flip FILE OFFSET: changes one byte (adds 1 to it).
flip() {
  old=$(od -An -tu1 -j "$2" -N1 "$1" | tr -d ' ')
  poke "$1" "$2" "$(printf '%o' $(((old + 1) % 256)))"
}
