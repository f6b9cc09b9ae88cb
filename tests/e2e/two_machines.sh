#!/usr/bin/env bash
# Two machines sharing one history folder, as a file-sync service would keep it alike: two instances of
# the program, each in its own Wine prefix on its own X display, with one "History Folder". What one copies
# the other puts back byte for byte; a delete and a pin travel; copies made on both at once are all kept;
# conflict copies and files still arriving are neither shown twice nor broken; neither polls; a machine
# that was off catches up when it starts; nothing copied lies in the folder in the clear.
# Usage: two_machines.sh ARDENTIA.exe PREFIX_BASE HISTORY_CHECK.exe
set -uo pipefail
exe="$1" base="$2" history_check="$3"
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
  until "$@"; do [ $SECONDS -ge $deadline ] && return 1; sleep 0.5; done
}
declare -A display xvfb
on() { local m="$1"; shift; DISPLAY="${display[$m]}" WINEPREFIX="$base-$m" WINEDEBUG=-all "$@"; }
stop_all() {
  for m in a b; do discard_prefix "$base-$m"; kill "${xvfb[$m]:-}" 2>/dev/null; done
  discard_prefix "$base-reader"
  rm -rf "$shared" "$shared".*
}
shared="/tmp/ardentia-shared-$$"
trap stop_all EXIT
trap 'exit 1' INT TERM  # ended by a timeout: the EXIT trap still stops Wine and the displays
rm -rf "$shared" && mkdir -p "$shared"
for m in a b; do
  rm -rf "$base-$m" "$base-$m.lock"
  bash "$runner" --prefix "$base-$m" --init || { echo "FAILED: prefix $m could not be made"; exit 1; }
  start_private_xvfb || exit 1
  display[$m]="$DISPLAY" xvfb[$m]="$XVFB_PID"
  key='HKCU\Software\Kestrovan\Ardentia'
  on "$m" timeout 60 "$wine" reg add "$key" /v ClipboardSwitch /t REG_SZ /d On /f >/dev/null
  on "$m" timeout 60 "$wine" reg add "$key" /v "History Folder" /t REG_SZ /d "Z:${shared//\//\\}" /f >/dev/null
done
app_window() { on "$1" xdotool search --name '^Ardentia$' 2>/dev/null | head -1; }
window_of() { [ -n "$(app_window "$1")" ]; }
# A seals the folder with a new key and sets its passphrase ("Ardentia.exe /passphrase" opens the window
# that asks for it, typed twice); B, started next, asks for it once and opens the folder with it.
boxes_on() { on "$1" xdotool search --onlyvisible --name '^Ardentia$' 2>/dev/null | wc -l; }
box_open_on() { [ "$(boxes_on "$1")" -ge 2 ]; }
box_closed_on() { [ "$(boxes_on "$1")" -lt 2 ]; }
passphrase='shared by A and B'
on a timeout 300 "$wine" "$exe" >/dev/null 2>&1 &
check "machine a starts" wait_for 60 window_of a || exit 1
on a timeout 60 "$wine" "$exe" /passphrase >/dev/null 2>&1
check "A asks for the passphrase to set" wait_for 30 box_open_on a || exit 1
on a xdotool type --delay 30 "$passphrase"
on a xdotool key Tab type --delay 30 "$passphrase"
on a xdotool key Return
check "A sets it" wait_for 60 box_closed_on a || exit 1
on b timeout 300 "$wine" "$exe" >/dev/null 2>&1 &
check "machine b starts" wait_for 60 window_of b || exit 1
check "B asks for the folder's passphrase" wait_for 30 box_open_on b || exit 1
on b xdotool type --delay 30 "$passphrase"
on b xdotool key Return
check "B opens the folder with it" wait_for 60 box_closed_on b || exit 1
# The tests' own reader of the folder runs in a prefix of its own, apart from both programs.
reader="$base-reader"
rm -rf "$reader" "$reader.lock"
bash "$runner" --prefix "$reader" --init || { echo "FAILED: the reader's prefix could not be made"; exit 1; }
reader_opens() { WINEPREFIX="$reader" WINEDEBUG=-all DISPLAY= timeout 120 "$wine" "$history_check" \
                   "Z:${shared//\//\\}" open "$passphrase" >/dev/null 2>&1; }
check "the passphrase opens the folder in a third prefix" reader_opens

copy_on() { on "$1" sh -c 'printf "%s" "$0" | timeout 10 xclip -selection clipboard' "$2"; }
clipboard_of() { on "$1" timeout 10 xclip -o -selection clipboard -t "${2:-UTF8_STRING}" 2>/dev/null; }
# Puts back, on machine m, the newest clip its search finds for the words, and reads the clipboard there.
put_back_on() {  # put_back_on MACHINE WORDS
  local w; w="$(app_window "$1")"
  on "$1" xdotool windowfocus --sync "$w" key ctrl+f type --delay 30 "$2"
  on "$1" xdotool key Return key Escape
}
# The file of the newest clip whose label holds the words, read with the folder's key.
file_of() {
  local name
  name="$(WINEPREFIX="$reader" WINEDEBUG=-all DISPLAY= timeout 60 "$wine" "$history_check" "Z:${shared//\//\\}" \
           find "$1" 2>/dev/null | tr -d '\r')"
  [ -n "$name" ] && echo "$shared/$name"
}
# True once machine m puts back a clip found by the words whose text is exactly `want`.
finds() {  # finds MACHINE WORDS WANT
  put_back_on "$1" "$2"
  sleep 0.5
  [ "$(clipboard_of "$1")" = "$3" ]
}

