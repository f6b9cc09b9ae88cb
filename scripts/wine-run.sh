#!/usr/bin/env bash
# Runs one Windows program under Wine so that it can neither hang nor outlive its caller.
# Usage: wine-run.sh [--prefix DIR] [--arch win64|win32] [--timeout SECONDS] [--dpi N] [--init] [--discard]
#                    [program.exe args...]
#   --arch   the prefix's kind (default $ARDENTIA_WINE_ARCH, else win64): a 64-bit prefix runs under
#            Wine's 64-bit loader, a 32-bit one under the 32-bit loader
#   --init   only make sure the prefix exists and is set up, then return
#   --dpi N  a prefix whose screen has N dots per inch (set when the prefix is made)
#   --discard  delete the prefix when the run ends (a prefix made for one test only)
# - The prefix is private and set up once: no crash dialog (a crash exits instead of waiting for a
#   click that never comes), Wine draws window frames itself (captions show without a window manager).
# - Without DISPLAY a private Xvfb is started for this one run.
# - The program runs under `timeout`; a crash that Wine reports fails the run even when the exit code is 0,
#   which Wine returns for about one crash in twelve.
# - A detached watcher stops wineserver and the private Xvfb should this script be killed outright
#   (CTest kills a test at its TIMEOUT with SIGKILL, so no trap of ours would run).
set -uo pipefail
. "$(dirname "$0")/xvfb.sh"
. "$(dirname "$0")/arch.sh"
prefix="${WINEPREFIX:-$PWD/wineprefix}"
limit="${ARDENTIA_WINE_TIMEOUT:-240}"
init_only=0
discard=0
dpi=""
arch="${ARDENTIA_WINE_ARCH:-win64}"
while [ $# -gt 0 ]; do
  case "$1" in
    --prefix) prefix="$2"; shift 2 ;;
    --dpi) dpi="$2"; shift 2 ;;
    --arch) arch="$2"; shift 2 ;;
    --timeout) limit="$2"; shift 2 ;;
    --init) init_only=1; shift ;;
    --discard) discard=1; shift ;;
    *) break ;;
  esac
done
mkdir -p "$prefix"
prefix="$(cd "$prefix" && pwd)"
wine="$(wine_loader "$arch")"
export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="

XVFB_PID=""
watcher=""

start_watcher() {
  setsid bash -c '
    while kill -0 "$1" 2>/dev/null; do sleep 0.5; done
    WINEPREFIX="$2" timeout 15 wineserver -k >/dev/null 2>&1
    [ -n "$3" ] && kill "$3" 2>/dev/null
    exit 0' wine-run-watcher "$$" "$WINEPREFIX" "$XVFB_PID" </dev/null >/dev/null 2>&1 &
  watcher=$!
}

# Wine draws caption buttons and dialogs with fonts of its own (fonts-wine), which this Wine leaves out of a
# new prefix; a user's Wine has them there.
copy_wine_fonts() {
  [ -d /usr/share/wine/fonts ] && [ -d "$WINEPREFIX/drive_c/windows" ] || return 0
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts" && cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  return 0
}

init_prefix() {
  (
    flock 9
    [ -f "$WINEPREFIX/.ardentia-ready" ] && { copy_wine_fonts; exit 0; }
    timeout 120 "$wine" wineboot -i >/dev/null 2>&1
    copy_wine_fonts
    # Characters the program's fonts lack (CJK) are drawn from the CJK font set-up installs, as Windows links
    # its own fonts.
    for face in Arial Tahoma "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2"; do
      timeout 60 "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$face" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >/dev/null 2>&1
    done
    timeout 60 "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    timeout 60 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    if [ -n "$dpi" ]; then
      timeout 60 "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    fi
    timeout 60 wineserver -w
    # The registry is written to disk when wineserver ends: check the setting that keeps crashes from hanging.
    # On a busy machine a write can be lost while the new prefix settles: it is made again, a few times.
    for attempt in 1 2 3; do
      grep -qi '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" 2>/dev/null && break
      timeout 60 "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      timeout 60 wineserver -w
    done
    if ! grep -qi '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg"; then
      echo "wine-run: could not switch off the crash dialog in $WINEPREFIX" >&2
      exit 1
    fi
    touch "$WINEPREFIX/.ardentia-ready"
  ) 9>"$WINEPREFIX.lock"
}

if [ -z "${DISPLAY:-}" ]; then start_private_xvfb || exit 1; fi
start_watcher
trap 'kill "$watcher" 2>/dev/null; stop_wine_then_xvfb "$XVFB_PID"; [ "$discard" = 1 ] && discard_prefix "$prefix"' EXIT
trap 'exit 143' TERM INT HUP

init_prefix || exit 1
[ "$init_only" = 1 ] && exit 0
[ $# -gt 0 ] || { echo "usage: wine-run.sh [--prefix DIR] [--arch win64|win32] [--timeout S] [--init] program.exe [args...]" >&2; exit 2; }

# Output goes to files, not to our caller's pipes: wineserver and whatever the program starts (xclip
# stays behind to serve the selection) inherit them, and CTest waits until every writer has closed its pipe.
outlog="$(mktemp)"
errlog="$(mktemp)"
# In the background, so that a signal to this script is handled at once rather than after the program ends.
timeout -k 5 "$limit" "$wine" "$@" </dev/null >"$outlog" 2>"$errlog" &
program=$!
trap 'kill "$program" 2>/dev/null; exit 143' TERM INT HUP
wait "$program"
rc=$?
# The launcher can end before the Windows program: when the program starts a Unix command (xclip), Wine may
# hand the launcher's process over to it. Wait for every Wine process of the prefix, so that the whole
# report is in the log before it is read.
if [ "$rc" != 124 ] && [ "$rc" != 137 ]; then timeout "$limit" wineserver -w >/dev/null 2>&1; fi
cat "$outlog"
cat "$errlog" >&2
if [ "$rc" = 124 ] || [ "$rc" = 137 ]; then
  echo "wine-run: $1 did not finish within $limit s" >&2
elif grep -q '^wine: Unhandled' "$errlog"; then
  echo "wine-run: $1 crashed (exit code $rc)" >&2
  [ "$rc" = 0 ] && rc=70
elif grep -q '^Running main() from' "$outlog"; then
  # A test program is judged by its own report: the launcher's exit code may not be the program's.
  if grep -q '^\[  FAILED  \]' "$outlog"; then
    [ "$rc" = 0 ] && rc=1
  elif ! grep -q '^\[  PASSED  \]' "$outlog"; then
    echo "wine-run: $1 ended before its tests finished" >&2
    rc=70
  fi
fi
rm -f "$outlog" "$errlog"
exit "$rc"
