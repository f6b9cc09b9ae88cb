#!/usr/bin/env bash
# Installs, idempotently, everything the build and the tests need on a fresh Debian machine (as root).
# A second run checks and returns within seconds.
set -euo pipefail
. "$(dirname "$0")/arch.sh"
# Wine's bcrypt (the sealed history's AES-GCM) needs GnuTLS, which Wine only recommends.
# The X libraries that Wine recommends come along as users' Wine has them: without XFixes, Wine polls the
# X clipboard every 2 s, so copies made in between never reach Windows programs.
x_libs=(libxfixes3 libxrandr2 libxi6 libxinerama1 libxcursor1 libxcomposite1)
# Wine's own fonts (its caption buttons draw from one; without it they show as letters) and one with CJK
# characters, as a user's Wine has them: the screenshots and the layout tests see what users see.
fonts=(fonts-wine fonts-wqy-microhei)
pkgs=(cmake make g++ googletest g++-mingw-w64-x86-64 mingw-w64-x86-64-dev g++-mingw-w64-i686 mingw-w64-i686-dev
      wine wine64 libgnutls30 "${x_libs[@]}" "${fonts[@]}" xvfb xauth xclip xdotool imagemagick nsis clang libclang-rt-14-dev python3)
# 32-bit Wine and its 32-bit X libraries only where 32-bit code runs at all.
with_32bit=0
if can_run_32bit; then
  with_32bit=1
  pkgs+=(wine32:i386 libgnutls30:i386 "${x_libs[@]/%/:i386}")
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# i386 must be known before the package lists are fetched, or wine32:i386 is not found.
if [ "$with_32bit" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
