# Sourced by the scripts. setup_and_build_windows ARCH [TARGET] installs what is missing, configures the
# Windows cross build for ARCH (win64 or win32) in $build/ARCH (build defaults to ./build, or
# $ARDENTIA_BUILD) and builds TARGET, or everything.
. "$root/scripts/arch.sh"
build="${ARDENTIA_BUILD:-$root/build}"

setup_and_build_windows() {
  local arch="$1" toolchain
  bash "$root/scripts/setup.sh" || return 1
  case "$arch" in
    win64) toolchain=mingw-x86_64 ;;
    win32) toolchain=mingw-i686 ;;
    *) echo "build: unknown Windows build $arch" >&2; return 2 ;;
  esac
  cmake -S "$root" -B "$build/$arch" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" >/dev/null || return 1
  cmake --build "$build/$arch" -j "$(nproc)" ${2:+--target "$2"}
}

# The portable zip holds both programs, each in a folder named for the Windows it runs on.
pack_portable_zip() {
  local version staging
  version="$(sed -nE 's/^project\(Ardentia VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")"
  staging="$build/portable/Ardentia"
  rm -rf "$build/portable" && mkdir -p "$staging/64-bit" "$staging/32-bit" || return 1
  cp "$build/win64/src/app/Ardentia.exe" "$root/resources/HAND-M.CUR" "$staging/64-bit/" || return 1
  cp "$build/win32/src/app/Ardentia.exe" "$root/resources/HAND-M.CUR" "$staging/32-bit/" || return 1
  cp "$root/installer/README-portable.txt" "$staging/README.txt" || return 1
  (cd "$build/portable" && cmake -E tar cf "$build/Ardentia-$version-portable.zip" --format=zip Ardentia)
}
