#!/usr/bin/env bash
# Builds the Debian package in a build folder and checks what it holds and
# what it depends on.
#   packaging/check-deb.sh [BUILD_DIR]            build and inspect the package
#   packaging/check-deb.sh --install [BUILD_DIR]  also install it with apt-get,
#                                                 run it and remove it (root)
# Exits 77 when the machine has no dpkg-deb.
set -euo pipefail

install=0
if [ "${1:-}" = "--install" ]; then install=1; shift; fi
build=$(cd "${1:-build}" && pwd)

fail() { echo "FAIL: $*" >&2; exit 1; }

command -v dpkg-deb >/dev/null || { echo "no dpkg-deb: the package is not built"; exit 77; }

# Each run starts from no package, so an old one cannot pass for the new.
rm -f "$build"/strux32_*.deb
(cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1) || { cat "$build/cpack.log" >&2; fail "cpack -G DEB"; }
shopt -s nullglob
packages=("$build"/strux32_*.deb)
[ "${#packages[@]}" -eq 1 ] || fail "expected one strux32_*.deb in $build, found ${#packages[@]}"
deb=${packages[0]}
echo "package: $deb"

info=$(dpkg-deb -I "$deb")
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = "strux32" ] || fail "package name is $(field Package)"
depends=$(field Depends)
echo "Depends: $depends"
for dependency in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins fonts-liberation; do
  grep -qE "(^|, )$dependency( |,|$)" <<<"$depends" || fail "the package does not depend on $dependency"
done
grep -q "^ Maintainer: " <<<"$info" || fail "the package names no maintainer"

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for file in ./usr/bin/strux ./usr/bin/Strux32 \
            ./usr/lib/strux32/libcvSubs1.so ./usr/lib/strux32/libcvRegistry.so ./usr/lib/strux32/libplatform_vb.so \
            ./usr/share/applications/strux32.desktop ./usr/share/icons/hicolor/scalable/apps/strux32.svg \
            ./usr/share/mime/packages/strux32.xml ./usr/share/man/man1/strux.1 ./usr/share/strux32/; do
  grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
# Nothing of a developer's build or test runs rides along.
if grep -E 'stx32ps\.def|/(tests?|include)/|\.a$|_test$' <<<"$contents"; then fail "the package holds files it must not"; fi
# The delivered databases the build made.
for file in ./usr/share/strux32/STX32.MDB ./usr/share/strux32/samples/OrderEntry.mdb; do
  grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done

# Unpacked anywhere, the programs find their libraries through their RPATH.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
for program in strux Strux32; do
  if ldd "$unpacked/usr/bin/$program" | grep -E "not found|$build" ; then fail "$program finds its libraries in the wrong place"; fi
done
"$unpacked/usr/bin/strux" --help >/dev/null || fail "the unpacked strux --help"

if [ "$install" -eq 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y -qq "$deb" >/dev/null || fail "apt-get install $deb"
  /usr/bin/strux --help >/dev/null || fail "the installed strux --help"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate /usr/share/applications/strux32.desktop || fail "desktop-file-validate"
  fi
  files=$(dpkg -L strux32)
  apt-get remove --purge -y -qq strux32 >/dev/null || fail "apt-get remove strux32"
  dpkg -s strux32 >/dev/null 2>&1 && fail "strux32 is still installed"
  for file in $files; do
    case "$file" in /usr/bin/*|/usr/lib/strux32*|/usr/share/strux32*|*/strux32.desktop|*/strux32.svg|*/strux.1)
      [ -e "$file" ] && fail "$file is left after removal" ;;
    esac
  done
  echo "installed, ran and removed: ok"
fi
echo "package: ok"
