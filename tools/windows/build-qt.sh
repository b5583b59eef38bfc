#!/usr/bin/env bash
# Builds Qt 5.15 (qtbase: Core, Gui, Widgets, PrintSupport, Test and their plugins) for 64-bit
# Windows from Debian's own source package with the mingw-w64 posix compilers, and installs it
# into a cache outside the tree. A finished build is reused; a change of the configuration below
# gives it a new folder, so the cache never mixes two configurations.
#
#   tools/windows/build-qt.sh          prints the Qt prefix, building it first when missing
#   SCANLET_CACHE=dir  where the cache lives (default ${XDG_CACHE_HOME:-~/.cache}/scanlet)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cache=${SCANLET_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/scanlet}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

# Debian's tarball lacks the tablet header of the Windows platform plugin: hence
# -no-feature-tabletevent; Direct2D needs headers mingw-w64 does not ship.
config=(
  -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
  -release -shared -opensource -confirm-license -nomake examples -nomake tests
  -no-opengl -no-dbus -no-icu -qt-zlib -qt-libjpeg -qt-libpng -qt-pcre -qt-freetype -qt-harfbuzz
  -no-feature-tabletevent -no-direct2d -no-feature-sql -no-feature-network -no-feature-xml
  -no-feature-concurrent -no-feature-dbus -platform linux-g++
)
stamp=$(printf '%s\n' "${config[@]}" | sha256sum | cut -c1-12)
prefix=$cache/qt5-win64-$stamp

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

say() { echo "build-qt: $*" >&2; }
sudo=$([ "$(id -u)" = 0 ] || echo sudo)
apt() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 "$@"; }

need=(dpkg-dev g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix python3 perl)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  say "installing ${missing[*]} (waiting for the package lock if another apt job holds it)"
  apt update -qq
  apt install -y -qq "${missing[@]}" >&2
fi

# Source packages come from the suites apt already uses.
if ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx 'Sources'; then
  say "enabling deb-src for the configured Debian suites"
  "$here/debsrc.sh" | $sudo tee /etc/apt/sources.list.d/scanlet-deb-src.sources >/dev/null
  apt update -qq
fi

work=$cache/qt5-win64-$stamp.work
rm -rf "$work"
mkdir -p "$work/src" "$work/bin"
say "fetching Debian's qtbase-opensource-src into $work/src"
(cd "$work/src" && apt-get source -qq qtbase-opensource-src >&2)
src=$(find "$work/src" -maxdepth 1 -type d -name 'qtbase-opensource-src-*' | head -n1)
[ -n "$src" ] || { say "no source tree unpacked"; exit 1; }

# The posix thread model is what std::thread and Qt's threads need.
for t in gcc g++; do
  ln -sf "/usr/bin/x86_64-w64-mingw32-$t-posix" "$work/bin/x86_64-w64-mingw32-$t"
done
export PATH="$work/bin:$PATH"

say "configuring and building (about 35 to 50 minutes on two cores); log in $work/build.log"
start=$(date +%s)
mkdir -p "$work/build"
(
  cd "$work/build"
  "$src/configure" -prefix "$prefix" "${config[@]}"
  make -j"$jobs"
  make install
) >"$work/build.log" 2>&1 || { tail -n 40 "$work/build.log" >&2; say "failed; see $work/build.log"; exit 1; }
echo "$(( $(date +%s) - start ))" >"$prefix/.build-seconds"
cp "$work/build.log" "$prefix/build.log"
touch "$prefix/.complete"
rm -rf "$work"
say "done in $(cat "$prefix/.build-seconds") s"
echo "$prefix"
