#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what the desktop will read: the desktop
# entry, the metainfo, the MIME package (and that a .properties file then has its type), the man
# pages and the programs' --help and --version without a display; then builds the Debian package
# and checks its contents. Skips (exit 77) when a checking tool is missing.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
for tool in desktop-file-validate appstreamcli xmllint man update-mime-database gio cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/setup-deps.sh installs it)"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

version=$(sed -n 's/.*kVersion\[\] = "\(.*\)";/\1/p' "$build/generated/common/version.h")
desktop_id=$(sed -n 's/.*kDesktopId\[\] = "\(.*\)";/\1/p' "$build/generated/common/version.h")
expected=(
  usr/bin/propdesk
  usr/bin/propdesk-native2ascii
  "usr/share/applications/$desktop_id.desktop"
  "usr/share/metainfo/$desktop_id.metainfo.xml"
  usr/share/mime/packages/propdesk.xml
  usr/share/icons/hicolor/scalable/apps/propdesk.svg
  usr/share/man/man1/propdesk.1
  usr/share/man/man1/propdesk-native2ascii.1
)
for size in 16 22 24 32 48 64 128 256; do expected+=("usr/share/icons/hicolor/${size}x${size}/apps/propdesk.png"); done

root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }
for file in "${expected[@]}"; do [ -s "$root/$file" ] || fail "not installed: /$file"; done
share="$root/usr/share"

desktop-file-validate "$share/applications/$desktop_id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/$desktop_id.metainfo.xml" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$share/metainfo/$desktop_id.metainfo.xml" || fail "metainfo lacks release $version"
xmllint --noout "$share/mime/packages/propdesk.xml" || fail "xmllint of the MIME package"

for page in propdesk propdesk-native2ascii; do
  if ! LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1" >"$work/$page.txt" 2>"$work/$page.err" ||
     [ -s "$work/$page.err" ] || ! grep -q "$version" "$work/$page.txt"; then
    cat "$work/$page.err"; fail "man -l $page.1"
  fi
done
for option in -inplace -check -include -strict -keepsyntax -reverse -encoding -version; do
  grep -q -- "^ *$option" "$work/propdesk-native2ascii.txt" || fail "the converter's page does not describe $option"
done

# Neither program needs a display for these; every other first argument is a file for the editor.
for command in "propdesk --help" "propdesk --version" "propdesk-native2ascii --help" "propdesk-native2ascii -version"; do
  read -r program option <<<"$command"
  if ! env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" "$option" >"$work/out" 2>&1; then
    cat "$work/out"; fail "$command exits with an error"
  fi
done
grep -qx "propdesk $version" <(env -u DISPLAY "$root/usr/bin/propdesk" --version) || fail "propdesk --version does not say $version"

# A private data folder holding only the installed MIME package gives .properties files their type.
mkdir -p "$work/data/mime/packages" "$work/files"
cp "$share/mime/packages/propdesk.xml" "$work/data/mime/packages/"
XDG_DATA_HOME="$work/data" update-mime-database "$work/data/mime" || fail "update-mime-database"
printf 'greeting=\\u3053\\u3093\\u306b\\u3061\\u306f\n' >"$work/files/messages.properties"
type=$(XDG_DATA_HOME="$work/data" GIO_USE_VFS=local gio info -a standard::content-type "$work/files/messages.properties" |
       sed -n 's/^ *standard::content-type: //p')
[ "$type" = text/x-java-properties ] || fail "a .properties file has the type '$type'"

package="$work/package"
if cpack -G DEB --config "$build/CPackConfig.cmake" -B "$package" >"$work/cpack.log" 2>&1; then
  deb="$package/propdesk_${version}_amd64.deb"
  if [ -f "$deb" ]; then
    dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' >"$work/listing"
    for file in "${expected[@]}"; do grep -qx "$file" "$work/listing" || fail "the package lacks /$file"; done
    dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "the package does not depend on Qt's widgets"
  else
    ls "$package"; fail "no $deb"
  fi
else
  cat "$work/cpack.log"; fail "cpack -G DEB"
fi

[ "$failures" -eq 0 ] || exit 1
echo "PASS: installed files valid, MIME type recognised, --help and --version without a display, package lists them"
