#!/usr/bin/env bash
# deploy_check.sh SCORES: the deployment files as shipped. The systemd unit passes
# systemd-analyze verify (with ExecStart pointing at the built binary), the nginx site passes
# nginx -t (with a certificate made for the run), and the container's settings are ones the
# binary accepts.
set -euo pipefail
scores="$1"
deploy="$(cd "$(dirname "$0")/../deploy" && pwd)"
dir="$(mktemp -d /tmp/saltfang-deploy.XXXXXX)"
trap 'rm -rf "$dir"' EXIT
fail() { echo "deploy_check: $*" >&2; exit 1; }

command -v systemd-analyze >/dev/null || fail "systemd-analyze is missing (Debian package systemd)"
sed "s#^ExecStart=/usr/local/bin/saltfang-scores#ExecStart=$scores#" "$deploy/saltfang-scores.service" \
  >"$dir/saltfang-scores.service"
out="$(SYSTEMD_LOG_LEVEL=warning systemd-analyze verify "$dir/saltfang-scores.service" 2>&1)" || fail "systemd-analyze: $out"
# Complaints about the host's own units are not ours; ours must be clean.
if grep -q "saltfang-scores.service" <<<"$out"; then fail "systemd-analyze: $out"; fi

nginx_bin="$(command -v nginx || echo /usr/sbin/nginx)"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$dir/key.pem" -out "$dir/cert.pem" -days 1 -subj "/CN=x" \
  >/dev/null 2>&1
sed -e "s#/etc/letsencrypt/live/scores.example.com/fullchain.pem#$dir/cert.pem#" \
    -e "s#/etc/letsencrypt/live/scores.example.com/privkey.pem#$dir/key.pem#" \
    -e "s#/var/lib/nginx/saltfang-scores#$dir/cache#" -e "s#/var/log/nginx/#$dir/#" \
    "$deploy/nginx-saltfang-scores.conf" >"$dir/site.conf"
cat >"$dir/nginx.conf" <<CONF
pid $dir/nginx.pid;
error_log $dir/error.log;
events {}
http { include $dir/site.conf; }
CONF
"$nginx_bin" -t -q -p "$dir" -c "$dir/nginx.conf" -e "$dir/error.log" || fail "nginx -t refused the site"

# The container's environment and the unit's are understood by the binary.
env_line="$(grep '^ENV ' "$deploy/Containerfile" | sed 's/^ENV //')"
env -i $env_line "$scores" --help >/dev/null || fail "the container's settings are refused: $env_line"
env -i SALTFANG_LISTEN=127.0.0.1:8765 SALTFANG_DB=sqlite:/var/lib/saltfang-scores/scores.db "$scores" --help \
  >/dev/null || fail "the unit's settings are refused"
grep -q '^FROM debian:' "$deploy/Containerfile" || fail "the container is not Debian based"
echo "deploy_check: passed"
