#!/usr/bin/env python3
"""Writes the small seed inputs of the fuzz targets into corpus/<target>/.

Run again after changing it; the files are kept in the repository so a run starts from them.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# ---- bitmaps -------------------------------------------------------------------------------

PALETTE = [(0, 0, 0), (255, 0, 255), (255, 255, 255), (200, 30, 40), (10, 120, 240), (60, 200, 90),
           (128, 128, 0), (0, 128, 128)]


def palette_bytes(count, entry_size=4):
    out = b""
    for i in range(count):
        r, g, b = PALETTE[i % len(PALETTE)]
        out += bytes([b, g, r]) + (b"\0" if entry_size == 4 else b"")
    return out


def info_header(width, height, bpp, compression=0, image_size=0, colours_used=0, size=40, masks=None):
    h = struct.pack("<IiiHHIIiiII", size, width, height, 1, bpp, compression, image_size, 2835, 2835,
                    colours_used, 0)
    if size > 40:
        m = list(masks or [0, 0, 0, 0])
        while len(m) < 4:
            m.append(0)
        h += struct.pack("<IIII", *m)[: size - 40]
        h += b"\0" * (size - len(h))
    return h


def bmp(dib, palette, pixels):
    off = 14 + len(dib) + len(palette)
    return b"BM" + struct.pack("<IHHI", off + len(pixels), 0, 0, off) + dib + palette + pixels


def rows(width, height, bpp, value):
    """Uncompressed rows, each padded to 4 bytes; value(x, y) gives the pixel's raw integer."""
    out = b""
    for y in range(height):
        bits = ""
        for x in range(width):
            bits += format(value(x, y), "0%db" % bpp)
        if bpp >= 8:
            row = b"".join(value(x, y).to_bytes(bpp // 8, "little") for x in range(width))
        else:
            bits += "0" * (-len(bits) % 8)
            row = bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
        out += row + b"\0" * (-len(row) % 4)
    return out


W, H = 5, 3
bitmaps = {}
for bpp in (1, 4, 8):
    n = 1 << bpp
    pix = rows(W, H, bpp, lambda x, y, n=n: (x + 2 * y) % min(n, 8))
    bitmaps["pal%d.bmp" % bpp] = bmp(info_header(W, H, bpp), palette_bytes(n), pix)
bitmaps["pal8_topdown_used3.bmp"] = bmp(info_header(W, -H, 8, colours_used=3), palette_bytes(3),
                                        rows(W, H, 8, lambda x, y: (x + y) % 5))
bitmaps["core8.bmp"] = bmp(struct.pack("<IHHHH", 12, W, H, 1, 8), palette_bytes(256, 3),
                           rows(W, H, 8, lambda x, y: x % 4))
bitmaps["rgb555.bmp"] = bmp(info_header(W, H, 16), b"", rows(W, H, 16, lambda x, y: (x * 6) << 10 | (y * 9) << 5 | 31))
bitmaps["bitfields565.bmp"] = bmp(info_header(W, H, 16, compression=3), struct.pack("<III", 0xF800, 0x07E0, 0x001F),
                                  rows(W, H, 16, lambda x, y: (x * 6) << 11 | (y * 20) << 5 | 7))
bitmaps["v4_565.bmp"] = bmp(info_header(W, H, 16, compression=3, size=108, masks=[0xF800, 0x07E0, 0x001F, 0]), b"",
                            rows(W, H, 16, lambda x, y: (x * 3) << 11 | y << 5 | x))
bitmaps["rgb24.bmp"] = bmp(info_header(W, H, 24), b"", rows(W, H, 24, lambda x, y: 0xFF00FF if x == y else x * 0x203040))
bitmaps["rgb24_topdown.bmp"] = bmp(info_header(W, -H, 24), b"", rows(W, H, 24, lambda x, y: y * 0x405060 + x))
bitmaps["rgb32.bmp"] = bmp(info_header(W, H, 32), b"", rows(W, H, 32, lambda x, y: 0xAB000000 | (x * 0x112233)))
bitmaps["v5_alpha32.bmp"] = bmp(
    info_header(W, H, 32, compression=6, size=124, masks=[0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000]), b"",
    rows(W, H, 32, lambda x, y: 0x80000000 | (y * 0x302010 + x)))
bitmaps["bitfields32_odd.bmp"] = bmp(info_header(W, H, 32, compression=3), struct.pack("<III", 0x3FF00000, 0x000FFC00, 0x3FF),
                                     rows(W, H, 32, lambda x, y: x * 0x1234567 + y))
# RLE8: a run, a literal of three (padded), end of line, a move, end of bitmap.
rle8 = bytes([3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 1, 1, 2, 5, 0, 0, 0, 1])
bitmaps["rle8.bmp"] = bmp(info_header(W, H, 8, compression=1, image_size=len(rle8)), palette_bytes(256), rle8)
# RLE4: a run of alternating nibbles, a literal of five, end of line, a run, end of bitmap.
rle4 = bytes([4, 0x12, 0, 5, 0x34, 0x56, 0x70, 0, 0, 0, 0, 0, 5, 0x67, 0, 1])
bitmaps["rle4.bmp"] = bmp(info_header(W, H, 4, compression=2, image_size=len(rle4)), palette_bytes(16), rle4)
bitmaps["one_pixel24.bmp"] = bmp(info_header(1, 1, 24), b"", b"\xFF\x00\xFF\x00")

for name, data in bitmaps.items():
    write("fuzz_bmp", name, data)


# ---- packs ---------------------------------------------------------------------------------

def pack(*entries):
    return b"".join(struct.pack("<I", len(e)) + e for e in entries)


write("fuzz_pack", "three.pack", pack(bitmaps["rgb24.bmp"], bitmaps["pal8.bmp"], bitmaps["rle8.bmp"]))
write("fuzz_pack", "depths.pack", pack(*[bitmaps[k] for k in ("pal1.bmp", "pal4.bmp", "rgb555.bmp", "v5_alpha32.bmp",
                                                             "rle4.bmp", "core8.bmp")]))
write("fuzz_pack", "empty_entry.pack", pack(bitmaps["one_pixel24.bmp"], b"", bitmaps["one_pixel24.bmp"]))
write("fuzz_pack", "cut_short.pack", pack(bitmaps["rgb24.bmp"], bitmaps["pal4.bmp"])[:-7])
write("fuzz_pack", "not_a_bitmap.pack", pack(b"BM-not-really", bitmaps["rgb32.bmp"]))


# ---- Config.cfg ----------------------------------------------------------------------------

def cfg_string(text):
    data = text.encode("latin-1")[:255]
    return bytes([len(data)]) + bytes(b ^ 0xFF for b in data)


def config(flags=(1, 1, 1), key=123, player="", table=None):
    table = table if table is not None else [("Anonymous", 1000 - 100 * i) for i in range(10)]
    out = bytes(flags) + bytes([key & 0xFF]) + cfg_string(player)
    for name, score in table:
        out += cfg_string(name) + struct.pack("<i", score)
    return out


default = config()
assert len(default) == 145
write("fuzz_config", "default.cfg", default)
write("fuzz_config", "player.cfg", config(flags=(0, 1, 0), key=27, player="Pilot",
                                          table=[("Ace", 52000), ("Bob", 51000)] + [("Anonymous", 900 - 100 * i) for i in range(8)]))
write("fuzz_config", "unsorted_long_names.cfg", config(flags=(2, 0, 255), key=255, player="A much longer player name",
                                                      table=[("Name%d-with-more-than-ten" % i, (i * 7919) % 3000 - 500) for i in range(10)]))
write("fuzz_config", "extremes.cfg", config(table=[("\xe9\xff\x01", -2147483648), ("", 2147483647)] * 5, player="x" * 255))
write("fuzz_config", "trailing.cfg", default + b"\x00extra bytes")
for cut in (0, 3, 4, 5, 40, 144):
    write("fuzz_config", "cut%d.cfg" % cut, default[:cut])


# ---- version replies -----------------------------------------------------------------------

replies = {
    "reply.txt": b"Saltfang|1.0|0|0|0123456789ABCDEF0123456789ABCDEF|end",
    "reply_names.txt": b"Saltfang|Bob|Anonymous|1200|TOKEN|end",
    "reply_negative.txt": b"x|Ann|Pilot|-5|t|",
    "reply_four_bars.txt": b"a|b|c|d|e",
    "reply_empty_field.txt": b"a|b|c|d||f",
    "reply_high_bytes.txt": b"\xe9|\xe9t\xe9|\x01\x7f|99999999999|\xff\x00|z",
    "reply_digits.txt": b"0100000101000010",
    "reply_symbols.txt": b"0123456789ABCDEFGHJKMNPQRSTVWXYZ",
    "reply_empty.txt": b"",
}
for name, data in replies.items():
    write("fuzz_score_codec", name, data)


# ---- the score service ---------------------------------------------------------------------

def symbols_of(record):
    alphabet = "0123456789ABCDEFGHJKMNPQRSTVWXYZ"
    bits = "".join(format(b, "08b") for b in record)
    bits = "0" * (-len(bits) % 5) + bits
    return "".join(alphabet[int(bits[i:i + 5], 2)] for i in range(0, len(bits), 5)).encode()


def record(name, score, token, player):
    r = b"type=0|name=%s|score=%d|key=F|p=%s|add=%s|z=" % (name, score, token, player)
    return r + b"0" * (-len(r) % 5)


write("fuzz_scoreserver", "version_request.txt",
      b"GET /cgi/version.pl?version&prg=Saltfang HTTP/1.1\r\nHost: 127.0.0.1:8765\r\nAccept: */*\r\n\r\n")
write("fuzz_scoreserver", "table_request.txt",
      b"GET /cgi/version.pl?prg=Saltfang&show&type=0 HTTP/1.0\r\nCookie: a=b; sfsid=" + b"A" * 32 + b"\r\n\r\n")
rec = record(b"Bob", 1200, b"A" * 32, b"Anonymous")
write("fuzz_scoreserver", "record.txt", rec)
write("fuzz_scoreserver", "symbols.txt", symbols_of(rec))
write("fuzz_scoreserver", "submission_request.txt",
      b"GET /cgi/version.pl?hs&prg=Saltfang&inf=" + symbols_of(rec) + b" HTTP/1.1\r\nHost: x\r\nCookie: sfsid="
      + b"A" * 32 + b"\r\n\r\n")
