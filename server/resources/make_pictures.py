#!/usr/bin/env python3
"""Draws the pictures of tessel.exe as Windows BMP and ICO files.

    make_pictures.py PICTURES_DIR OUT_DIR

The button glyphs (20 x 20) and the icons (32 x 32) are text pixel maps in
PICTURES_DIR, one file per picture named after its resource: '#' lines are
comments, the first other line says "bitmap" or "icon", then one text row per
pixel row. Each letter is one of the 16 standard colours below; '.' is the
button face in a bitmap (the tool bar paints it in its own face colour) and
transparent in an icon. The splash bitmap TS8 (400 x 240, 256 colours) is
drawn by draw_splash() below. Output is byte-for-byte reproducible.
"""

import pathlib
import struct
import sys

# The 16-colour palette of Windows, in its usual order, with a letter each.
VGA16 = [
    ("k", (0, 0, 0)),        # black
    ("r", (128, 0, 0)),      # dark red
    ("g", (0, 128, 0)),      # dark green
    ("y", (128, 128, 0)),    # olive
    ("n", (0, 0, 128)),      # navy
    ("p", (128, 0, 128)),    # purple
    ("t", (0, 128, 128)),    # teal
    ("s", (192, 192, 192)),  # silver, the button face
    ("d", (128, 128, 128)),  # dark grey
    ("R", (255, 0, 0)),      # red
    ("G", (0, 255, 0)),      # green
    ("Y", (255, 255, 0)),    # yellow
    ("B", (0, 0, 255)),      # blue
    ("M", (255, 0, 255)),    # magenta
    ("C", (0, 255, 255)),    # cyan
    ("W", (255, 255, 255)),  # white
]
LETTER = {letter: index for index, (letter, _) in enumerate(VGA16)}
FACE = LETTER["s"]
SIZES = {"bitmap": 20, "icon": 32}


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def pack_rows(rows, bits):
    """Bottom-up rows of palette indices, each padded to a 4-byte boundary."""
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        if bits == 8:
            line += bytes(row)
        elif bits == 4:
            for i in range(0, len(row), 2):
                right = row[i + 1] if i + 1 < len(row) else 0
                line.append((row[i] << 4) | right)
        else:  # 1 bit, most significant first
            for i in range(0, len(row), 8):
                byte = 0
                for j, bit in enumerate(row[i:i + 8]):
                    byte |= bit << (7 - j)
                line.append(byte)
        line += b"\0" * (-len(line) % 4)
        out += line
    return bytes(out)


def info_header(width, height, bits, image_size, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0,
                       image_size, 0, 0, colours, 0)


def bmp_file(rows, bits, colours):
    width, height = len(rows[0]), len(rows)
    pixels = pack_rows(rows, bits)
    palette = palette_bytes(colours)
    offset = 14 + 40 + len(palette)
    return (struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
            + info_header(width, height, bits, len(pixels), len(colours))
            + palette + pixels)


def ico_file(rows, transparent):
    size = len(rows)
    xor = pack_rows(rows, 4)
    mask = pack_rows(transparent, 1)
    # An icon image's header counts the colour and the mask halves in its height.
    image = (info_header(size, 2 * size, 4, len(xor) + len(mask), 0)
             + palette_bytes(c for _, c in VGA16) + xor + mask)
    return (struct.pack("<HHH", 0, 1, 1)
            + struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
            + image)


def read_pixel_map(path):
    lines = [l.rstrip("\n") for l in path.read_text().splitlines()
             if l.strip() and not l.startswith("#")]
    kind, rows = lines[0].strip(), lines[1:]
    size = SIZES.get(kind)
    if size is None:
        sys.exit(f"{path}: first line must be 'bitmap' or 'icon', not {kind!r}")
    if len(rows) != size or any(len(r) != size for r in rows):
        sys.exit(f"{path}: a {kind} is {size} x {size} pixels")
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch != "." and ch not in LETTER:
                sys.exit(f"{path}:{y + 1}:{x + 1}: unknown colour {ch!r}")
    return kind, rows


def picture_from_map(kind, rows):
    if kind == "bitmap":
        indices = [[FACE if ch == "." else LETTER[ch] for ch in row] for row in rows]
        return ".bmp", bmp_file(indices, 4, [c for _, c in VGA16])
    indices = [[0 if ch == "." else LETTER[ch] for ch in row] for row in rows]
    transparent = [[1 if ch == "." else 0 for ch in row] for row in rows]
    return ".ico", ico_file(indices, transparent)


# --- The splash screen -------------------------------------------------------

# 5 x 7 capitals and digits for the splash texts.
FONT = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    " ": ["....."] * 7,
}


