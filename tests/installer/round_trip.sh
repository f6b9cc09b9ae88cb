#!/usr/bin/env bash
# Installs Ardentia silently into a fresh Wine prefix, checks what the installer left, runs the
# installed program through the end-to-end test, then uninstalls silently and checks what is gone
# and what stays (the user's saved results and settings).
# Usage: round_trip.sh SETUP.exe APP_START_TEST.exe PREFIX
set -uo pipefail
setup="$1" e2e="$2" prefix="$3"
here="$(cd "$(dirname "$0")" && pwd)"
runner="$here/../../scripts/wine-run.sh"
. "$here/../../scripts/arch.sh"
wine="$(wine_loader "${ARDENTIA_WINE_ARCH:-win64}")"
fail=0
check() {  # check DESCRIPTION COMMAND...
  local what="$1"; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}
run() { ARDENTIA_WINE_TIMEOUT=60 bash "$runner" --prefix "$prefix" "$@"; }
# KEY [VALUE [/reg:32|/reg:64]]. A query that fails is asked again: under load a Wine start can fail on its own.
reg_has() {
  local try
  for try in 1 2 3; do run reg query "$1" ${2:+/v "$2"} "${@:3}" >/dev/null 2>&1 && return 0; done
  return 1
}
reg_gone() { ! reg_has "$@"; }

trap 'discard_prefix "$prefix"' EXIT
rm -rf "$prefix" "$prefix.lock"
bash "$runner" --prefix "$prefix" --init || { echo "FAILED: the prefix could not be made"; exit 1; }
user="$prefix/drive_c/users/$(id -un)"
app="$user/AppData/Local/Programs/Ardentia"
menu="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Ardentia/Ardentia.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ardentia'

run "$setup" /S
check "the program and its cursor are installed" test -f "$app/Ardentia.exe" -a -f "$app/HAND-M.CUR"
check "the uninstaller is installed" test -f "$app/Uninstall.exe"
check "the Start menu shortcut exists" test -f "$menu"
check "the uninstall entry exists" reg_has "$uninstall_key" DisplayName

ARDENTIA_EXE_PATH='C:\users\'"$(id -un)"'\AppData\Local\Programs\Ardentia\Ardentia.exe' run "$e2e"
check "the installed program captures a copy" test $? -eq 0

# What the user keeps: a saved result and a setting; and a start-up value the program wrote.
mkdir -p "$user/Documents/Ardentia results" && echo saved > "$user/Documents/Ardentia results/TXT0.txt"
run reg add 'HKCU\Software\Kestrovan\Ardentia' /v "Output Folder" /t REG_SZ /d 'C:\results\' /f >/dev/null
check "a setting is stored" reg_has 'HKCU\Software\Kestrovan\Ardentia' "Output Folder"
run_key='Software\Microsoft\Windows\CurrentVersion\Run'
run reg add "HKCU\\$run_key" /v Ardentia.exe /t REG_SZ /d x /f >/dev/null
# The machine-wide value, in both registry views: the 32-bit build (or an earlier install of it) writes the 32-bit one.
for view in 32 64; do run reg add "HKLM\\$run_key" /v Ardentia.exe /t REG_SZ /d x /f "/reg:$view" >/dev/null; done

# The uninstaller copies itself away and returns at once, so it runs outside the runner (which would
# stop Wine as soon as the first copy returned); its work is waited for here.
WINEPREFIX="$prefix" WINEDEBUG=-all timeout 60 "$wine" "$app/Uninstall.exe" /S
for _ in $(seq 1 60); do [ -e "$app/Ardentia.exe" ] || [ -e "$app/Uninstall.exe" ] || break; sleep 0.5; done
WINEPREFIX="$prefix" timeout 30 wineserver -w
check "the program's files are gone" test ! -e "$app/Ardentia.exe" -a ! -e "$app/HAND-M.CUR" -a ! -e "$app/Uninstall.exe"
check "the shortcut is gone" test ! -e "$menu"
check "the uninstall entry is gone" reg_gone "$uninstall_key"
check "the start-up value is gone" reg_gone "HKCU\\$run_key" Ardentia.exe
for view in 32 64; do
  check "the machine-wide start-up value is gone ($view-bit view)" reg_gone "HKLM\\$run_key" Ardentia.exe "/reg:$view"
done
check "the saved results stay" test -f "$user/Documents/Ardentia results/TXT0.txt"
check "the settings stay" reg_has 'HKCU\Software\Kestrovan\Ardentia' "Output Folder"

# Asked to, the uninstaller takes the settings too.
run "$setup" /S
WINEPREFIX="$prefix" WINEDEBUG=-all timeout 60 "$wine" "$app/Uninstall.exe" /S /REMOVESETTINGS
for _ in $(seq 1 60); do [ -e "$app/Uninstall.exe" ] || break; sleep 0.5; done
WINEPREFIX="$prefix" timeout 30 wineserver -w
check "asked to, the settings go too" reg_gone 'HKCU\Software\Kestrovan\Ardentia'
exit $fail
