#!/usr/bin/env python3
"""Writes the generated pictures of the reference-image test: small Windows
metafiles with shapes, a bitmap and text in known colours and places (with and
without a placeable header), metafiles that would cost absurd work drawn in
full, bitmaps with the header forms and colour tables that real files have but
the collected ones lack, and a JPEG whose header claims an absurd size. Run from
anywhere; each file lands in the folder of its format beside this script."""

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


def read(name):
    with open(os.path.join(HERE, name), "rb") as f:
        return f.read()


def gradient(width, height, bits):
    """Bottom-up rows of a picture with detail everywhere (so that a shifted
    row or column shows), 16 bits as 5-6-5, 24 or 32 bits as blue, green, red."""
    rows = b""
    for y in reversed(range(height)):
        row = b""
        for x in range(width):
            r, g, b = x * 255 // (width - 1), y * 255 // (height - 1), ((x // 4) ^ (y // 4)) * 60 & 255
            if bits == 16:
                row += struct.pack("<H", (r >> 3) << 11 | (g >> 2) << 5 | b >> 3)
            else:
                row += bytes((b, g, r)) + (b"\xff" if bits == 32 else b"")
        rows += row + b"\0" * (-len(row) % 4)
    return rows


def dib(width, height, bits, colors, masks=b"", compression=0, header_size=40, pixels=None):
    """A packed DIB: info header, masks, a colour table of `colors` entries
    (unused by 16, 24 and 32 bits, but there all the same), pixels."""
    pixels = gradient(width, height, bits) if pixels is None else pixels
    header = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, bits, compression, len(pixels),
                         2835, 2835, colors, 0)
    if header_size > 40:
        header += masks[:header_size - 40].ljust(header_size - 40, b"\0")
        masks = b""
    table = b"".join(bytes((i * 7 & 255, i * 13 & 255, i * 29 & 255, 0)) for i in range(colors))
    return header + masks + table + pixels


def bmp(packed, bits_offset):
    return b"BM" + struct.pack("<IHHI", 14 + len(packed), 0, 0, 14 + bits_offset) + packed


def main():
    # 2000 x 1000 units at 1000 a inch: 192 x 96 pixels; red in the middle half.
    write("wmf/gen_placeable_red_on_blue.wmf", metafile(
        [record(0x0103, 8)] + window((0, 0), (2000, 1000))
        + red_on_blue((0, 0, 2000, 1000), (500, 250, 1500, 750)), 3, box=(0, 0, 2000, 1000)))

    # No placeable header; a 400 x 200 window gives 400 x 200 pixels.
    write("wmf/gen_plain_red_on_blue.wmf", metafile(
        [record(0x0103, 8)] + window((0, 0), (400, 200))
        + red_on_blue((0, 0, 400, 200), (100, 50, 300, 150)), 3))

    # No placeable header and no window: the size is what is drawn, 100 x 50.
    write("wmf/gen_plain_no_window.wmf", metafile(
        red_on_blue((10, 20, 110, 70), (35, 30, 85, 60)), 3))

    # The y axis points up (negative window height): red low, blue high.
    write("wmf/gen_placeable_y_up.wmf", metafile(
        window((0, 1000), (1000, -1000))
        + [null_pen(), select(0), brush(RED), select(1), rectangle(0, 0, 1000, 500),
           brush(BLUE), select(2), rectangle(0, 500, 1000, 1000)], 3, box=(0, 0, 1000, 1000)))

    # A 2 x 2 bitmap stretched over 192 x 192 pixels: red, green / blue, white.
    write("wmf/gen_placeable_bitmap.wmf", metafile(
        window((0, 0), (200, 200))
        + [record(0x0F43, 0x0020, 0x00CC, 0, 2, 2, 0, 0, 200, 200, 0, 0, raw=dib_2x2())],
        0, box=(0, 0, 200, 200), inch=100))

    # Black text on white in the left half; nothing in the right half.
    font = struct.pack("<hhhhhBBBBBBBB", -300, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0) + b"DejaVu Sans\0"
    write("wmf/gen_placeable_text.wmf", metafile(
        window((0, 0), (4000, 1000))
        + [record(0x02FB, raw=font), select(0), record(0x0209, *colorref(BLACK)),
           record(0x0102, 1), record(0x0521, 4, raw=b"WWWW" + struct.pack("<hh", 300, 100))],
        1, box=(0, 0, 4000, 1000)))

    # One colour (cyan) over its whole 64 x 48 pixel box, for the preview test.
    write("wmf/gen_placeable_cyan.wmf", metafile(
        window((0, 0), (960, 720))
        + [null_pen(), select(0), brush(GREEN | BLUE), select(1), rectangle(-20, -20, 980, 740)],
        2, box=(0, 0, 960, 720), inch=1440))

    # A 24-bit bitmap with a colour table before its pixels, stretched to 160 x 120.
    write("wmf/gen_placeable_bitmap_colour_table.wmf", metafile(
        window((0, 0), (400, 300))
        + [record(0x0F43, 0x0020, 0x00CC, 0, 30, 40, 0, 0, 300, 400, 0, 0, raw=dib(40, 30, 24, 256))],
        0, box=(0, 0, 400, 300), inch=240))

    # Work that would take minutes if every record were drawn in full: 2000
    # glyphs of 2048 pixels on one spot, and 2000 rectangles over a picture
    # of 2043 x 2043 pixels.
    font = struct.pack("<h", -32768) + bytes(16) + b"Sans\0"
    text = record(0x0A32, 500, 0, 2000, 0, *([0x5757] * 1000 + [0] * 2000))
    write("wmf/gen_hostile_glyphs.wmf", metafile(
        [record(0x02FB, raw=font), select(0), text], 1, box=(0, 0, 1000, 1000), inch=47))
    write("wmf/gen_hostile_rectangles.wmf", metafile(
        [rectangle(0, 0, 1000, 1000)] * 2000, 0, box=(0, 0, 1000, 1000), inch=47))

    bitmaps()
    jpeg_claiming_absurd_size()


