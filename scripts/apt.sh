# apt-get for the set-up scripts (sourced by scripts/setup-deps.sh and scripts/windows-build.sh):
#   apt_install_missing LABEL PACKAGE...   installs those of the packages that are missing
#   apt_update LABEL                       apt-get update (sets APT_UPDATED=1)
#   apt_get LABEL ARGUMENT...              apt-get as root, once no package lock is held
# A fresh Debian machine runs its automatic upgrades at first boot and holds apt's and
# dpkg's locks meanwhile. apt-get waits for the dpkg lock only when told to
# (DPkg::Lock::Timeout), and not at all for the lists lock (apt-get update) or the archives
# lock (downloads), so apt_get first waits until none of them is held, for at most
# APT_LOCK_WAIT seconds (default 600), saying what it waits for.

APT_LOCK_WAIT=${APT_LOCK_WAIT:-600}
APT_LOCKS=(/var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock /var/cache/apt/archives/lock)
APT_UPDATED=0

as_root() { if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi; }

# "LOCK is held by COMMAND (pid N)" for the first of the locks that a process holds, or
# nothing. lslocks names locked files by device and inode, which needs no root.
apt_lock_holder() {
  command -v lslocks >/dev/null || return 0
  local held lock id
  held=$(lslocks --noheadings --raw --output MAJ:MIN,INODE,COMMAND,PID 2>/dev/null) || return 0
  for lock in "${APT_LOCKS[@]}"; do
    [ -e "$lock" ] || continue
    id=$(stat -c '%Hd:%Ld %i' "$lock")
    awk -v id="$id" -v lock="$lock" '$1 " " $2 == id { print lock " is held by " $3 " (pid " $4 ")"; exit }' <<<"$held" |
      grep . && return 0
  done
  return 0
}

apt_get() {
  local label=$1 holder rc waiting_since=-1
  shift
  local deadline=$((SECONDS + APT_LOCK_WAIT))
  while :; do
    holder=$(apt_lock_holder)
    if [ -n "$holder" ]; then
      if [ "$SECONDS" -ge "$deadline" ]; then
        echo "$label: gave up after ${APT_LOCK_WAIT} s: the package lock $holder" >&2
        return 1
      fi
      if [ "$waiting_since" -lt 0 ]; then
        echo "$label: the package lock $holder; waiting up to ${APT_LOCK_WAIT} s for it" \
             "(a fresh machine runs its automatic upgrades first)"
        waiting_since=$SECONDS
      fi
      sleep 1
      continue
    fi
    if [ "$waiting_since" -ge 0 ]; then
      echo "$label: the package locks are free after $((SECONDS - waiting_since)) s"
      waiting_since=-1
    fi
    rc=0
    as_root env DEBIAN_FRONTEND=noninteractive \
      apt-get -o DPkg::Lock::Timeout=$((deadline > SECONDS ? deadline - SECONDS : 1)) "$@" || rc=$?
    # A lock taken between the look above and apt-get's start: wait for it as well.
    [ "$rc" -ne 0 ] && [ -n "$(apt_lock_holder)" ] && [ "$SECONDS" -lt "$deadline" ] && continue
    return "$rc"
  done
}

apt_update() {
  apt_get "$1" update -qq
  APT_UPDATED=1
}

apt_install_missing() {
  local label=$1 package missing=()
  shift
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "$label: installing ${missing[*]}"
  apt_update "$label"
  apt_get "$label" install -y -qq --no-install-recommends "${missing[@]}"
}
