#!/bin/sh
# Builds the Debian package from a build folder and checks what a user would
# get: the control fields and exactly the files that are installed.
#   check_package.sh BUILD_DIR VERSION WITH_UI(ON|OFF)
set -eu
build=$1
version=$2
with_ui=$3

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log"
  echo "FAIL: cpack could not make the package"
  exit 1
fi
deb=$(find "$out" -maxdepth 1 -name '*.deb')
[ -n "$deb" ] || { echo "FAIL: no .deb was written"; exit 1; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = corvane ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', expected $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ "$(field Section)" = devel ] || fail "Section is '$(field Section)'"
case "$(field Description)" in
  "builds a clean game directory"*) ;;
  *) fail "Description begins '$(field Description | head -n 1)'" ;;
esac

# Depends as a list of package names, versions dropped.
depends=$(field Depends | tr ',' '\n' | sed 's/(.*)//; s/^ *//; s/ *$//')
need() { echo "$depends" | grep -qx "$1" || fail "Depends lacks $1 (has: $(field Depends))"; }
need libc6
need libstdc++6
need libzip4
if [ "$with_ui" = ON ]; then
  need libqt6core6
  need libqt6gui6
  need libqt6widgets6
  need qt6-qpa-plugins
fi

# Exactly these files, nothing more (no libraries, headers or test programs).
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort >"$out/files"
{
  echo ./usr/bin/corvane-cli
  echo ./usr/share/man/man1/corvane-cli.1.gz
  if [ "$with_ui" = ON ]; then
    echo ./usr/bin/corvane
    echo ./usr/share/applications/corvane.desktop
    echo ./usr/share/mime/packages/corvane.xml
    echo ./usr/share/icons/hicolor/scalable/apps/corvane.svg
    for size in 16 22 24 32 48 64 128 256; do
      echo "./usr/share/icons/hicolor/${size}x${size}/apps/corvane.png"
    done
  fi
} | sort >"$out/expected"
if ! diff -u "$out/expected" "$out/files"; then
  fail "the package's files differ from the expected list (- expected, + packaged)"
fi

# The programs are executable and the desktop entry starts the installed one.
dpkg-deb -x "$deb" "$out/root"
[ -x "$out/root/usr/bin/corvane-cli" ] || fail "corvane-cli is not executable"
"$out/root/usr/bin/corvane-cli" --version | grep -qx "corvane-cli $version" || fail "the packaged corvane-cli does not report $version"
if [ "$with_ui" = ON ]; then
  entry="$out/root/usr/share/applications/corvane.desktop"
  grep -qx 'Exec=corvane %f' "$entry" || fail "the desktop entry does not start 'corvane %f'"
  grep -qx 'Icon=corvane' "$entry" || fail "the desktop entry does not name the icon"
  mime=$(sed -n 's/^MimeType=//p' "$entry" | tr ';' '\n' | grep -v '^$')
  grep -q "type=\"$mime\"" "$out/root/usr/share/mime/packages/corvane.xml" \
    || fail "the desktop entry's MimeType '$mime' is not described in corvane.xml"
  for size in 16 22 24 32 48 64 128 256; do
    png="$out/root/usr/share/icons/hicolor/${size}x${size}/apps/corvane.png"
    # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }')
    [ "$dims" = "${size}x${size}" ] || fail "icon ${size}x${size} is $dims"
  done
fi

[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb") checked"
