#!/usr/bin/env bash
# make windows: Scanlet and scanlet-info cross-built for 64-bit Windows, with everything they
# load at run time, as dist/Scanlet-<version>-win64.zip and an installer made with NSIS.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${WIN_BUILD_DIR:-$root/build-win}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
qt=$("$root/tools/windows/build-qt.sh")
version=$(sed -n 's/^project(Scanlet VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name=Scanlet-$version-win64
stage=$root/dist/$name

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/tools/windows/toolchain.cmake" \
      -DSCANLET_WIN_QT="$qt" -DCMAKE_BUILD_TYPE=Release -DSCANLET_LANGUAGE=en >/dev/null
cmake --build "$build" -j "$jobs" --target scanlet scanlet-info scanlet_beside

rm -rf "$stage"
mkdir -p "$stage/russian"
cp "$build/bin/scanlet.exe" "$build/bin/scanlet-info.exe" "$stage/"
x86_64-w64-mingw32-strip "$stage/"*.exe
"$root/tools/windows/deploy.sh" "$qt" "$stage"
# The compiler's run-time libraries come with their symbols: 24 MB of the package otherwise.
x86_64-w64-mingw32-strip --strip-unneeded "$stage/"lib*.dll
# The help pages, their pictures, the report's letterhead and the window icon.
cp -r "$build/bin/images" "$stage/"
cp "$build/bin/"*.htm "$build/bin/TARNWELL_logo_bw.bmp" "$build/bin/tarnwell.ico" "$stage/"
[ -f "$root/LICENSE" ] && cp "$root/LICENSE" "$stage/LICENSE.txt"
# The interface is Russian when its catalogue lies beside the program: the zip keeps it aside,
# the installer asks.
cp "$build/translations/scanlet_ru.qm" "$stage/russian/"
printf '%s\r\n' "Copy scanlet_ru.qm beside scanlet.exe for the Russian interface." \
  "Скопируйте scanlet_ru.qm к scanlet.exe, чтобы программа говорила по-русски." >"$stage/russian/README.txt"

rm -f "$root/dist/$name.zip"
(cd "$root/dist" && cmake -E tar cf "$name.zip" --format=zip "$name")
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$root/dist/$name-setup.exe" \
         "$root/tools/windows/scanlet.nsi"
echo "windows: $root/dist/$name.zip and $root/dist/$name-setup.exe"
