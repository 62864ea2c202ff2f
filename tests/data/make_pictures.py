#!/usr/bin/env python3
"""Writes the small Windows metafiles the picture loader tests draw: shapes,
a bitmap and text in known colours and places, with and without a placeable
header. Run from anywhere; the files land beside this script."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

RED, GREEN, BLUE, WHITE, BLACK = 0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x000000


def record(function, *words, raw=b""):
    body = b"".join(struct.pack("<h" if w < 0 else "<H", w) for w in words) + raw
    if len(body) % 2:
        body += b"\0"
    return struct.pack("<IH", 3 + len(body) // 2, function) + body


def colorref(c):
    return (c & 0xFFFF, c >> 16)


def metafile(records, objects, box=None, inch=1000, end=True):
    records = records + ([record(0x0000)] if end else [])
    words = 9 + sum(len(r) // 2 for r in records)
    biggest = max(len(r) // 2 for r in records)
    head = struct.pack("<HHHIHIH", 1, 9, 0x0300, words, objects, biggest, 0)
    if box is None:
        return head + b"".join(records)
    left, top, right, bottom = box
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, left, top, right, bottom, inch, 0)
    checksum = 0
    for (w,) in struct.iter_unpack("<H", placeable):
        checksum ^= w
    return placeable + struct.pack("<H", checksum) + head + b"".join(records)


def window(org, ext):
    return [record(0x020B, org[1], org[0]), record(0x020C, ext[1], ext[0])]


def null_pen():
    return record(0x02FA, 5, 0, 0, 0, 0)


def brush(c):
    return record(0x02FC, 0, *colorref(c), 0)


def select(i):
    return record(0x012D, i)


def delete(i):
    return record(0x01F0, i)


def rectangle(left, top, right, bottom):
    return record(0x041B, bottom, right, top, left)


def red_on_blue(outer, inner):
    # Objects: 0 pen, 1 blue brush, 2 red brush.
    return [null_pen(), select(0), brush(BLUE), select(1), rectangle(*outer),
            brush(RED), select(2), rectangle(*inner), delete(1), delete(2)]


def dib_2x2():
    # Rows bottom-up: blue, white / red, green; 24 bits, rows padded to 4 bytes.
    header = struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 24, 0, 16, 0, 0, 0, 0)
    def px(c):
        return bytes(((c >> 16) & 255, (c >> 8) & 255, c & 255))
    rows = px(BLUE) + px(WHITE) + b"\0\0" + px(RED) + px(GREEN) + b"\0\0"
    return header + rows


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    # 2000 x 1000 units at 1000 a inch: 192 x 96 pixels; red in the middle half.
    write("gen_placeable_red_on_blue.wmf", metafile(
        [record(0x0103, 8)] + window((0, 0), (2000, 1000))
        + red_on_blue((0, 0, 2000, 1000), (500, 250, 1500, 750)), 3, box=(0, 0, 2000, 1000)))

    # No placeable header; a 400 x 200 window gives 400 x 200 pixels.
    write("gen_plain_red_on_blue.wmf", metafile(
        [record(0x0103, 8)] + window((0, 0), (400, 200))
        + red_on_blue((0, 0, 400, 200), (100, 50, 300, 150)), 3))

    # No placeable header and no window: the size is what is drawn, 100 x 50.
    write("gen_plain_no_window.wmf", metafile(
        red_on_blue((10, 20, 110, 70), (35, 30, 85, 60)), 3))

    # The y axis points up (negative window height): red low, blue high.
    write("gen_placeable_y_up.wmf", metafile(
        window((0, 1000), (1000, -1000))
        + [null_pen(), select(0), brush(RED), select(1), rectangle(0, 0, 1000, 500),
           brush(BLUE), select(2), rectangle(0, 500, 1000, 1000)], 3, box=(0, 0, 1000, 1000)))

    # A 2 x 2 bitmap stretched over 192 x 192 pixels: red, green / blue, white.
    write("gen_placeable_bitmap.wmf", metafile(
        window((0, 0), (200, 200))
        + [record(0x0F43, 0x0020, 0x00CC, 0, 2, 2, 0, 0, 200, 200, 0, 0, raw=dib_2x2())],
        0, box=(0, 0, 200, 200), inch=100))

    # Black text on white in the left half; nothing in the right half.
    font = struct.pack("<hhhhhBBBBBBBB", -300, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0) + b"DejaVu Sans\0"
    write("gen_placeable_text.wmf", metafile(
        window((0, 0), (4000, 1000))
        + [record(0x02FB, raw=font), select(0), record(0x0209, *colorref(BLACK)),
           record(0x0102, 1), record(0x0521, 4, raw=b"WWWW" + struct.pack("<hh", 300, 100))],
        1, box=(0, 0, 4000, 1000)))

    # One colour (cyan) over its whole 64 x 48 pixel box, for the preview test.
    write("gen_placeable_cyan.wmf", metafile(
        window((0, 0), (960, 720))
        + [null_pen(), select(0), brush(GREEN | BLUE), select(1), rectangle(-20, -20, 980, 740)],
        2, box=(0, 0, 960, 720), inch=1440))


if __name__ == "__main__":
    main()
