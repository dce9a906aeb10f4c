#!/bin/bash
# Usage: setup_test.sh <path of scripts/setup>
# 1. On this (set-up) machine the check finds nothing missing: every name on the list is a real, installed package.
# 2. With faked tools on PATH: what a user without root or sudo sees, that apt is touched only when something is
#    missing, and what root runs.
set -u
setup=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

out=$(/bin/bash "$setup" --check 2>&1); rc=$?
[[ $rc == 0 && -z $out ]] || fail "check on this machine: status $rc, output: $out"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# fakes <uid> <missing package or ""> <sudo: none|denied|works>: a PATH with only the tools the script may use.
fakes() {
  local bin=$work/bin
  rm -rf "$bin" "$work/calls"
  mkdir -p "$bin"
  ln -s /usr/bin/env "$bin/env"
  cat >"$bin/dpkg-query" <<DPKG
#!/bin/bash
[[ \${!#} == "$2" ]] && { echo "dpkg-query: no packages found matching \${!#}" >&2; exit 1; }
printf 'install ok installed'
DPKG
  printf '#!/bin/bash\necho %s\n' "$1" >"$bin/id"
  printf '#!/bin/bash\necho "apt-get $*" >>%s/calls\n' "$work" >"$bin/apt-get"
  case $3 in
    denied) printf '#!/bin/bash\necho "sudo $*" >>%s/calls\nexit 1\n' "$work" >"$bin/sudo" ;;
    works) printf '#!/bin/bash\necho "sudo $*" >>%s/calls\n[[ $1 == -n ]] && exit 0\nexec "$@"\n' "$work" >"$bin/sudo" ;;
  esac
  chmod +x "$bin"/*
}
run() { PATH=$work/bin /bin/bash "$setup" "$@" </dev/null 2>"$work/err"; }
calls() { cat "$work/calls" 2>/dev/null; }

expected_message="scripts/setup: missing Debian packages: libevdev-dev
Install them as root with:
  apt-get install --no-install-recommends libevdev-dev"

# Missing package, neither root nor sudo (absent, or refusing without a terminal to ask on): the message, status 1,
# apt never run.
for sudo in none denied; do
  fakes 1000 libevdev-dev $sudo
  run; rc=$?
  [[ $rc == 1 ]] || fail "no root, sudo $sudo: status $rc"
  [[ $(cat "$work/err") == "$expected_message" ]] || fail "no root, sudo $sudo: message: $(cat "$work/err")"
  [[ $(calls) != *apt-get* ]] || fail "no root, sudo $sudo: apt-get ran: $(calls)"
done

# --check reports the same and never installs, even as root.
fakes 0 libevdev-dev none
run --check; rc=$?
[[ $rc == 1 && $(cat "$work/err") == "$expected_message" && -z $(calls) ]] ||
  fail "--check as root: status $rc, calls $(calls)"

# Nothing missing: no apt, no sudo, nothing printed, whoever runs it.
for uid in 1000 0; do
  fakes $uid "" works
  run; rc=$?
  [[ $rc == 0 && -z $(calls) && ! -s $work/err ]] || fail "nothing missing, uid $uid: status $rc, calls $(calls)"
done

# Missing as root: apt installs exactly what is missing; through a working sudo the same, via sudo.
fakes 0 libevdev-dev none
run; rc=$?
[[ $rc == 0 && $(calls) == "apt-get update -q
apt-get install -y -q --no-install-recommends libevdev-dev" ]] || fail "root install: status $rc, calls $(calls)"
fakes 1000 libevdev-dev works
run; rc=$?
[[ $rc == 0 && $(calls) == *"sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends libevdev-dev"* ]] ||
  fail "sudo install: status $rc, calls $(calls)"

((failures == 0)) && echo "setup script: all cases pass"
exit $((failures > 0))
