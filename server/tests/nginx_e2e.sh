#!/usr/bin/env bash
# nginx_e2e.sh SCORES PROBE: two service instances on one PostgreSQL (started by with-postgres)
# behind the shipped nginx site on loopback. The game's own online code sends a result through
# nginx; the version query must be answered by one instance and the submission by the other; the
# result must then be on the world page and in the JSON API, also over TLS. One client's version
# queries are limited at the same count whichever instance answers them; a listing's ETag holds
# through nginx. nginx's log holds no query string; a client's flood of requests is cut by
# nginx's own limit; an upload with a wrong token is refused without its body being kept; slow
# readers of a large file leave no temp file. Finally both instances stop on SIGTERM.
set -euo pipefail
scores="$1"
probe="$2"
[[ -n "${SALTFANG_TEST_PG:-}" ]] || { echo "nginx_e2e: run through with-postgres" >&2; exit 1; }
command -v nginx >/dev/null || [[ -x /usr/sbin/nginx ]] || { echo "nginx_e2e: nginx is not installed" >&2; exit 1; }
nginx_bin="$(command -v nginx || echo /usr/sbin/nginx)"
dir="$(mktemp -d /tmp/saltfang-e2e.XXXXXX)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -TERM "$p" 2>/dev/null || true; done
  [[ -f "$dir/nginx.pid" ]] && kill -QUIT "$(cat "$dir/nginx.pid")" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
fail() {
  echo "nginx_e2e: $*" >&2
  for f in a.log b.log error.log; do [[ -f "$dir/$f" ]] && { echo "--- $f" >&2; tail -n 20 "$dir/$f" >&2; }; done
  exit 1
}
free_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
pa="$(free_port)"; pb="$(free_port)"; pn="$(free_port)"; ps="$(free_port)"

# A large file the instances serve (the browser build's data is about 7 MB), for the slow readers.
mkdir -p "$dir/web"
head -c 8000000 /dev/urandom >"$dir/web/big.data"
# One version query a minute after a burst of 20: the burst is what the test counts.
for name in a b; do
  port="$pa"; [[ "$name" == b ]] && port="$pb"
  "$scores" --listen "127.0.0.1:$port" --db "$SALTFANG_TEST_PG" --trusted-proxy 127.0.0.1 --rate-version 1 \
    --web "$dir/web" >"$dir/$name.log" 2>&1 &
  pids+=($!)
done
for port in "$pa" "$pb"; do
  curl -sf --retry 30 --retry-connrefused --retry-delay 1 "http://127.0.0.1:$port/healthz" >/dev/null \
    || fail "instance on $port did not come up"
done

# A certificate for the TLS side, made for this run.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$dir/key.pem" -out "$dir/cert.pem" -days 1 \
  -subj "/CN=127.0.0.1" -addext "subjectAltName=IP:127.0.0.1" >/dev/null 2>&1 || fail "openssl could not make a certificate"
mkdir -p "$dir/tmp" "$dir/cache"
# nginx's workers run as nobody when it is started by root: they write the cache.
[[ "$(id -u)" == 0 ]] && { chmod 755 "$dir"; chown nobody "$dir/cache" "$dir/tmp"; }
sed -e "s#^  listen 80;#  listen 127.0.0.1:$pn;#" -e "s#^  listen 443 ssl http2;#  listen 127.0.0.1:$ps ssl;#" \
  -e '/listen \[::\]/d' -e "s#127.0.0.1:8765#127.0.0.1:$pa#" -e "s#127.0.0.1:8766#127.0.0.1:$pb#" \
  -e "s#/etc/letsencrypt/live/scores.example.com/fullchain.pem#$dir/cert.pem#" \
  -e "s#/etc/letsencrypt/live/scores.example.com/privkey.pem#$dir/key.pem#" \
  -e "s#/var/lib/nginx/saltfang-scores#$dir/cache#" -e "s#/var/log/nginx/#$dir/#" \
  "$(dirname "$0")/../deploy/nginx-saltfang-scores.conf" >"$dir/site.conf"