def bitmaps():
    # 24 bits with a 256-colour table, as some editors write them (the colours
    # are an optimal palette for 8-bit displays, not used by the pixels).
    rgb24 = dib(40, 30, 24, 256)
    write("bmp/gen_rgb24_colour_table.bmp", bmp(rgb24, 40 + 256 * 4))
    write("dib/gen_rgb24_colour_table.dib", rgb24)
    # 16 bits, 5-6-5 masks after a 40-byte header, then 16 colours.
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    rgb16 = dib(36, 20, 16, 16, masks=masks, compression=3)
    write("bmp/gen_rgb16_masks_colour_table.bmp", bmp(rgb16, 40 + 12 + 16 * 4))
    write("dib/gen_rgb16_masks_colour_table.dib", rgb16)
    # 32 bits, 2 colours.
    rgb32 = dib(20, 20, 32, 2)
    write("dib/gen_rgb32_colour_table.dib", rgb32)
    # Info headers of 52 and 56 bytes (RGB, RGBA masks in the header), top-down.
    argb = struct.pack("<IIII", 0xFF0000, 0xFF00, 0xFF, 0xFF000000)
    for size in (52, 56):
        packed = dib(24, -12, 32, 0, masks=argb, compression=3, header_size=size,
                     pixels=gradient(24, 12, 32))
        write("bmp/gen_info_header_%d.bmp" % size, bmp(packed, size))
    # 8 bits with a 2-colour table whose pixels point past it: red, green,
    # then indices 255 and 200.
    indices = dib(4, 1, 8, 2, pixels=bytes((0, 1, 255, 200)))
    indices = indices[:40] + bytes((0, 0, 255, 0, 0, 255, 0, 0)) + indices[48:]
    write("bmp/gen_indices_past_colour_table.bmp", bmp(indices, 48))
    # A real bitmap without its file header.
    write("dib/llama_4bpp_packed.dib", read("dib/llama_4bpp.dib")[14:])


def jpeg_claiming_absurd_size():
    data = bytearray(read("jpeg/imaging_orientation_1.jpg"))
    sof = data.index(b"\xff\xc0")
    data[sof + 5:sof + 9] = struct.pack(">HH", 65500, 65500)
    write("broken/gen_jpeg_65500x65500.jpg", bytes(data))


if __name__ == "__main__":
    main()
