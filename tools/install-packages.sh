#!/bin/sh
# Installs those of the named Debian packages that are not installed yet:
#   sh tools/install-packages.sh PACKAGE...
# Another package manager (on a desktop often the daily automatic update) may hold apt's locks:
# each step waits for them, up to 10 minutes, and says which process holds them.
set -eu
missing=
for p in "$@"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed' || missing="$missing $p"
done
[ -n "$missing" ] || exit 0
sudo=
[ "$(id -u)" = 0 ] || sudo=sudo
echo "Installing:$missing"
# apt-get update gives up at once on a held lock of the package lists: retried while it is held.
tries=0
while ! out=$($sudo apt-get -qq update 2>&1); do
  held=$(printf '%s\n' "$out" | grep -m1 'Could not get lock' || true)
  if [ -z "$held" ] || [ $tries -ge 120 ]; then
    printf '%s\n' "$out" >&2
    exit 1
  fi
  [ $tries -gt 0 ] || echo "Waiting up to 10 minutes for the package lists: $held"
  tries=$((tries + 1))
  sleep 5
done
# Here apt itself waits, printing "Waiting for cache lock: ... held by process N (name)".
$sudo env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=600 install -y $missing
