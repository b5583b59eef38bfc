#!/usr/bin/env bash
# Places beside Windows programs everything they load at run time:
#   tools/windows/deploy.sh QT_PREFIX DIR [tests]
# Qt's libraries and the compiler's run-time libraries (the programs link them dynamically), and
# the plugins: platforms (the window system; offscreen too for the tests), imageformats (JPEG
# for the A-scans, ICO for the window icon), printsupport (the native print dialog), styles (the
# native look of the dialogs). qt.conf makes Qt look for its translations beside the program
# rather than in the build machine's prefix compiled into Qt5Core.dll.
set -euo pipefail
qt=$1
dir=$2
gcc_dlls=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
mkdir -p "$dir"/{platforms,imageformats,printsupport,styles,translations}
for lib in Qt5Core Qt5Gui Qt5Widgets Qt5PrintSupport; do
  cp -u "$qt/bin/$lib.dll" "$dir/"
done
for dll in "$gcc_dlls/libstdc++-6.dll" "$gcc_dlls/libgcc_s_seh-1.dll" \
           /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll; do
  cp -u "$dll" "$dir/"
done
cp -u "$qt/plugins/platforms/qwindows.dll" "$dir/platforms/"
if [ "${3:-}" = tests ]; then
  cp -u "$qt/bin/Qt5Test.dll" "$dir/"
  cp -u "$qt/plugins/platforms/"{qoffscreen,qminimal}.dll "$dir/platforms/"
fi
cp -u "$qt/plugins/imageformats/"{qjpeg,qico}.dll "$dir/imageformats/"
cp -u "$qt/plugins/printsupport/windowsprintersupport.dll" "$dir/printsupport/"
cp -u "$qt/plugins/styles/qwindowsvistastyle.dll" "$dir/styles/"
cp -u /usr/share/qt5/translations/qtbase_ru.qm "$dir/translations/"
printf '[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n' >"$dir/qt.conf"
