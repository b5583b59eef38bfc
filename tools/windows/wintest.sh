#!/usr/bin/env bash
# make wintest: the test programs cross-built for Windows and run under Wine on a virtual display.
# Wine wants an X display even for console programs; a test's log does not reach a pipe, so each
# writes its log to a file that is read afterwards.
#   tools/windows/wintest.sh [tst_name ...]     all test programs, or the named ones
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${WIN_BUILD_DIR:-$root/build-win}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
cache=${SCANLET_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/scanlet}
qt=$("$root/tools/windows/build-qt.sh")

tests=("$@")
# tst_info is Linux's alone: its expected outputs are written for Unix paths, and it sets up a
# named pipe and a file-size limit. tst_acquisition runs without its /sys and mount-table part.
if [ ${#tests[@]} -eq 0 ]; then
  tests=(tst_records tst_views tst_loading tst_output tst_app tst_acquisition tst_windows)
fi

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/tools/windows/toolchain.cmake" \
      -DSCANLET_WIN_QT="$qt" -DCMAKE_BUILD_TYPE=Release -DSCANLET_LANGUAGE=en >/dev/null
cmake --build "$build" -j "$jobs" --target "${tests[@]}" scanlet-info scanlet_beside
"$root/tools/windows/deploy.sh" "$qt" "$build/bin" tests

export WINEPREFIX=$cache/wine64-prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wintest: making the Wine prefix $WINEPREFIX"
  xvfb-run -a sh -c 'wineboot --init; wineserver -w' >/dev/null 2>&1
fi

logs=$build/wintest-logs
rm -rf "$logs"
mkdir -p "$logs"
cd "$build/bin"
# One virtual display and one Wine server for every program.
xvfb-run -a bash -c '
  for t in "$@"; do
    timeout 600 wine "$t.exe" -o "'"$logs"'/$t.txt,txt" >"'"$logs"'/$t.out" 2>&1
    echo $? >"'"$logs"'/$t.status"
  done
  wineserver -w' wintest "${tests[@]}"

passed=0 failed=0 skipped=0 bad=()
for t in "${tests[@]}"; do
  status=$(cat "$logs/$t.status" 2>/dev/null || echo missing)
  totals=$(grep -a '^Totals:' "$logs/$t.txt" 2>/dev/null | tail -n1 || true)
  printf '%-16s exit %-4s %s\n' "$t" "$status" "${totals:-no log}"
  grep -a -E '^(FAIL!|XPASS)' "$logs/$t.txt" 2>/dev/null | sed 's/^/    /' || true
  read -r p f s < <(echo "$totals" | sed -E 's/Totals: ([0-9]+) passed, ([0-9]+) failed, ([0-9]+) skipped.*/\1 \2 \3/;t;s/.*/0 0 0/')
  passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
  if [ "$status" != 0 ] || [ -z "$totals" ]; then bad+=("$t"); fi
done
echo "wintest: logs in $logs"
echo "wintest: ${passed} passed, ${failed} failed, ${skipped} skipped"
[ ${#bad[@]} -eq 0 ] || { echo "wintest: failing programs: ${bad[*]}" >&2; exit 1; }
