#!/usr/bin/env bash
# The program killed outright (wineserver -k, as a crash or a power cut would end it) during a burst of
# copies: every file under a final name is a whole clip, and the program starts again with them, and
# runs. Usage: killed_during_burst.sh ARDENTIA.exe HISTORY_CHECK.exe PREFIX
set -uo pipefail
exe="$1" checker="$2" prefix="$3"
here="$(cd "$(dirname "$0")" && pwd)"
runner="$here/../../scripts/wine-run.sh"
. "$here/../../scripts/arch.sh"
. "$here/../../scripts/xvfb.sh"
wine="$(wine_loader "${ARDENTIA_WINE_ARCH:-win64}")"
fail=0
check() {  # check DESCRIPTION COMMAND...
  local what="$1"; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}
wait_for() {  # wait_for SECONDS COMMAND...: polls until the command succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do [ $SECONDS -ge $deadline ] && return 1; sleep 0.2; done
}
app_window() { xdotool search --name '^Ardentia$' >/dev/null 2>&1; }
folder_says() { WINEPREFIX="$prefix" WINEDEBUG=-all timeout 60 "$wine" "$checker" 'C:\history' 2>/dev/null | tr -d '\r'; }

rm -rf "$prefix" "$prefix.lock"
bash "$runner" --prefix "$prefix" --init || { echo "FAILED: the prefix could not be made"; exit 1; }
start_private_xvfb || exit 1
trap 'discard_prefix "$prefix"; kill "$XVFB_PID" 2>/dev/null' EXIT
trap 'exit 1' INT TERM  # ended by a timeout: the EXIT trap still stops Wine and the displays
export WINEPREFIX="$prefix" WINEDEBUG=-all
key='HKCU\Software\Kestrovan\Ardentia'
timeout 60 "$wine" reg add "$key" /v ClipboardSwitch /t REG_SZ /d On /f >/dev/null
timeout 60 "$wine" reg add "$key" /v "History Folder" /t REG_SZ /d 'C:\history' /f >/dev/null
history="$prefix/drive_c/history"

timeout 120 "$wine" "$exe" >/dev/null 2>&1 &
check "the program starts" wait_for 60 app_window
five_on_disk() { [ "$(ls "$history" 2>/dev/null | grep -c '\.clip$')" -ge 5 ]; }
for i in $(seq 1 12); do printf 'before the burst %s' "$i" | timeout 10 xclip -selection clipboard; sleep 0.3; done
check "the first copies reach the disk" wait_for 30 five_on_disk
# The burst: ten copies a second, each captured and written while the next comes, and the kill among them.
for i in $(seq 1 20); do
  printf 'burst copy %s %s' "$i" "$(head -c 3000 /dev/zero | tr '\0' x)" | timeout 10 xclip -selection clipboard
  sleep 0.1
done
timeout 15 wineserver -k
before="$(folder_says)"
echo "after the kill: $before"
check "every file under a final name is a whole clip" grep -q ' damaged 0 ' <<<"$before"
clips="$(awk '{print $2}' <<<"$before")"
check "the clips written before the kill are there" test "${clips:-0}" -ge 5

timeout 120 "$wine" "$exe" >/dev/null 2>&1 &
pid=$!
check "it starts again" wait_for 60 app_window
sleep 2
check "and keeps running" kill -0 "$pid"
timeout 15 wineserver -k
after="$(folder_says)"
echo "after the restart: $after"
check "the restart kept every whole clip and found none damaged" test "$(awk '{print $2, $4}' <<<"$after")" = "$clips 0"
exit $fail
