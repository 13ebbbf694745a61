#!/usr/bin/env bash
# The set-up scripts wait for apt's locks: a helper holds a lock as apt and dpkg do (an
# fcntl write lock) for a few seconds while apt_get (scripts/apt.sh) runs a command that
# needs it. apt_get must say what it waits for, wait, and then succeed:
#   - the dpkg frontend lock, with "apt-get install" of nothing (takes the lock, installs nothing);
#   - the lists lock, with "apt-get update" (apt-get alone fails at once on that one);
# and with a shorter bound than the lock is held, give up at that bound, saying so.
# The locks are root's: skipped (exit 77) otherwise.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIPPED: holding apt's locks needs root"
  exit 77
fi
hold=3
work=$(mktemp -d)
helper=
trap '[ -z "$helper" ] || kill "$helper" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "lock test: $*" >&2; exit 1; }

# hold_lock LOCK: a helper takes LOCK (after whoever holds it now) and keeps it $hold s.
# Another apt or dpkg (a fresh machine's upgrades, a parallel set-up) may hold it first:
# the helper then waits for it as long as the set-up scripts would.
owner_wait=600
hold_lock() {
  local ready=$work/ready waited=0
  rm -f "$ready"
  timeout $((owner_wait + 60)) python3 -c '
import fcntl, sys, time
with open(sys.argv[1], "w") as f:
    fcntl.lockf(f, fcntl.LOCK_EX)
    open(sys.argv[2], "w").close()
    time.sleep(float(sys.argv[3]))
' "$1" "$ready" "$hold" &
  helper=$!
  while [ ! -e "$ready" ] && [ "$waited" -lt $((owner_wait * 10)) ]; do
    [ "$waited" = 20 ] && echo "lock test: $1 is held by another process; waiting up to $owner_wait s for it"
    sleep 0.1
    waited=$((waited + 1))
  done
  [ -e "$ready" ] || fail "the helper did not get $1 within $owner_wait s"
}

# run_apt_get ARGUMENT...: apt_get as the set-up scripts call it; sets out, rc and took.
run_apt_get() {
  local start=$SECONDS
  rc=0
  out=$(timeout 120 bash -c 'source "$1/scripts/apt.sh"; shift; apt_get lock-test "$@"' _ "$root" "$@" 2>&1) || rc=$?
  took=$((SECONDS - start))
  wait "$helper" || true
  helper=
  echo "$out"
}

for case in "/var/lib/dpkg/lock-frontend install -y -qq" "/var/lib/apt/lists/lock update -qq"; do
  read -r lock command <<<"$case"
  hold_lock "$lock"
  run_apt_get $command
  [ "$rc" = 0 ] || fail "apt-get $command failed ($rc) while $lock was held"
  grep -qE "^lock-test: the package lock $lock is held by python3 \(pid [0-9]+\); waiting up to 600 s for it" <<<"$out" ||
    fail "no message naming $lock and its holder"
  grep -qE '^lock-test: the package locks are free after [0-9]+ s$' <<<"$out" || fail "no message when the lock came free"
  [ "$took" -ge $((hold - 1)) ] || fail "apt-get $command came back after $took s, before the lock was free"
  echo "lock test: waited for $lock, then apt-get $command succeeded ($took s)"
done

export APT_LOCK_WAIT=1
hold_lock /var/lib/dpkg/lock-frontend
run_apt_get install -y -qq
[ "$rc" != 0 ] || fail "apt-get install succeeded although the lock outlasted the bound"
grep -qE "^lock-test: gave up after 1 s: the package lock /var/lib/dpkg/lock-frontend is held by python3 " <<<"$out" ||
  fail "no message when giving up"
[ "$took" -lt "$hold" ] || fail "gave up after $took s, not at the 1 s bound"
echo "lock test: gave up at the bound ($took s)"
