#!/usr/bin/python3
"""A stand-in for the score service while testing the browser build: serves the built page as
static files and answers the game's two exchange requests the way the service does (a version
reply with a token bound to a session cookie, then a submission that must bring both back). Each
accepted submission is appended to the --record file as one line (the encoded symbols). It has no
score store and no /api/scores: what needs the real service is left to it.

    stand-in-server.py --web DIR --listen 127.0.0.1:PORT [--record FILE]
"""
import argparse
import http.server
import os
import secrets
import sys
import urllib.parse

VERSION_QUERY = 'version&prg=Saltfang'
SUBMISSION_PREFIX = 'hs&prg=Saltfang&inf='


class Handler(http.server.SimpleHTTPRequestHandler):
    tokens = {}  # session cookie -> token of its last version reply
    record = None

    def log_message(self, fmt, *args):  # quiet: the test prints what matters
        pass

    def end_headers(self):
        self.send_header('Cache-Control', 'no-cache')
        super().end_headers()

    def reply(self, status, body, headers=()):
        data = body.encode()
        self.send_response(status)
        self.send_header('Content-Type', 'text/html; charset=utf-8')
        self.send_header('Content-Length', str(len(data)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self):
        parts = urllib.parse.urlsplit(self.path)
        if parts.path == '/cgi/version.pl':
            return self.exchange(parts.query)
        if parts.path.startswith('/api/'):
            return self.reply(404, 'the stand-in server has no score API\n')
        return super().do_GET()

    def exchange(self, query):
        cookie = ''
        for item in (self.headers.get('Cookie') or '').split(';'):
            name, _, value = item.strip().partition('=')
            if name == 'sfsid':
                cookie = value
        if query == VERSION_QUERY:
            session, token = secrets.token_hex(8), secrets.token_hex(8)
            Handler.tokens[session] = token
            return self.reply(200, 'Saltfang|1.0|0|0|%s|end' % token,
                              [('Set-Cookie', 'sfsid=%s; Path=/; SameSite=Strict' % session)])
        if query.startswith(SUBMISSION_PREFIX):
            symbols = query[len(SUBMISSION_PREFIX):]
            if not cookie or cookie not in Handler.tokens:
                return self.reply(403, 'no session\n')
            del Handler.tokens[cookie]
            if Handler.record:
                with open(Handler.record, 'a') as f:
                    f.write(symbols + '\n')
            return self.reply(200, 'OK\n')
        return self.reply(404, 'not here\n')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--web', required=True)
    parser.add_argument('--listen', required=True)
    parser.add_argument('--record')
    args = parser.parse_args()
    host, _, port = args.listen.rpartition(':')
    if host not in ('127.0.0.1', 'localhost'):
        sys.exit('stand-in-server: listens on 127.0.0.1 only')
    Handler.record = args.record
    os.chdir(args.web)
    Handler.extensions_map = dict(Handler.extensions_map, **{'.wasm': 'application/wasm', '.data': 'application/octet-stream'})
    server = http.server.ThreadingHTTPServer(('127.0.0.1', int(port)), Handler)
    server.serve_forever()


if __name__ == '__main__':
    main()
