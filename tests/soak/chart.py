"""A small line chart of RSS over time as a PNG, with nothing but the standard library."""
import struct
import zlib

# 3 x 5 digits and the few letters the labels use, one string of 15 bits per character.
GLYPHS = {
    "0": "111101101101111", "1": "010110010010111", "2": "111001111100111",
    "3": "111001111001111", "4": "101101111001001", "5": "111100111001111",
    "6": "111100111101111", "7": "111001001001001", "8": "111101111101111",
    "9": "111101111001111", " ": "000000000000000", ".": "000000000000010",
    "%": "101001010100101", "+": "000010111010000", "-": "000000111000000",
    "M": "101111111101101", "B": "110101110101110", "m": "000000111111101",
    "i": "010000010010010", "n": "000000110101101", "R": "110101110110101",
    "S": "011100010001110", "t": "010111010010011", "e": "000111111100011",
    "d": "001001111101111", "l": "010010010010011", "a": "000011101101111",
    "x": "000101010101101", "w": "000101101111111", "r": "000110101100100",
    "u": "000101101101111", "p": "000110101110100", "o": "000010101101010",
    "s": "000011110011110", "f": "011010111010010", "g": "000111101111001",
    "k": "100101110101101", "T": "111010010010010", "c": "000011100100011",
    "h": "100100110101101", "y": "000101111001110", "v": "000101101101010",
    "j": "001000001001110", "b": "100100110101110", "z": "000111011110111",
    ",": "000000000010100", ":": "000010000010000", "=": "000111000111000",
    "(": "010100100100010", ")": "010001001001010", "/": "001001010100100",
}


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = bytearray(b"\xff" * (w * h * 3))

    def dot(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            i = (y * self.w + x) * 3
            self.px[i:i + 3] = bytes(c)

    def line(self, x0, y0, x1, y1, c, thick=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for s in range(steps + 1):
            x = round(x0 + (x1 - x0) * s / steps)
            y = round(y0 + (y1 - y0) * s / steps)
            for d in range(thick):
                self.dot(x, y + d, c)

    def text(self, x, y, s, c=(0, 0, 0), scale=2):
        for ch in s:
            bits = GLYPHS.get(ch, GLYPHS[" "])
            for i, b in enumerate(bits):
                if b == "1":
                    for dx in range(scale):
                        for dy in range(scale):
                            self.dot(x + (i % 3) * scale + dx, y + (i // 3) * scale + dy, c)
            x += 4 * scale

    def save(self, path):
        raw = b"".join(b"\x00" + bytes(self.px[y * self.w * 3:(y + 1) * self.w * 3])
                       for y in range(self.h))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body +
                    struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" +
                    chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 2, 0, 0, 0)) +
                    chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


COLORS = [(30, 90, 200), (200, 80, 30), (40, 150, 60)]


def rss_chart(path, series, warmup_s, limit):
    """series: name -> [(seconds, rss kB, ...)], drawn one after the other in time."""
    c = Canvas(720, 300)
    left, top, right, bottom = 60, 40, 700, 260
    pts, offset, bounds = [], 0.0, []
    for i, (name, samples) in enumerate(series.items()):
        if not samples:
            continue
        pts.append((name, i, [(offset + t, r / 1024) for t, r, *_ in samples]))
        bounds.append((name, offset, offset + warmup_s))
        offset += samples[-1][0]
    if not pts:
        return
    t_max = max(offset, 60)
    all_mb = [m for _, _, p in pts for _, m in p]
    y_max = max(all_mb) * 1.25
    sx = lambda t: left + int((right - left) * t / t_max)
    sy = lambda mb: bottom - int((bottom - top) * mb / y_max)
    c.line(left, top, left, bottom, (0, 0, 0))
    c.line(left, bottom, right, bottom, (0, 0, 0))
    for k in range(5):
        mb = y_max * k / 4
        c.line(left - 4, sy(mb), left, sy(mb), (0, 0, 0))
        c.text(4, sy(mb) - 5, f"{mb:.0f}")
    for m in range(0, int(t_max / 60) + 1, max(1, int(t_max / 60 / 8))):
        c.line(sx(m * 60), bottom, sx(m * 60), bottom + 4, (0, 0, 0))
        c.text(sx(m * 60) - 6, bottom + 8, str(m))
    c.text(left, 10, "RSS MB over minutes", scale=2)
    for name, i, p in pts:
        col = COLORS[i % len(COLORS)]
        _, start, warm_end = bounds[i]
        # The warm-up's end, and the 10 % line above the level measured there.
        c.line(sx(warm_end), top, sx(warm_end), bottom, (180, 180, 180))
        after = [m for t, m in p if t >= warm_end]
        if after:
            lim = after[0] * limit
            end = p[-1][0]
            c.line(sx(warm_end), sy(lim), sx(end), sy(lim), (220, 120, 120))
        for (t0, m0), (t1, m1) in zip(p, p[1:]):
            c.line(sx(t0), sy(m0), sx(t1), sy(m1), col, thick=2)
        c.text(sx(start) + 6, top + 6 + 14 * i, name, col)
    c.save(path)