# What arrives from the other machine is listed without taking this one's clipboard or focus.
copy_on b 'B holds this'
check "B keeps its own copy" wait_for 40 finds b "holds this" 'B holds this'
focus_b="$(on b xdotool getwindowfocus 2>/dev/null)"
text_a='From machine A: Grüße, 日本, and a tab	here'
copy_on a "$text_a"
arrived_from_a() { [ -n "$(file_of 'From machine A')" ]; }
wait_for 40 arrived_from_a && sleep 3  # B lists a new file within a second or two
untouched_b() { [ "$(clipboard_of b)" = 'B holds this' ] && [ "$(on b xdotool getwindowfocus 2>/dev/null)" = "$focus_b" ]; }
check "a clip from A takes neither B's clipboard nor its focus" untouched_b
check "a copy on A is put back on B with every character" wait_for 40 finds b "machine A" "$text_a"
in_the_clear() { grep -r -l -a -F -e 'From machine A' -e 'B holds this' "$shared" >/dev/null 2>&1 ||
                 grep -r -l -a -P 'F\x00r\x00o\x00m\x00 \x00m\x00a\x00c\x00h' "$shared" >/dev/null 2>&1; }
check "nothing copied lies in the shared folder in the clear" eval '! in_the_clear'

convert -size 37x23 xc:'#2a6e9c' -fill '#f0c020' -draw 'rectangle 5,5 20,15' "$shared.png" 2>/dev/null
on a sh -c 'timeout 10 xclip -selection clipboard -t image/png -i "$0"' "$shared.png"
picture_back() { finds b picture "" >/dev/null; clipboard_of b image/png > "$shared.back.png"; cmp -s "$shared.png" "$shared.back.png"; }
check "a PNG copied on A is put back on B byte for byte" wait_for 40 picture_back

rtf='{\rtf1\ansi Rich on A: \b bold\b0 and plain\par}'
on a sh -c 'printf "%s" "$0" | timeout 10 xclip -selection clipboard -t text/rtf' "$rtf"
rtf_back() { finds b "Rich on A" "Rich on A: boldand plain" && [ "$(clipboard_of b text/rtf)" = "$rtf" ]; }
check "rich text copied on A is put back on B byte for byte" wait_for 40 rtf_back
rtf_back || echo "  on B: text '$(clipboard_of b)', rich text '$(clipboard_of b text/rtf)'"

# Files copied in a file manager on A paste as the same files on B.
echo listed > "$shared.listed.txt"
uri="file://$shared.listed.txt"
on a sh -c 'printf "%s\r\n" "$0" | timeout 10 xclip -selection clipboard -t text/uri-list' "$uri"
# Wine writes every character of a URI percent-encoded: the same file, decoded.
decoded() { python3 -c 'import sys, urllib.parse; print(urllib.parse.unquote(sys.stdin.read().strip()))'; }
files_back() { put_back_on b "listed.txt"; sleep 0.5; [ "$(clipboard_of b text/uri-list | decoded)" = "$uri" ]; }
check "a file list copied on A is put back on B as the same files" wait_for 40 files_back
files_back || echo "  on B: '$(clipboard_of b text/uri-list)' / '$(clipboard_of b)'"

# Both copy at the same moment: each keeps the other's clip and its own.
copy_on a 'at once on A' & first=$!
copy_on b 'at once on B' & second=$!
wait "$first" "$second"  # not the programs, which run on
for m in a b; do
  check "$m keeps the copy made on A at the same time" wait_for 40 finds "$m" "once on A" 'at once on A'
  check "$m keeps the copy made on B at the same time" wait_for 40 finds "$m" "once on B" 'at once on B'
done

# Deleted on A (Delete in its search box, the question answered Yes): gone on B. B's clipboard is set to
# another clip first, so a search that finds nothing leaves that one there.
delete_on() {  # delete_on MACHINE WORDS
  local w; w="$(app_window "$1")"
  on "$1" xdotool windowfocus --sync "$w" key ctrl+f type --delay 30 "$2"
  on "$1" xdotool key Delete
  sleep 1
  on "$1" xdotool key Return key Escape
}
gone_from() { finds "$1" "once on B" 'at once on B' && ! finds "$1" "$2" "$3"; }
delete_on a "machine A"
check "a clip deleted on A is gone on A" wait_for 20 gone_from a "machine A" "$text_a"
check "and gone on B" wait_for 40 gone_from b "machine A" "$text_a"

