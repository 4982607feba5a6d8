#!/usr/bin/env bash
# browser_page.sh SCORES PROBE [SHOTS_DIR]: the world page in headless Chromium. A result named
# <script>alert(1)</script> must show as text (never as an element), and screenshots of the page at
# phone and desktop widths go to SHOTS_DIR (default: a temporary folder).
set -euo pipefail
scores="$1"
probe="$2"
shots="${3:-}"
chromium_bin="$(command -v chromium || command -v chromium-browser || true)"
[[ -n "$chromium_bin" ]] || { echo "browser_page: chromium is not installed" >&2; exit 1; }
dir="$(mktemp -d /tmp/saltfang-browser.XXXXXX)"
pid=""
cleanup() {
  [[ -n "$pid" ]] && kill -TERM "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
fail() { echo "browser_page: $*" >&2; [[ -f "$dir/scores.log" ]] && tail -n 20 "$dir/scores.log" >&2; exit 1; }
port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
(cd "$dir" && exec "$scores" --listen "127.0.0.1:$port" --rate-submit 0 --rate-version 0 >"$dir/scores.log" 2>&1) &
pid=$!
url="http://127.0.0.1:$port"
curl -sf --retry 30 --retry-connrefused --retry-delay 1 "$url/healthz" >/dev/null || fail "the service did not come up"
"$probe" "$url" '<script>alert(1)</script>' 98765 'Mallory' >/dev/null || fail "could not submit"
for entry in "Rosa:54321:Tester" "Bob:1200:Anonymous" "J$(printf '\xf6')rg:777:Kiel" "Ann:50:"; do
  IFS=: read -r name score player <<<"$entry"
  "$probe" "$url" "$name" "$score" "$player" >/dev/null || fail "could not submit $name"
done
page="$url/cgi/version.pl?prg=Saltfang&show&type=0&view=unverified"
browse() {
  HOME="$dir" timeout 60 "$chromium_bin" --headless --no-sandbox --disable-gpu --disable-dev-shm-usage \
    --no-first-run --user-data-dir="$dir/profile" "$@" 2>>"$dir/chromium.log"
}
browse --dump-dom "$page" >"$dir/dom.html" || fail "chromium could not load the page"
grep -q '<td>&lt;script&gt;alert(1)&lt;/script&gt;</td>' "$dir/dom.html" || fail "the name is not shown as text"
# The only markup between <body> and </body> is the page's own: no script element came in.
if grep -qi '<script' "$dir/dom.html"; then fail "a script element reached the page"; fi
grep -q '<td>J&ouml;rg</td>\|<td>Jörg</td>' "$dir/dom.html" || fail "the accented name is not shown"
grep -q 'Rosa' "$dir/dom.html" || fail "a result is missing"
out="${shots:-$dir}"
mkdir -p "$out"
browse --hide-scrollbars --window-size=412,915 --screenshot="$out/world-page-phone.png" "$page" >/dev/null \
  || fail "no phone screenshot"
browse --hide-scrollbars --window-size=1280,800 --screenshot="$out/world-page-desktop.png" "$page" >/dev/null \
  || fail "no desktop screenshot"
for f in world-page-phone.png world-page-desktop.png; do
  [[ "$(head -c 8 "$out/$f" | od -An -tx1 | tr -d ' \n')" == "89504e470d0a1a0a" ]] || fail "$f is not a PNG"
done
echo "browser_page: passed; screenshots in $out"
