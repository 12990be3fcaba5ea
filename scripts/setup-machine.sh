#!/bin/sh
# Installs every Debian package the builds and tests need (only those missing). Run as root or with sudo.
set -e
PACKAGES="cmake make g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev
g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
wine wine64 xvfb x11-utils imagemagick xdotool"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
echo "setup-machine: installing$missing"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing
