#!/bin/sh
# Does opening a card's files by name grow faster than their number on FAT? FAT finds a name by
# scanning the folder, so each open may cost in proportion to the files before it. Makes a FAT32
# image of N files named as the instrument names them, mounts it with fusefat (this kernel may
# have no vfat; the kernel's own driver scans folders the same way), then opens and reads 45 bytes
# of each, in the strip's order and in the folder's own order, and prints the time per file.
#
#     bench/fat_lookup.sh [N ...]        default: 1000 2000 4000
set -eu
sh "$(dirname "$0")/../tools/install-packages.sh" dosfstools mtools fusefat python3
[ $# -gt 0 ] || set -- 1000 2000 4000
work=$(mktemp -d)
trap 'fusermount -u "$work/mnt" 2>/dev/null || true; rm -rf "$work"' EXIT
for count in "$@"; do
    rm -rf "$work/files" "$work/card.img"
    mkdir -p "$work/files" "$work/mnt"
    # Written in a shuffled order: the card's folder order is the order the instrument saved in,
    # which need not be the strip's.
    python3 - "$work/files" "$count" <<'EOF'
import os, random, sys
folder, count = sys.argv[1], int(sys.argv[2])
for number in random.Random(1).sample(range(1, count + 1), count):
    with open(os.path.join(folder, f'{number}.jpg'), 'wb') as f:
        f.write(b'\xff\xd8' + bytes(510))
EOF
    mkfs.vfat -F 32 -C "$work/card.img" $((64 * 1024 + count * 8)) >/dev/null
    # Copied in the shuffled order, so the folder's entries keep it.
    (cd "$work/files" && ls -U | xargs sh -c 'mcopy -i "$0" -- "$@" ::/' "$work/card.img")
    fusefat -o ro "$work/card.img" "$work/mnt" >/dev/null 2>&1
    python3 - "$work/mnt" "$count" <<'EOF'
import os, re, sys, time
folder, count = sys.argv[1], int(sys.argv[2])
listed = [name for name in os.listdir(folder) if name.lower().endswith('.jpg')]
def number(name):
    return int(re.match(r'\d+', name).group())
orders = {'strip order': sorted(listed, key=number), 'folder order': listed}
for label, names in orders.items():
    start = time.perf_counter()
    for name in names:
        fd = os.open(os.path.join(folder, name), os.O_RDONLY)
        os.read(fd, 45)
        os.close(fd)
    seconds = time.perf_counter() - start
    per_file = seconds / count * 1e6
    print(f'{count:>7} files, {label:<12}: {seconds:8.2f} s, {per_file:9.0f} us per file')
EOF
    fusermount -u "$work/mnt"
done