# Pinned on A (Ctrl+P in its search): pinned on B. B's Delete then only says the clip is pinned, a note with
# an OK button alone, which an "n" (No, had it asked whether to delete) leaves open. Nothing is deleted.
refuses_delete_on() {  # refuses_delete_on MACHINE WORDS
  local w; w="$(app_window "$1")"
  on "$1" xdotool windowfocus --sync "$w" key ctrl+f type --delay 30 "$2"
  on "$1" xdotool key Delete
  wait_for 20 box_open_on "$1" || return 1
  on "$1" xdotool key n
  if wait_for 10 box_closed_on "$1"; then on "$1" xdotool key Escape; return 1; fi
  on "$1" xdotool key Escape
  wait_for 20 box_closed_on "$1"
  on "$1" xdotool key Escape
}
w="$(app_window a)"
on a xdotool windowfocus --sync "$w" key ctrl+f type --delay 30 "once on A"
on a xdotool key ctrl+p key Escape
check "a clip pinned on A is pinned on B" wait_for 60 refuses_delete_on b "once on A"

# A sync service's conflict copy of a clip's file is no second clip: deleted on B, the clip is gone from
# both, with no copy left to bring it back.
copy_on b 'with a conflict copy'
arrived() { [ -n "$(file_of 'with a conflict copy')" ]; }
check "B writes its clip to the folder" wait_for 40 arrived
original="$(file_of 'with a conflict copy')"
cp "$original" "${original%.clip} (conflicted copy).clip"
check "A finds the clip" wait_for 40 finds a "conflict copy" 'with a conflict copy'
delete_on b "conflict copy"
check "deleted on B, the clip with a conflict copy is gone on B" wait_for 20 gone_from b "conflict copy" 'with a conflict copy'
check "and on A" wait_for 40 gone_from a "conflict copy" 'with a conflict copy'
no_copies_left() { ! ls "$shared" | grep -q "$(basename "${original%.clip}")"; }
check "and no copy of its file is left" wait_for 20 no_copies_left

# A file still arriving under its own name (some services write in place): shown nowhere while it is cut
# short, shown everywhere once whole. Taken out first, its clip leaves both machines.
arriving="$(file_of 'at once on B')"
mv "$arriving" "$shared.whole"
# The pinned 'at once on A' is put back first, so a search that finds nothing leaves that one there.
gone_on() { finds "$1" "once on A" 'at once on A' && ! finds "$1" "once on B" 'at once on B'; }
gone_everywhere() { gone_on a && gone_on b; }
check "a clip whose file went is gone from both" wait_for 40 gone_everywhere
head -c "$(( $(stat -c %s "$shared.whole") - 7 ))" "$shared.whole" > "$arriving"
sleep 3  # long enough for both watchers to list the folder with the cut file in it
check "a file cut short is shown on neither machine" gone_everywhere
cp "$shared.whole" "$arriving"
check "whole, it is shown on A" wait_for 40 finds a "once on B" 'at once on B'
check "and on B" wait_for 40 finds b "once on B" 'at once on B'

# Neither polls the folder: each instance, idle, takes little CPU time (one alone took 20-50 ms in 10 s).
# Wine names a program's Linux process after its file.
cpu_ticks() {  # cpu_ticks MACHINE: user and system ticks of its program, nothing when it is not running
  local t=0 n=0 p
  for p in $(pgrep -x Ardentia.exe); do
    if tr '\0' '\n' < "/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$base-$1"; then
      t=$((t + $(awk '{ print $14 + $15 }' "/proc/$p/stat"))) n=$((n + 1))
    fi
  done
  [ "$n" -gt 0 ] && echo "$t"
}
idle_ms() { local now; now="$(cpu_ticks "$1")"; [ -n "$now" ] && [ -n "$2" ] && echo $(( (now - $2) * 1000 / $(getconf CLK_TCK) )); }
sleep 2
before_a="$(cpu_ticks a)" before_b="$(cpu_ticks b)"
sleep 10
idle_a="$(idle_ms a "$before_a")" idle_b="$(idle_ms b "$before_b")"
echo "CPU time in 10 s idle: A ${idle_a:-not found} ms, B ${idle_b:-not found} ms"
both_idle() { [ -n "$idle_a" ] && [ -n "$idle_b" ] && [ "$idle_a" -lt 300 ] && [ "$idle_b" -lt 300 ]; }
check "neither instance polls: under 300 ms of CPU in 10 s idle" both_idle

# A machine that was off catches up when it starts again: what the other copied meanwhile is there, and
# what the other deleted meanwhile is not.
on b timeout 15 wineserver -k
copy_on a 'copied while B was off'
delete_on a "once on B"
check "deleted on A while B is off" wait_for 20 gone_on a
on b timeout 300 "$wine" "$exe" >/dev/null 2>&1 &
check "B starts again" wait_for 60 window_of b
check "B has what A copied while it was off" wait_for 40 finds b "B was off" 'copied while B was off'
check "and not what A deleted meanwhile" wait_for 40 gone_on b
rm -f "$shared.png" "$shared.back.png" "$shared.whole" "$shared.listed.txt"
exit $fail
