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

    old_metafile_records()
    bitmaps()
    jpeg_claiming_absurd_size()
    cmyk_without_adobe_marker()


def ddb(width, height, bits, rows):
    """A device-dependent bitmap (Bitmap16): rows top-down, each padded to a word."""
    stride = (width * bits + 15) // 16 * 2
    return struct.pack("<hhhhBB", 0, width, height, stride, 1, bits) + b"".join(r.ljust(stride, b"\0") for r in rows)


def mono_dib(width, height, rows):
    """A 1-bit packed DIB (black, white), rows given top-down."""
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, 0, 0, 0, 2, 0)
    stride = (width + 31) // 32 * 4
    return header + bytes((0, 0, 0, 0, 255, 255, 255, 0)) + b"".join(r.ljust(stride, b"\0") for r in reversed(rows))


def rgb_dib(width, height, pixels):
    """A 24-bit packed DIB from rows of colours, top-down."""
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, 0, 0, 0, 0, 0)
    def px(c):
        return bytes(((c >> 16) & 255, (c >> 8) & 255, c & 255))
    rows = [b"".join(px(c) for c in row) for row in reversed(pixels)]
    return header + b"".join(r + b"\0" * (-len(r) % 4) for r in rows)


def old_metafile_records():
    grey = 0xC0C0C0
    # 1 unit a pixel (96 units an inch). A grey page; a monochrome device
    # bitmap copied 1:1 (0 bits take the text colour, black; 1 bits the
    # background colour, white): the left 8 x 16 black, the right white. A 24-bit
    # device bitmap (rows top-down: red, green / blue, yellow) stretched to 64 x 64.
    mono = ddb(16, 16, 1, [b"\x00\xff"] * 16)
    colour = ddb(2, 2, 24, [bytes((0, 0, 255, 0, 255, 0)), bytes((255, 0, 0, 0, 255, 255))])
    write("wmf/gen_device_bitmaps.wmf", metafile(
        window((0, 0), (96, 96))
        + [null_pen(), select(0), brush(grey), select(1), rectangle(0, 0, 96, 96),
           record(0x0922, 0x0020, 0x00CC, 0, 0, 16, 16, 8, 8, raw=mono),
           record(0x0B23, 0x0020, 0x00CC, 2, 2, 0, 0, 64, 64, 24, 24, raw=colour)],
        2, box=(0, 0, 96, 96), inch=96))

    # Icons drawn as masks do it: on a grey page, a mask (white keeps the page,
    # black clears it) ANDed in, then the colour (black where the page shows)
    # XORed in, beside it ORed in, and last the inverted mask cleared out
    # (page AND NOT mask). Each icon: a 16 x 16 red square inside 32 x 32.
    inside = [b"\xff\x00\x00\xff" if 8 <= y < 24 else b"\xff\xff\xff\xff" for y in range(32)]
    mask = mono_dib(32, 32, inside)
    inverted = mono_dib(32, 32, [bytes(255 - b for b in row) for row in inside])
    colour = rgb_dib(32, 32, [[RED if 8 <= x < 24 and 8 <= y < 24 else BLACK for x in range(32)] for y in range(32)])
    def blit(rop, x, dib):
        return record(0x0940, rop & 0xFFFF, rop >> 16, 0, 0, 32, 32, 16, x, raw=dib)
    write("wmf/gen_icon_mask_and_colour.wmf", metafile(
        window((0, 0), (144, 64))
        + [null_pen(), select(0), brush(grey), select(1), rectangle(0, 0, 144, 64),
           blit(0x8800C6, 8, mask), blit(0x660046, 8, colour),
           blit(0x8800C6, 56, mask), blit(0xEE0086, 56, colour),
           blit(0x220326, 104, inverted), blit(0xEE0086, 104, colour)],
        2, box=(0, 0, 144, 64), inch=96))

    # Colours chosen by index into a palette created and selected: four
    # stripes, palette entries 2, 0, 3, 1 (red, green, blue, yellow).
    entries = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)]
    palette = record(0x00F7, 0x0300, len(entries), raw=b"".join(bytes((r, g, b, 0)) for r, g, b in entries))
    stripes = []
    for i, index in enumerate((2, 0, 3, 1)):
        stripes += [record(0x02FC, 0, index, 0x0100, 0), select(2 + i), rectangle(16 * i, 0, 16 * i + 16, 32)]
    write("wmf/gen_palette_index_colours.wmf", metafile(
        window((0, 0), (64, 32))
        + [palette, record(0x0234, 0, 0), null_pen(), select(1)] + stripes,
        6, box=(0, 0, 64, 32), inch=96))

    # Text asked for at a third of its usual character width, inside a frame
    # of that width: the letters stay inside it.
    font = struct.pack("<hhhhhBBBBBBBB", -40, 8, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0) + b"DejaVu Sans\0"
    write("wmf/gen_narrowed_text.wmf", metafile(
        window((0, 0), (200, 60))
        + [record(0x02FB, raw=font), select(0), record(0x0209, *colorref(BLACK)), record(0x0102, 1),
           record(0x02FA, 0, 1, 0, *colorref(RED)), select(1), record(0x02FC, 1, 0, 0, 0), select(2),
           rectangle(10, 10, 190, 50), record(0x0521, 16, raw=b"NARROWED LETTERS" + struct.pack("<hh", 12, 12))],
        3, box=(0, 0, 200, 60), inch=96))


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
    # Run-length codes that leave pixels unset: a full row of red, 4 green
    # pixels then the end of the line, a move right 4 and down 1, 8 blue
    # pixels, the end of the bitmap. Palette: red, green, blue, white.
    palette = bytes((0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0))
    for name, compression, bits, codes in (
            ("rle8", 1, 8, bytes((16, 0, 0, 0, 4, 1, 0, 0, 0, 2, 4, 1, 0, 8) + (2,) * 8 + (0, 0, 0, 1))),
            ("rle4", 2, 4, bytes((16, 0x00, 0, 0, 4, 0x11, 0, 0, 0, 2, 4, 1, 0, 8, 0x22, 0x22, 0x22, 0x22, 0, 0, 0, 1)))):
        header = struct.pack("<IiiHHIIiiII", 40, 16, 8, 1, bits, compression, len(codes), 0, 0, 4, 0)
        write("bmp/gen_%s_skipped_pixels.bmp" % name, bmp(header + palette + codes, 40 + 16))
    # A real bitmap without its file header.
    write("dib/llama_4bpp_packed.dib", read("dib/llama_4bpp.dib")[14:])