class Canvas:
    """A picture of palette indices with a palette that grows as colours are used."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.colours = []
        self.index = {}
        self.rows = [[0] * width for _ in range(height)]

    def colour(self, rgb):
        if rgb not in self.index:
            if len(self.colours) == 256:
                sys.exit("the splash screen uses more than 256 colours")
            self.index[rgb] = len(self.colours)
            self.colours.append(rgb)
        return self.index[rgb]

    def rect(self, x0, y0, x1, y1, rgb):
        """Fills x0 <= x < x1, y0 <= y < y1."""
        c = self.colour(rgb)
        for y in range(max(y0, 0), min(y1, self.height)):
            row = self.rows[y]
            for x in range(max(x0, 0), min(x1, self.width)):
                row[x] = c

    def text(self, x, y, string, scale, rgb):
        for ch in string:
            for gy, line in enumerate(FONT[ch]):
                for gx, bit in enumerate(line):
                    if bit == "#":
                        self.rect(x + gx * scale, y + gy * scale,
                                  x + (gx + 1) * scale, y + (gy + 1) * scale, rgb)
            x += 6 * scale

    def text_width(self, string, scale):
        return 6 * scale * len(string) - scale

    def bmp(self):
        palette = self.colours + [(0, 0, 0)] * (256 - len(self.colours))
        return bmp_file(self.rows, 8, palette)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def draw_splash():
    c = Canvas(400, 240)
    # Night-blue backdrop, lighter toward the bottom, in 48 bands.
    top, bottom = (8, 16, 64), (16, 72, 120)
    for band in range(48):
        c.rect(0, band * 5, 400, band * 5 + 5, mix(top, bottom, band / 47))

    # A transputer in its pin-grid package, on the left.
    gold, gold_dark = (214, 176, 64), (140, 108, 30)
    pin, pin_dark = (200, 200, 208), (112, 112, 120)
    x0, y0, size = 36, 56, 128
    c.rect(x0 + 4, y0 + 4, x0 + size + 4, y0 + size + 4, (4, 8, 32))  # shadow
    for i in range(10):
        along = 9 + i * 11
        for px, py, w, h in ((x0 + along, y0 - 14, 5, 14), (x0 + along, y0 + size, 5, 14),
                             (x0 - 14, y0 + along, 14, 5), (x0 + size, y0 + along, 14, 5)):
            c.rect(px, py, px + w, py + h, pin_dark)
            c.rect(px + 1, py + 1, px + w - 1, py + h - 1, pin)
    c.rect(x0, y0, x0 + size, y0 + size, (40, 40, 48))
    c.rect(x0 + 2, y0 + 2, x0 + size - 2, y0 + size - 2, (72, 72, 84))
    c.rect(x0 + 8, y0 + 8, x0 + 14, y0 + 14, (230, 230, 230))  # pin-1 mark
    lid = 32
    c.rect(x0 + lid, y0 + lid, x0 + size - lid, y0 + size - lid, gold_dark)
    c.rect(x0 + lid + 2, y0 + lid + 2, x0 + size - lid - 2, y0 + size - lid - 2, gold)
    for row, (label, scale) in enumerate((("INMOS", 1), ("T800", 2))):
        w = c.text_width(label, scale)
        c.text(x0 + (size - w) // 2, y0 + 46 + row * 14, label, scale, gold_dark)

    # Name and purpose on the right.
    white, ice, shadow = (255, 255, 255), (168, 220, 255), (0, 8, 40)
    c.text(193, 43, "TESSEL", 5, shadow)
    c.text(190, 40, "TESSEL", 5, white)
    c.text(192, 100, "TRANSPUTER", 2, ice)
    c.text(192, 120, "HOST SERVER", 2, ice)
    c.text(192, 146, "FOR INMOS B004 BOARDS", 1, ice)

    # A link byte on its way: start bits 1 1, eight data bits, stop bit 0.
    green = (64, 232, 128)
    bits = [1, 1, 0, 1, 0, 0, 1, 1, 0, 1, 0]
    x, base, high = 192, 196, 180
    level = 0
    for bit in bits + [0]:
        y = high if bit else base
        if bit != level:
            c.rect(x, min(high, base), x + 2, max(high, base) + 2, green)
            level = bit
        c.rect(x, y, x + 16, y + 2, green)
        x += 16
    c.rect(x, base, 390, base + 2, green)

    # A thin frame around the whole picture.
    edge = (168, 220, 255)
    c.rect(0, 0, 400, 2, edge)
    c.rect(0, 238, 400, 240, edge)
    c.rect(0, 0, 2, 240, edge)
    c.rect(398, 0, 400, 240, edge)
    return c.bmp()


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    source, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    for path in sorted(source.glob("*.txt")):
        suffix, data = picture_from_map(*read_pixel_map(path))
        (out / (path.stem + suffix)).write_bytes(data)
    (out / "ts8.bmp").write_bytes(draw_splash())


if __name__ == "__main__":
    main()
