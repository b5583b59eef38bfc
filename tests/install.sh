#!/bin/sh
# Installs the build tree under two prefixes (one with a space) and under DESTDIR, then checks what a
# distribution looks for (programs in bin/, their files in share/scanlet, the desktop entry, icons,
# metadata, manual pages, shell completion, licence) and starts both programs, the window through the
# command of its desktop entry.
set -eu
build=$1 language=$2
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cards="$work/demo А-сканы"
"$build/bin/scanlet-demogen" "$cards" 3 >/dev/null
for place in "a" "b b/usr" "dest"; do
  if [ "$place" = dest ]; then
    DESTDIR="$work/dest" cmake --install "$build" --prefix /usr/local >/dev/null
    prefix="$work/dest/usr/local"
  else
    prefix="$work/$place"
    cmake --install "$build" --prefix "$prefix" >/dev/null
  fi
  "$prefix/bin/scanlet-info" --csv "$cards" | grep -c '3\.jpg' | grep -qx 1
  QT_QPA_PLATFORM=offscreen "$prefix/bin/scanlet" --version 2>/dev/null | grep -qx 'scanlet [0-9]*\.[0-9]*'
  # Hints (such as two main categories) fail too: the validator exits 0 on them.
  entry="$prefix/share/applications/scanlet.desktop"
  hints=$(desktop-file-validate "$entry" 2>&1) && [ -z "$hints" ] || { echo "$hints" >&2; exit 1; }
  grep -qx 'MimeType=image/jpeg;' "$entry"
  appstreamcli validate --no-net --pedantic "$prefix"/share/metainfo/*.metainfo.xml >/dev/null
  for page in scanlet scanlet-info; do
    warnings=$(groff -man -ww -z -Tutf8 "$prefix/share/man/man1/$page.1" 2>&1) && [ -z "$warnings" ] || { echo "$warnings" >&2; exit 1; }
  done
  # The completion offers the options, and after "--" names that start with a minus.
  completion="$prefix/share/bash-completion/completions/scanlet-info"
  [ "$(cd "$cards" && touch -- -3.jpg && bash -c '. "$1"; COMP_WORDS=(scanlet-info --c); COMP_CWORD=1; _scanlet_info;
       echo "${COMPREPLY[*]}"; COMP_WORDS=(scanlet-info -- -); COMP_CWORD=2; _scanlet_info; echo "${COMPREPLY[*]}"' - "$completion")" \
      = "$(printf -- '--csv\n-3.jpg')" ]
  rm -f -- "$cards/-3.jpg"
  cmp -s "$prefix/share/doc/scanlet/LICENSE" "$(dirname "$0")/../LICENSE"
  test -f "$prefix/share/icons/hicolor/scalable/apps/scanlet.svg"
  test -f "$prefix/share/icons/hicolor/256x256/apps/scanlet.png"
  files="$prefix/share/scanlet"
  test -f "$files/helpScanlet_eng.htm" && test -f "$files/images/strip.png" && test ! -e "$prefix/lib/scanlet"
  # The catalogue lies with the program's files only in a Russian build.
  if [ "$language" = ru ]; then test -f "$files/scanlet_ru.qm"; else test ! -e "$files/scanlet_ru.qm"; fi
  # Started as the desktop entry says (the program found on PATH, %f a file), the window runs from
  # bin/ and, in a Russian build, maps both catalogues once the application is up.
  command=$(sed -n 's/^Exec=//p' "$entry")
  [ "${command#* }" = "%f" ]
  (cd "$work" && QT_QPA_PLATFORM=offscreen HOME="$work" PATH="$prefix/bin:$PATH" exec "${command%% *}" "$cards/2.jpg") &
  pid=$!
  want="libqoffscreen"
  [ "$language" = en ] || want="qtbase_ru.qm"
  tries=0
  until [ "$(readlink /proc/$pid/exe || true)" = "$prefix/bin/scanlet" ] && grep -q "$want" /proc/$pid/maps 2>/dev/null; do
    tries=$((tries + 1))
    if [ $tries -gt 300 ] || ! kill -0 "$pid" 2>/dev/null; then echo "scanlet did not start from $prefix" >&2; exit 1; fi
    sleep 0.1
  done
  [ "$language" = en ] || grep -q "$files/scanlet_ru.qm" /proc/$pid/maps
  kill "$pid"; wait "$pid" 2>/dev/null || true; pid=
done
echo "installed, checked and started from three places"