def huffman_codes(bits, values):
    codes, code, k = {}, 0, 0
    for length, count in enumerate(bits, 1):
        for _ in range(count):
            codes[values[k]] = (code, length)
            code, k = code + 1, k + 1
        code <<= 1
    return codes


def flat_block_jpeg(blocks, components):
    """A baseline JPEG of flat 8 x 8 blocks, exact (every quantiser 1, no AC
    terms): blocks is rows of pixels, each a tuple of component samples."""
    dc_bits, dc_values = [0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0], list(range(12))
    dc = huffman_codes(dc_bits, dc_values)
    height, width = 8 * len(blocks), 8 * len(blocks[0])
    def segment(marker, body):
        return struct.pack(">BBH", 0xFF, marker, len(body) + 2) + body
    out = b"\xff\xd8" + segment(0xDB, b"\0" + bytes([1] * 64))
    out += segment(0xC0, struct.pack(">BHHB", 8, height, width, components)
                   + b"".join(bytes((i + 1, 0x11, 0)) for i in range(components)))
    out += segment(0xC4, b"\x00" + bytes(dc_bits) + bytes(dc_values))
    out += segment(0xC4, b"\x10" + bytes([1] + [0] * 15) + b"\0")  # end of block only: code 0
    out += segment(0xDA, bytes([components]) + b"".join(bytes((i + 1, 0)) for i in range(components)) + b"\0\x3f\0")
    bits, previous = "", [0] * components
    for row in blocks:
        for pixel in row:
            for c in range(components):
                value = 8 * (pixel[c] - 128)
                diff, previous[c] = value - previous[c], value
                size = abs(diff).bit_length()
                code, length = dc[size]
                bits += format(code, "0%db" % length)
                if size:
                    bits += format(diff if diff > 0 else diff + (1 << size) - 1, "0%db" % size)
                bits += "0"
    bits += "1" * (-len(bits) % 8)
    data = bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8)).replace(b"\xff", b"\xff\x00")
    return out + data + b"\xff\xd9"


def cmyk_without_adobe_marker():
    # Plain ink amounts, as written without the marker: red, green, blue,
    # white / cyan, magenta, yellow, 50 % black (reference: those colours).
    inks = [[(0, 255, 255, 0), (255, 0, 255, 0), (255, 255, 0, 0), (0, 0, 0, 0)],
            [(255, 0, 0, 0), (0, 255, 0, 0), (0, 0, 255, 0), (0, 0, 0, 128)]]
    write("jpeg/gen_cmyk_no_adobe_marker.jpg", flat_block_jpeg(inks, 4))


def jpeg_claiming_absurd_size():
    data = bytearray(read("jpeg/imaging_orientation_1.jpg"))
    sof = data.index(b"\xff\xc0")
    data[sof + 5:sof + 9] = struct.pack(">HH", 65500, 65500)
    write("broken/gen_jpeg_65500x65500.jpg", bytes(data))


if __name__ == "__main__":
    main()
