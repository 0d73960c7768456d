#!/usr/bin/env bash
# Installs the build folder BUILD into a scratch prefix and checks what lands there:
# the exact list of files, the desktop entry and the metainfo through their validators
# (where those are installed), and that the installed programs run from the prefix.
# Usage: InstallTreeTest.sh BUILD VERSION
set -euo pipefail
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

expected="bin/vezodev
bin/vezodev-render
share/applications/vezodev.desktop
share/icons/hicolor/128x128/apps/vezodev.png
share/icons/hicolor/16x16/apps/vezodev.png
share/icons/hicolor/256x256/apps/vezodev.png
share/icons/hicolor/32x32/apps/vezodev.png
share/icons/hicolor/48x48/apps/vezodev.png
share/icons/hicolor/64x64/apps/vezodev.png
share/locale/en/LC_MESSAGES/vezodev.mo
share/locale/ja/LC_MESSAGES/vezodev.mo
share/man/ja/man1/vezodev.1
share/man/man1/vezodev-render.1
share/man/man1/vezodev.1
share/metainfo/org.example.Vezodev.metainfo.xml
share/vezodev/help-effect-outline.png
share/vezodev/help-effect-shadow.png
share/vezodev/help-effect-spacing.png
share/vezodev/help-mix-a-gray.png
share/vezodev/help-mix-a-white.png
share/vezodev/help-mix-b-gray.png
share/vezodev/help-mix-b-white.png
share/vezodev/help-mix-c-gray.png
share/vezodev/help-mix-c-white.png
share/vezodev/help-mix-d-gray.png
share/vezodev/help-mix-d-white.png
share/vezodev/vezodev-help.css
share/vezodev/vezodev.en.html
share/vezodev/vezodev.html"
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$(LC_ALL=C sort <<<"$expected")" ]; then
  echo "The install tree differs from the expected list:"
  diff <(LC_ALL=C sort <<<"$expected") <(echo "$actual") || true
  exit 1
fi

# Each icon is the size its folder names.
for folder in "$prefix"/share/icons/hicolor/*/apps; do
  size=$(basename "$(dirname "$folder")")
  width=$((16#$(od -An -tx1 -j16 -N4 "$folder/vezodev.png" | tr -d ' \n')))
  height=$((16#$(od -An -tx1 -j20 -N4 "$folder/vezodev.png" | tr -d ' \n')))
  [ "${width}x${height}" = "$size" ] || { echo "icon in $size is ${width}x${height}"; exit 1; }
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/vezodev.desktop"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.example.Vezodev.metainfo.xml" >/dev/null
fi
# Each manual page, the Japanese one too, formats without a warning at a terminal's
# usual widths.
if command -v groff >/dev/null; then
  for page in "$prefix"/share/man/man1/*.1 "$prefix"/share/man/ja/man1/*.1; do
    for width in 80 65; do
      warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -k -rLL=$((width - 2))n "$page" 2>&1 >/dev/null)
      [ -z "$warnings" ] || { echo "$page at $width columns:"; echo "$warnings"; exit 1; }
    done
  done
fi

# The English help page has the Japanese one's sections, links and pictures, and no
# Japanese character.
anchors() { grep -o 'id="[^"]*"\|href="[^"]*"\|src="[^"]*"' "$1"; }
for page in vezodev.html vezodev.en.html; do
  if ! grep -q '<link rel="stylesheet" type="text/css" href="vezodev-help.css">' "$prefix/share/vezodev/$page"; then
    echo "$page does not link the help's stylesheet"
    exit 1
  fi
done
if ! diff <(anchors "$prefix/share/vezodev/vezodev.html") <(anchors "$prefix/share/vezodev/vezodev.en.html"); then
  echo "the help pages' sections, links or pictures differ"
  exit 1
fi
if LC_ALL=C.UTF-8 grep -nP '[\x{3000}-\x{30FF}\x{4E00}-\x{9FFF}\x{FF00}-\x{FFEF}]' "$prefix/share/vezodev/vezodev.en.html"; then
  echo "Japanese left in the English help page"
  exit 1
fi

[ "$("$prefix/bin/vezodev" --version)" = "vezodev $version" ]
[ "$("$prefix/bin/vezodev-render" --version)" = "vezodev $version" ]
"$prefix/bin/vezodev-render" --text Installed -o "$prefix/check.png"
[ -s "$prefix/check.png" ]
# The installed renderer finds both catalogues in ../share/locale.
help=$(env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG=ja_JP.UTF-8 "$prefix/bin/vezodev-render" --help)
[ "${help%%$'\n'*}" = "使い方: vezodev-render [オプション] -o FILE" ] || { echo "Japanese help begins: ${help%%$'\n'*}"; exit 1; }
message=$(LANG=en_US.UTF-8 LANGUAGE= LC_ALL= LC_MESSAGES= "$prefix/bin/vezodev-render" -o "$prefix/none/x.bmp" 2>&1 || true)
case "$message" in
  *"Cannot create file"*) ;;
  *) echo "the installed renderer speaks no English: $message"; exit 1 ;;
esac
echo "install tree OK"
