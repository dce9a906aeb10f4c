#!/usr/bin/env bash
# Runs a test program as an ordinary user: as itself when it is one, else (as root) as nobody. Root may create and
# write files where a user may not, so a run as root alone cannot show what a user meets. The program runs from a
# private copy, since the build folder may not be open to that user.
#   as_ordinary_user.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
if [[ $(id -u) != 0 ]]; then exec "$@"; fi

program=$1
shift
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
cp "$program" "$home/"
# The sanitizers' suppression file, likewise.
if [[ ${LSAN_OPTIONS:-} =~ suppressions=([^:]+) ]]; then
  cp "${BASH_REMATCH[1]}" "$home/lsan.supp"
  LSAN_OPTIONS=${LSAN_OPTIONS/${BASH_REMATCH[1]}/$home/lsan.supp}
  export LSAN_OPTIONS
fi
chown -R 65534:65534 "$home"
chmod 700 "$home"
cd "$home"
setpriv --reuid=65534 --regid=65534 --clear-groups \
  env HOME="$home" TMPDIR="$home" XDG_RUNTIME_DIR="$home" "$home/$(basename "$program")" "$@"
