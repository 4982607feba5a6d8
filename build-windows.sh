#!/usr/bin/env bash
# Builds Salt Fang for 64-bit Windows with the mingw-w64 toolchain. The result, build-windows/game/,
# is a folder a player can zip and run: saltfang.exe, its DLLs, the font, Data/ and sound/;
# build-windows/installed/saltfang.exe is the build the installer puts in its place
# (scripts/windows/package makes the installer and the zip).
# The Windows libraries are built once from Debian's source packages into build-windows-deps/;
# the assets come from a host build in build-host-win/ (the generator runs on this machine).
set -euo pipefail
cd "$(dirname "$0")"
root="$PWD"
jobs=2
started=$SECONDS

scripts/setup-windows
scripts/deps-folder "$root/build-windows-deps" windows scripts/windows/build-deps cmake/mingw-w64-x86_64.cmake
JOBS=$jobs scripts/windows/build-deps "$root/build-windows-deps"

cmake -S . -B build-host-win -DCMAKE_BUILD_TYPE=Release -DSALTFANG_TESTS=OFF -DSALTFANG_BENCH=OFF >/dev/null
cmake --build build-host-win --target game_data -j"$jobs"

cmake -S . -B build-windows -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DSALTFANG_WINDOWS_PREFIX="$root/build-windows-deps/prefix" \
  -DSALTFANG_HOST_ASSETS_DIR="$root/build-host-win" \
  -DSALTFANG_TESTS=OFF -DSALTFANG_BENCH=OFF >/dev/null
cmake --build build-windows --target saltfang saltfang_installed saltfang_replay saltfang_dlls -j"$jobs"

echo "build-windows: build-windows/game/ is ready ($((SECONDS - started)) s)" >&2
