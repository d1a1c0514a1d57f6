#!/usr/bin/env python3
"""Writes the icon files that the test resource script names:
app.ico  - 32x32 at 4 bits (red top half, blue bottom half, a transparent
           8x8 top-left corner) followed by a 16x16 8-bit green image;
deep.ico - one 32x32 image at 32 bits per pixel."""
import struct
import sys


def dib(width, height, bits, pixel, transparent):
    """A device-independent icon image: header, colour table, colour rows
    (bottom-up, padded to 4 bytes), mask rows (padded to 4 bytes)."""
    colours = 1 << bits if bits <= 8 else 0
    palette = [(0, 0, 0)] * colours
    if colours:
        palette[1] = (255, 0, 0)
        palette[2] = (0, 0, 255)
        palette[3] = (0, 255, 0)
    header = struct.pack('<IiiHHIIiiII', 40, width, 2 * height, 1, bits, 0, 0, 0, 0, 0, 0)
    table = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in palette)
    colour = b''
    mask = b''
    for row in range(height):
        y = height - 1 - row  # image rows from the top
        bits_row = []
        mask_row = []
        for x in range(width):
            clear = transparent(x, y)
            bits_row.append(0 if clear else pixel(x, y))
            mask_row.append(1 if clear else 0)
        if bits == 4:
            raw = bytes((bits_row[i] << 4) | bits_row[i + 1] for i in range(0, width, 2))
        elif bits == 8:
            raw = bytes(bits_row)
        else:
            raw = b''.join(struct.pack('BBBB', *((0, 0, 255, 255) if v == 1 else (255, 0, 0, 255)))
                           for v in bits_row)
        colour += raw + b'\0' * (-len(raw) % 4)
        packed = bytes(sum(mask_row[i + k] << (7 - k) for k in range(8)) for i in range(0, width, 8))
        mask += packed + b'\0' * (-len(packed) % 4)
    return header + table + colour + mask


def ico(images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for width, bits, data in images:
        colour_count = (1 << bits) if bits < 8 else 0
        out += struct.pack('<BBBBHHII', width, width, colour_count, 0, 1, bits, len(data), offset)
        offset += len(data)
    return out + b''.join(data for _, _, data in images)


def main(out_dir):
    top_red = lambda x, y: 1 if y < 16 else 2
    corner = lambda x, y: x < 8 and y < 8
    never = lambda x, y: False
    app = ico([(32, 4, dib(32, 32, 4, top_red, corner)),
               (16, 8, dib(16, 16, 8, lambda x, y: 3, never))])
    deep = ico([(32, 32, dib(32, 32, 32, top_red, never))])
    with open(f'{out_dir}/app.ico', 'wb') as f:
        f.write(app)
    with open(f'{out_dir}/deep.ico', 'wb') as f:
        f.write(deep)


if __name__ == '__main__':
    main(sys.argv[1])
