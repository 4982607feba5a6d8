#!/usr/bin/env python3
"""Hostile clients for the service's bench (server/bench/run hostile), on loopback only. Each case
prints one line of figures and stops by itself.

    hostile.py watch PID PORT SECONDS        the instance's peak resident memory over SECONDS, and
                                              a player's version query every half second meanwhile
    hostile.py readers PID PORT PATH N       N slow readers of PATH (32 per address from 127.0.0.2
                                              on, 4 KiB receive windows, reading nothing) for 5 s
    hostile.py withheld PID PORT N           N uploads with a wrong token, each sending 1 MiB of a
                                              2 MB body and withholding the rest, for 5 s
"""
import socket
import statistics
import sys
import time


def resident_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def player(port):
    """One version query as a player sends it, from 127.0.0.200: milliseconds, or None."""
    start = time.monotonic()
    try:
        s = socket.create_connection(("127.0.0.1", port), timeout=10, source_address=("127.0.0.200", 0))
        s.sendall(b"GET /cgi/version.pl?version&prg=Saltfang HTTP/1.1\r\nHost: bench\r\nConnection: close\r\n\r\n")
        reply = b""
        while True:
            chunk = s.recv(4096)
            if not chunk:
                break
            reply += chunk
        s.close()
        if not reply.startswith(b"HTTP/1.1 200"):
            return None
    except OSError:
        return None
    return (time.monotonic() - start) * 1000


def watch(pid, port, seconds):
    peak, times, failed = 0.0, [], 0
    end = time.monotonic() + seconds
    next_probe = time.monotonic()
    while time.monotonic() < end:
        try:
            peak = max(peak, resident_mib(pid))
        except OSError:
            break
        if time.monotonic() >= next_probe:
            ms = player(port)
            if ms is None:
                failed += 1
            else:
                times.append(ms)
            next_probe += 0.5
        time.sleep(0.05)
    median = statistics.median(times) if times else float("nan")
    worst = max(times) if times else float("nan")
    print(f"   peak resident {peak:.0f} MiB; a player's version query: median {median:.1f} ms, "
          f"slowest {worst:.1f} ms, {failed} of {len(times) + failed} failed")


def clients(port, n, receive_buffer=0):
    made = []
    for i in range(n):
        s = socket.socket()
        if receive_buffer:
            s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, receive_buffer)
        s.bind((f"127.0.0.{2 + i // 32}", 0))
        s.connect(("127.0.0.1", port))
        made.append(s)
    return made


def readers(pid, port, path, n):
    before = resident_mib(pid)
    socks = clients(port, n, 4096)
    for s in socks:
        s.sendall(f"GET {path} HTTP/1.1\r\nHost: bench\r\n\r\n".encode())
    peak = before
    end = time.monotonic() + 5
    while time.monotonic() < end:
        peak = max(peak, resident_mib(pid))
        time.sleep(0.1)
    ms = player(port)
    for s in socks:
        s.close()
    shown = "failed" if ms is None else f"{ms:.1f} ms"
    print(f"   {n} slow readers of {path}: resident {before:.0f} -> {peak:.0f} MiB; a player's version query {shown}")


def withheld(pid, port, n):
    before = resident_mib(pid)
    socks = clients(port, n)
    part = b"x" * (1 << 20)
    for s in socks:
        s.sendall(b"POST /api/replays?p=00000000000000000000000000000000 HTTP/1.1\r\nHost: bench\r\n"
                  b"Cookie: sfsid=0123456789ABCDEF0123456789ABCDEF\r\nContent-Length: 2000000\r\n\r\n")
        s.setblocking(False)
        try:
            s.send(part)
        except OSError:
            pass
    peak = before
    end = time.monotonic() + 5
    while time.monotonic() < end:
        peak = max(peak, resident_mib(pid))
        time.sleep(0.1)
    answered = 0
    for s in socks:
        s.setblocking(True)
        s.settimeout(0.2)
        try:
            if s.recv(64).startswith(b"HTTP/1.1 403"):
                answered += 1
        except OSError:
            pass
        s.close()
    print(f"   {n} withheld uploads with a wrong token: resident {before:.0f} -> {peak:.0f} MiB; "
          f"{answered} refused within 5 s")


def main():
    what = sys.argv[1]
    pid, port = int(sys.argv[2]), int(sys.argv[3])
    if what == "watch":
        watch(pid, port, float(sys.argv[4]))
    elif what == "readers":
        readers(pid, port, sys.argv[4], int(sys.argv[5]))
    elif what == "withheld":
        withheld(pid, port, int(sys.argv[4]))
    else:
        print(__doc__, file=sys.stderr)
        sys.exit(2)


main()