grep -q "127.0.0.1:$pa" "$dir/site.conf" && grep -q "listen 127.0.0.1:$ps ssl" "$dir/site.conf" \
  || fail "the shipped site no longer has the lines this test moves to loopback"
sed -e "s#@DIR@#$dir#g" "$(dirname "$0")/nginx-test.conf.in" >"$dir/nginx.conf"
"$nginx_bin" -p "$dir" -c "$dir/nginx.conf" -e "$dir/error.log" || fail "nginx did not start"
curl -sf --retry 30 --retry-connrefused --retry-delay 1 "http://127.0.0.1:$pn/healthz" >/dev/null || fail "nginx does not answer"
# Only the exchange from here on counts in the logs.
la="$(wc -l <"$dir/a.log")"; lb="$(wc -l <"$dir/b.log")"

"$probe" "http://127.0.0.1:$pn" "Rosa" 4321 "Tester" || fail "the game's exchange through nginx failed"
tail -n +"$((la + 1))" "$dir/a.log" >"$dir/a.new"
tail -n +"$((lb + 1))" "$dir/b.log" >"$dir/b.new"
versionA="$(grep -c 'GET /cgi/version.pl?version&prg=Saltfang 200' "$dir/a.new" || true)"
versionB="$(grep -c 'GET /cgi/version.pl?version&prg=Saltfang 200' "$dir/b.new" || true)"
submitA="$(grep -c 'GET /cgi/version.pl?hs&prg=Saltfang&inf=- 200' "$dir/a.new" || true)"
submitB="$(grep -c 'GET /cgi/version.pl?hs&prg=Saltfang&inf=- 200' "$dir/b.new" || true)"
echo "instance A: $versionA version queries, $submitA submissions; instance B: $versionB, $submitB"
if ! { [[ "$versionA$submitB" == 11 && "$versionB$submitA" == 00 ]] || [[ "$versionB$submitA" == 11 && "$versionA$submitB" == 00 ]]; }; then
  fail "the version query and the submission were not answered by different instances"
fi
grep -q ' 127.0.0.1 GET /cgi/version.pl?hs' "$dir/a.new" "$dir/b.new" || fail "the client address is missing from the log"

api="$(curl -sf "http://127.0.0.1:$pn/api/scores?period=day")"
echo "$api" | grep -q '"name":"Rosa","score":4321,"player":"Tester"' || fail "not in /api/scores: $api"
page="$(curl -sf "http://127.0.0.1:$pn/cgi/version.pl?prg=Saltfang&show&type=0&view=unverified")"
echo "$page" | grep -q '<td>Rosa</td><td class="n">4321</td><td>Tester</td>' || fail "not on the world page"
tls="$(curl -sf --cacert "$dir/cert.pem" "https://127.0.0.1:$ps/api/scores")" || fail "no answer over TLS"
echo "$tls" | grep -q '"name":"Rosa"' || fail "not in /api/scores over TLS"

# One client (127.0.0.2) asks for 30 versions; nginx hands them to both instances in turn. The
# instances count in the database: 20 (the burst) are answered, whichever instance answers.
la="$(wc -l <"$dir/a.log")"; lb="$(wc -l <"$dir/b.log")"
ok=0; limited=0
for i in $(seq 30); do
  code="$(curl -s -o /dev/null -w '%{http_code}' --interface 127.0.0.2 "http://127.0.0.1:$pn/cgi/version.pl?version&prg=Saltfang")"
  case "$code" in 200) ok=$((ok + 1)) ;; 429) limited=$((limited + 1)) ;; *) fail "version query answered $code" ;; esac
done
servedA="$(tail -n +"$((la + 1))" "$dir/a.log" | grep -c ' 127.0.0.2 GET /cgi/version.pl' || true)"
servedB="$(tail -n +"$((lb + 1))" "$dir/b.log" | grep -c ' 127.0.0.2 GET /cgi/version.pl' || true)"
echo "one client's 30 version queries: $ok answered, $limited limited; instance A saw $servedA, B $servedB"
[[ "$ok" == 20 && "$limited" == 10 ]] || fail "the limit was not shared: $ok answered"
[[ "$servedA" -gt 0 && "$servedB" -gt 0 ]] || fail "one instance answered every query"

