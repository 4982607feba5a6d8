#!/usr/bin/env bash
# Builds Salt Fang for the browser with Debian's Emscripten. The result, build-web/, is a folder
# any static web server can serve: index.html, saltfang.js, saltfang.wasm and saltfang.data (the
# pack, the music and the font). The score service serves it too: saltfang-scores --web build-web.
# The browser libraries are built once from Debian's source packages into build-web-deps/; the
# assets come from the same host build the Windows build uses (build-host-win/).
set -euo pipefail
cd "$(dirname "$0")"
root="$PWD"
jobs=2
started=$SECONDS

scripts/setup-web
scripts/deps-folder "$root/build-web-deps" web scripts/web/build-deps scripts/web/env
JOBS=$jobs scripts/web/build-deps "$root/build-web-deps"
prefix="$root/build-web-deps/prefix"

cmake -S . -B build-host-win -DCMAKE_BUILD_TYPE=Release -DSALTFANG_TESTS=OFF -DSALTFANG_BENCH=OFF >/dev/null
cmake --build build-host-win --target game_data -j"$jobs"

. scripts/web/env
# pkg-config answers for the browser prefix only, never for the build machine's libraries.
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH=""
# An empty service address: the page talks to the service that served it.
emcmake cmake -S . -B build-web-cmake -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_FIND_ROOT_PATH="$prefix" \
  -DSALTFANG_HOST_ASSETS_DIR="$root/build-host-win" \
  -DSALTFANG_WEB_DIR="$root/build-web" \
  -DSALTFANG_SCORE_URL="" \
  -DSALTFANG_TESTS=OFF -DSALTFANG_BENCH=OFF >/dev/null
cmake --build build-web-cmake --target saltfang -j"$jobs"

echo "build-web: build-web/ is ready ($((SECONDS - started)) s)" >&2
