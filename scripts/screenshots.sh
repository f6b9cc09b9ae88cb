#!/usr/bin/env bash
# Makes the README's pictures in docs/: the main window and the history popup at 100% and 150% scale, in
# the light and the dark app theme, and the settings window, as a user's Wine shows them. Each scale gets a
# prefix of its own (deleted after); the clips are copied from the X side, as a user copies them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/build.sh"
. "$root/scripts/xvfb.sh"
setup_and_build_windows win64 Ardentia
exe="$build/win64/src/app/Ardentia.exe"
out="$root/docs"
work="$(mktemp -d)"
XVFB_PID=""
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && stop_wine_then_xvfb "$XVFB_PID"
  rm -rf "$work"
}
trap cleanup EXIT
start_private_xvfb

wait_for_window() {  # the id of the first window named $1, waiting up to 60 s
  local id=""
  for _ in $(seq 240); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)" && [ -n "$id" ] && break
    sleep 0.25
  done
  [ -n "$id" ] || { echo "screenshots: no window \"$1\"" >&2; return 1; }
  echo "$id"
}

copy() {  # a text copied on the X side, then time for the program to take it
  printf '%s' "$1" | xclip -selection clipboard -i
  sleep 1.5
}

shoot() {  # dpi theme(light|dark)
  local dpi="$1" theme="$2" suffix main popup
  suffix="$([ "$dpi" = 96 ] && echo 100 || echo 150)-$theme"
  reg_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
  timeout 60 wine reg add "$reg_key" /v AppsUseLightTheme /t REG_DWORD /d "$([ "$theme" = dark ] && echo 0 || echo 1)" /f >/dev/null 2>&1
  timeout 60 wine reg add 'HKCU\Software\Kestrovan\Ardentia' /v ClipboardSwitch /d On /f >/dev/null 2>&1
  rm -rf "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Ardentia"
  timeout 300 wine "$exe" >/dev/null 2>&1 &
  main="$(wait_for_window '^Ardentia$')"
  sleep 3
  copy "Meeting notes: review the release plan on Thursday"
  copy "https://example.org/docs/getting-started"
  copy "SELECT name, total FROM orders WHERE total > 100 ORDER BY total DESC;"
  convert -size 320x200 gradient:'#3a7bd5-#00d2ff' "$work/picture.png"
  xclip -selection clipboard -t image/png -i "$work/picture.png"
  sleep 2.5
  copy "東京の会議室 — 予約は金曜日まで"
  copy "Dear Sam, thank you for the quick reply. The figures are attached; I will call on Monday."
  xdotool mousemove 1270 1010  # away from the window: no tooltip shows in the picture
  sleep 1
  import -window "$main" "$out/main-$suffix.png"
  xdotool mousemove 300 200
  timeout 30 wine "$exe" /popup >/dev/null 2>&1 &
  popup="$(wait_for_window '^Ardentia history$')"
  sleep 1.5
  import -window "$popup" "$out/popup-$suffix.png"
  xdotool key Escape
  if [ "$dpi" = 96 ] && [ "$theme" = light ]; then
    timeout 30 wine "$exe" /settings >/dev/null 2>&1 &
    settings="$(wait_for_window '^Ardentia Settings$')"
    sleep 2
    import -window "$settings" "$out/settings.png"
  fi
  timeout 15 wineserver -k >/dev/null 2>&1 || true
}

for dpi in 96 144; do
  export WINEPREFIX="$work/prefix-$dpi"
  bash "$root/scripts/wine-run.sh" --prefix "$WINEPREFIX" --arch win64 --dpi "$dpi" --init
  for theme in light dark; do shoot "$dpi" "$theme"; done
  rm -rf "$WINEPREFIX"
done
echo "screenshots: written to $out"
