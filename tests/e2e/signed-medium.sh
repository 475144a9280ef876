#!/bin/sh
# Runs a scenario whose project signs setup.exe and the uninstaller with
# [build] sign, then checks the signatures with osslsigncode: setup.exe on the
# medium and the uninstaller that the installation expanded into the Windows
# directory (the scenario copies it to WORK/installed-unkalvora.exe).
# kalvora.exe runs the sign command through Wine's cmd, which cannot wait for a
# Linux program: the programs are signed here first, with a certificate made
# here, and the sign command copies the signed one for {name} from
# %KALVORA_SIGNED% over {file}. Without osslsigncode or openssl the test is
# skipped (exit code 77).
# usage: signed-medium.sh WORK SETUP.EXE UNKALVORA.EXE COMMAND...
set -u
work=$1 setup=$2 uninstaller=$3
shift 3
for needed in osslsigncode openssl; do
  command -v $needed >/dev/null || { echo "signed-medium: no $needed: skipped"; exit 77; }
done
keys="$work/signing"
rm -rf "$keys"
mkdir -p "$keys/signed"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$keys/key.pem" -out "$keys/cert.pem" -days 2 \
  -subj "/CN=kalvora scenario" 2>/dev/null || { echo "signed-medium: openssl failed"; exit 1; }
for program in "$setup" "$uninstaller"; do
  osslsigncode sign -certs "$keys/cert.pem" -key "$keys/key.pem" -in "$program" \
    -out "$keys/signed/$(basename "$program")" >/dev/null || { echo "signed-medium: cannot sign $program"; exit 1; }
done
KALVORA_SIGNED="Z:$(printf '%s' "$keys/signed" | tr / '\\')"
export KALVORA_SIGNED

"$@" || exit $?

verify() { # verify FILE WHAT
  osslsigncode verify -CAfile "$keys/cert.pem" "$1" >"$keys/verify.txt" 2>&1 ||
    { echo "signed-medium: $2 is not signed: $(cat "$keys/verify.txt")"; exit 1; }
}
verify "$work/medium/setup.exe" "setup.exe on the medium"
verify "$work/installed-unkalvora.exe" "the installed uninstaller"
echo "signed-medium: setup.exe and the installed uninstaller are signed"