# A listing's validator holds through nginx: the same page again is a 304.
etag="$(curl -sf -D - -o /dev/null "http://127.0.0.1:$pn/api/scores?period=all" | tr -d '\r' | awk 'tolower($1) == "etag:" {print $2}')"
[[ -n "$etag" ]] || fail "no ETag on /api/scores"
code="$(curl -s -o /dev/null -w '%{http_code}' -H "If-None-Match: $etag" "http://127.0.0.1:$pn/api/scores?period=all")"
[[ "$code" == 304 ]] || fail "If-None-Match $etag answered $code"

# nginx's log: the exchange is there, its payload and tokens are not.
grep -q '"GET /cgi/version.pl HTTP/1.1" 200' "$dir/saltfang-scores.access.log" || fail "the exchange is not in nginx's log"
if grep -q 'inf=\|?' "$dir/saltfang-scores.access.log"; then fail "nginx's log holds a query string"; fi

# An upload with a wrong token: refused from its head; nothing of its 2 MB body is kept anywhere.
head -c 2000000 /dev/zero >"$dir/upload.bin"
code="$(curl -s -o /dev/null -w '%{http_code}' --interface 127.0.0.4 -H 'Cookie: sfsid=0123456789ABCDEF0123456789ABCDEF' \
  -H 'Content-Type: application/octet-stream' --data-binary @"$dir/upload.bin" \
  "http://127.0.0.1:$pn/api/replays?p=00000000000000000000000000000000")"
[[ "$code" == 403 ]] || fail "an upload with a wrong token answered $code"
# (nginx unlinks its temp files as it opens them, so its log is where a spill shows.)
if grep -q "request body is buffered to a temporary file" "$dir/error.log"; then fail "nginx spilled the upload to a temp file"; fi

# 20 slow readers of the large file (small windows, reading nothing): nginx spills none of it to
# disk while they wait, and a player is still answered.
python3 - "$pn" "$dir/error.log" <<'PY' || fail "the slow readers' check failed"
import select, socket, subprocess, sys, time
port, log = int(sys.argv[1]), sys.argv[2]
readers = []
for i in range(20):
    s = socket.socket()
    s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
    s.bind(("127.0.0.5", 0))
    s.connect(("127.0.0.1", port))
    s.sendall(b"GET /big.data HTTP/1.1\r\nHost: x\r\n\r\n")
    readers.append(s)
# Each reader's answer has begun to arrive: nginx is passing the file on, and what it cannot pass
# yet it holds, or would spill (nginx unlinks its temp files as it opens them: its log says so).
for s in readers:
    select.select([s], [], [], 10)
start = time.monotonic()
out = subprocess.run(["curl", "-s", "-o", "/dev/null", "-w", "%{http_code}", f"http://127.0.0.1:{port}/healthz"],
                     capture_output=True, text=True).stdout
took = time.monotonic() - start
with open(log) as f:
    spilled = f.read().count("upstream response is buffered to a temporary file")
for s in readers:
    s.close()
print(f"a player's request while 20 readers wait: {out} in {took * 1000:.0f} ms; spills to temp files: {spilled}")
sys.exit(0 if out == "200" and not spilled else 1)
PY

# One client's flood of requests is cut by nginx's own limit before it reaches an instance.
limited="$(for i in $(seq 150); do curl -s -o /dev/null -w '%{http_code}\n' --interface 127.0.0.3 "http://127.0.0.1:$pn/healthz"; done | grep -c 429 || true)"
echo "one client's 150 quick requests: $limited refused by nginx"
[[ "$limited" -gt 0 ]] || fail "nginx limited none of a client's 150 quick requests"

# SIGTERM: both instances finish and exit 0 within 5 s.
for p in "${pids[@]}"; do kill -TERM "$p"; done
for p in "${pids[@]}"; do
  timeout 5 tail --pid="$p" -f /dev/null || fail "instance $p did not stop within 5 s"
  wait "$p" || fail "instance $p exited with status $?"
done
pids=()
grep -q "saltfang-scores: stopped" "$dir/a.log" || fail "instance A did not stop cleanly"
echo "nginx_e2e: passed"
