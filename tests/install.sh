#!/bin/sh
# Installs the build tree under two prefixes (one with a space) and under DESTDIR, then starts both
# programs through the launchers in bin/ and checks the desktop entry and icons.
set -eu
build=$1 language=$2
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
"$build/bin/scanlet-demogen" "$work/demo А-сканы" 3 >/dev/null
for place in "a" "b b/usr" "dest"; do
  if [ "$place" = dest ]; then
    DESTDIR="$work/dest" cmake --install "$build" --prefix /usr/local >/dev/null
    prefix="$work/dest/usr/local"
  else
    prefix="$work/$place"
    cmake --install "$build" --prefix "$prefix" >/dev/null
  fi
  "$prefix/bin/scanlet-info" --csv "$work/demo А-сканы" | grep -c '3\.jpg' | grep -qx 1
  # Hints (such as two main categories) fail too: the validator exits 0 on them.
  hints=$(desktop-file-validate "$prefix/share/applications/scanlet.desktop" 2>&1) && [ -z "$hints" ] || { echo "$hints" >&2; exit 1; }
  test -f "$prefix/share/icons/hicolor/scalable/apps/scanlet.svg"
  test -f "$prefix/share/icons/hicolor/256x256/apps/scanlet.png"
  app="$prefix/lib/scanlet"
  # The catalogue lies beside the program only in a Russian build.
  if [ "$language" = ru ]; then test -f "$app/scanlet_ru.qm"; else test ! -e "$app/scanlet_ru.qm"; fi
  # Started through its launcher, the window's program runs from the installed place and, in a
  # Russian build, maps both catalogues once the application is up.
  (cd "$work" && QT_QPA_PLATFORM=offscreen HOME="$work" exec "$prefix/bin/scanlet") &
  pid=$!
  want="libqoffscreen"
  [ "$language" = en ] || want="qtbase_ru.qm"
  tries=0
  until [ "$(readlink /proc/$pid/exe || true)" = "$app/scanlet" ] && grep -q "$want" /proc/$pid/maps 2>/dev/null; do
    tries=$((tries + 1))
    if [ $tries -gt 300 ] || ! kill -0 "$pid" 2>/dev/null; then echo "scanlet did not start from $prefix" >&2; exit 1; fi
    sleep 0.1
  done
  [ "$language" = en ] || grep -q "$app/scanlet_ru.qm" /proc/$pid/maps
  kill "$pid"; wait "$pid" 2>/dev/null || true; pid=
done
echo "installed and started from three places"
