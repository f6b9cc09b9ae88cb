# Sourced by the scripts: which Windows builds this machine can run, and how Wine is started for each.
# Some machines of this kind refuse every 32-bit program ("Exec format error"), whatever is installed.

# True when this machine executes 32-bit x86 code. It is found by trying: a 96-byte static 32-bit
# program that needs no library exits with 42. ARDENTIA_64BIT_ONLY=1 forces the answer no.
can_run_32bit() {
  [ "${ARDENTIA_64BIT_ONLY:-0}" = 1 ] && return 1
  local probe rc
  probe="$(mktemp)"
  # ELF header, one loadable segment, then: mov eax,1; mov ebx,42; int 0x80 (exit 42).
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'`
        `'\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'`
        `'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00'`
        `'\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  rc=$?
  rm -f "$probe"
  [ "$rc" = 42 ]
}

# The Windows builds to make and test here, 64-bit first.
windows_arches() {
  if can_run_32bit; then echo "win64 win32"; else echo "win64"; fi
}

# Wine's loader for a prefix of ARCH. Debian's `wine` takes the 32-bit loader whenever it is installed,
# runnable or not, so a 64-bit prefix is always started through the 64-bit loader itself.
wine_loader() {
  if [ "$1" = win64 ]; then echo /usr/lib/wine/wine64; else echo /usr/lib/wine/wine; fi
}

# Ends every Wine process of the prefix DIR and deletes it. A prefix takes over a gigabyte, and a full disk
# fails every later test: a test that makes a prefix of its own removes it when it ends.
discard_prefix() {
  WINEPREFIX="$1" timeout 15 wineserver -k >/dev/null 2>&1
  WINEPREFIX="$1" timeout 15 wineserver -w >/dev/null 2>&1
  rm -rf "$1" "$1.lock"
}
