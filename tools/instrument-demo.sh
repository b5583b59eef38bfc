#!/usr/bin/env bash
# Simulates the instrument on Linux without the instrument: a fake /sys tree names a tmpfs
# mount as a disk whose vendor is "KINETIS", so Scanlet started with SCANLET_SYSFS_ROOT pointing
# at the tree sees "plug" (mount) and "unplug" (umount) as the instrument coming and going.
#
#   tools/instrument-demo.sh up [N]   fake tree + instrument plugged with N A-scans (default 24)
#   tools/instrument-demo.sh plug     mount the instrument again (fresh copy of the A-scans)
#   tools/instrument-demo.sh unplug   unmount it
#   tools/instrument-demo.sh status   show what is set up
#   tools/instrument-demo.sh down     unplug and remove everything
#
# Needs root (mount). BUILD_DIR (default: build) holds bin/scanlet-demogen.
set -euo pipefail

SYS=/tmp/scanlet-fake-sys
MNT=/tmp/scanlet-instrument
ASCANS="$SYS/ascans"          # the A-scans copied onto every fresh mount
NUDGE="$SYS/nudge"            # a throw-away mount, see plug()
DISK=sdk                      # the fake instrument's disk name
REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-build}"
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR="$REPO/$BUILD_DIR" ;; esac

die() { echo "instrument-demo: $*" >&2; exit 1; }

need_root() { [ "$(id -u)" = 0 ] || die "mounting needs root: run it with sudo"; }

is_mounted() { mountpoint -q "$1" 2>/dev/null; }

# MAJ:MIN of the mount at $1, from the kernel's mount table (field 3 where field 5 is $1).
major_minor() { awk -v dir="$1" '$5 == dir { found = $3 } END { print found }' /proc/self/mountinfo; }

write_disk() { # name vendor model
    mkdir -p "$SYS/block/$1/device"
    printf '%-8s\n' "$2" >"$SYS/block/$1/device/vendor"
    printf '%-16s\n' "$3" >"$SYS/block/$1/device/model"
    printf '1.00\n' >"$SYS/block/$1/device/rev"
}

plug() {
    need_root
    [ -d "$SYS/block/$DISK" ] || die "not set up: run '$0 up' first"
    is_mounted "$MNT" && die "already plugged in at $MNT"
    mkdir -p "$MNT"
    mount -t tmpfs -o size=64m scanlet-instrument "$MNT"
    cp "$ASCANS"/* "$MNT"/
    local id
    id="$(major_minor "$MNT")"
    [ -n "$id" ] || die "the new mount is missing from /proc/self/mountinfo"
    mkdir -p "$SYS/dev/block"
    ln -sfn "../../block/$DISK" "$SYS/dev/block/$id"
    # Scanlet may have looked at the mount before the link above existed; one more change of the
    # mount table makes it look again, now that the disk tree names the mount.
    mkdir -p "$NUDGE"
    mount -t tmpfs -o size=4k scanlet-nudge "$NUDGE" && umount "$NUDGE"
    echo "plugged in: $MNT ($id) holds $(find "$MNT" -maxdepth 1 -name '*.jpg' | wc -l) files"
}

unplug() {
    need_root
    is_mounted "$MNT" || { echo "not plugged in"; return 0; }
    local id
    id="$(major_minor "$MNT")"
    [ -n "$id" ] && rm -f "$SYS/dev/block/$id"
    umount "$MNT"
    echo "unplugged: $MNT"
}

up() {
    need_root
    local count="${1:-24}"
    [[ "$count" =~ ^[1-9][0-9]*$ ]] || die "N must be a positive number"
    local gen="$BUILD_DIR/bin/scanlet-demogen"
    [ -x "$gen" ] || die "$gen not found: build first (make build), or set BUILD_DIR"
    is_mounted "$MNT" && unplug >/dev/null
    rm -rf "$SYS"
    # A system disk first, so that the search has something to pass over.
    write_disk sda "ATA" "Samsung SSD 870"
    write_disk "$DISK" "KINETIS" "Flaw detector"
    mkdir -p "$SYS/dev/block"
    local log
    log="$(QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$gen" "$ASCANS" "$count" 2>&1)" \
        || die "scanlet-demogen failed: $log"
    plug
    cat <<EOF

Start Scanlet against the fake disk tree (in this shell or another):
  export SCANLET_SYSFS_ROOT=$SYS
  $BUILD_DIR/bin/scanlet
While it runs:
  $0 unplug    # the instrument is pulled out: its A-scans disappear
  $0 plug      # plugged in again: loaded into an empty strip
  $0 down      # remove everything
EOF
}

status() {
    [ -d "$SYS/block/$DISK" ] && echo "fake tree: $SYS" || echo "fake tree: not set up"
    if is_mounted "$MNT"; then echo "instrument: plugged in at $MNT ($(major_minor "$MNT"))"; else echo "instrument: unplugged"; fi
}

down() {
    need_root
    is_mounted "$NUDGE" && umount "$NUDGE"
    unplug >/dev/null
    rm -rf "$SYS"
    rmdir "$MNT" 2>/dev/null || true
    echo "removed $SYS and $MNT"
}

case "${1:-}" in
    up) shift; up "$@" ;;
    plug) plug ;;
    unplug) unplug ;;
    status) status ;;
    down) down ;;
    *) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
esac
