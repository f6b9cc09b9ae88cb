# Sourced by the scripts: setup_and_build_win32 [TARGET] installs what is missing, configures the Windows
# cross build in $build/win32 (build defaults to ./build, or $ARDENTIA_BUILD) and builds TARGET, or everything.
setup_and_build_win32() {
  bash "$root/scripts/setup.sh" || return 1
  build="${ARDENTIA_BUILD:-$root/build}"
  cmake -S "$root" -B "$build/win32" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null || return 1
  cmake --build "$build/win32" -j "$(nproc)" ${1:+--target "$1"}
}
