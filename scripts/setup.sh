#!/usr/bin/env bash
# Installs, idempotently, everything the build and the tests need on a fresh Debian machine (as root).
# A second run checks and returns within seconds.
set -euo pipefail
# The 32-bit X libraries that Wine recommends come along as users' Wine has them: without XFixes, Wine polls
# the X clipboard every 2 s, so copies made in between never reach Windows programs.
pkgs=(cmake make g++ googletest g++-mingw-w64-i686 mingw-w64-i686-dev wine wine32:i386
      libxfixes3:i386 libxrandr2:i386 libxi6:i386 libxinerama1:i386 libxcursor1:i386 libxcomposite1:i386
      xvfb xauth xclip xdotool imagemagick nsis clang libclang-rt-14-dev python3)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# i386 must be known before the package lists are fetched, or wine32:i386 is not found.
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
