#!/bin/sh
# [build] sign: setup.exe and the uninstaller are signed before they are placed
# on the medium or packed into it (osslsigncode, a certificate made here), and
# a failing sign command fails the build. Needs osslsigncode, openssl and a
# Windows program: one built here with mingw-w64, or else the win32 tree's
# (which make test may be relinking while this runs: the last choice).
. "$(dirname "$0")/lib/common.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
for needed in osslsigncode openssl; do
  command -v $needed >/dev/null || { echo "sign: skipped, no $needed"; exit 77; }
done
if command -v i686-w64-mingw32-gcc >/dev/null; then
  printf 'int main(void) { return 0; }\n' >"$work/p.c"
  i686-w64-mingw32-gcc -o "$work/setup.exe" "$work/p.c" || fail "mingw-w64"
  cp "$work/setup.exe" "$work/unkalvora.exe"
elif [ -f "$root/build/win32/setup.exe" ] && [ -f "$root/build/win32/unkalvora.exe" ]; then
  cp "$root/build/win32/setup.exe" "$root/build/win32/unkalvora.exe" "$work/"
else
  echo "sign: skipped, no Windows programs"
  exit 77
fi
export KALVORA_SETUP_EXE="$work/setup.exe" KALVORA_UNINSTALLER_EXE="$work/unkalvora.exe"

mkdir "$work/p"
cd "$work/p" || exit 1
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 -subj "/CN=kalvora test" \
  2>/dev/null || fail "openssl"
text prog.txt 2000
cat >p.kvp <<'KVP'
[build]
; paths are the project's: the command runs in its directory
sign = osslsigncode sign -certs cert.pem -key key.pem -n {name} -in {file} -out {out}
[files_1]
0 = prog.txt
[software]
name = Signed
o_standard = 1
Opt1_name = Program
Opt1_standard = 1
KVP
expect 0 build -o "$work/m" p.kvp
[ "$(tail -n 1 "$work/out")" = "$work/m" ] || fail "the sign command's output reached standard output"
osslsigncode verify -CAfile cert.pem "$work/m/setup.exe" >"$work/v1" 2>&1 || fail "setup.exe: $(cat "$work/v1")"
expect 0 expand -C "$work/x" "$work/m/uninst.ex_"
osslsigncode verify -CAfile cert.pem "$work/x/uninst32.ex_" >"$work/v2" 2>&1 || fail "uninstaller: $(cat "$work/v2")"
# The sources stay unsigned; the verification above can fail.
osslsigncode verify -CAfile cert.pem "$work/setup.exe" >/dev/null 2>&1 && fail "the source setup.exe was signed"
expect 0 check --strict "$work/m"

# In place with {file} only.
sed 's/^sign = .*/sign = osslsigncode sign -certs cert.pem -key key.pem -in {file} -out {file}.s \&\& mv {file}.s {file}/' \
  p.kvp >inplace.kvp
expect 0 build -o "$work/m2" inplace.kvp
osslsigncode verify -CAfile cert.pem "$work/m2/setup.exe" >/dev/null 2>&1 || fail "signed in place"

# A failing command, a command without {file}, an unknown placeholder: errors, no medium.
sed 's/^sign = .*/sign = osslsigncode sign -certs missing.pem -key key.pem -in {file} -out {out}/' p.kvp >bad.kvp
expect 1 build -o "$work/m3" bad.kvp
contains "$work/err" "bad.kvp:3: error: the sign command failed for setup.exe (exit status"
[ -e "$work/m3" ] && fail "a failed signing left a medium"
printf '[build]\nsign = true\n' >nofile.kvp
expect 1 build -o "$work/m3" nofile.kvp
contains "$work/err" "nofile.kvp:2: error: the sign command needs {file}"
printf '[build]\nsign = s {file} {key}\n' >unknown.kvp
expect 1 check unknown.kvp
contains "$work/err" "unknown.kvp:2: error: unknown placeholder {key}"
echo "sign: ok"
