#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into corpus/<target>/: small
files of every kind each parser meets, well formed and damaged, plus a few
small real files from tests/data. Files that the fuzzer found (named crash-*,
timeout-*, found-*) are left alone. JPEG seeds need cjpeg (libjpeg-turbo-progs)
and ImageMagick's convert; the PNG, WebP, TIFF, HEIF and AVIF seeds are the
files of tests/data (see tools/fixtures/make_formats.py); everything else is written here.

    fuzz/make_corpora.py            writes every corpus
    fuzz/make_corpora.py gif jpeg   only those
"""

import glob
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
TEST_DATA = os.path.join(HERE, "..", "tests", "data")
sys.dont_write_bytecode = True  # keep tests/data free of caches
sys.path.insert(0, os.path.join(HERE, "..", "tools", "fixtures"))
from make_pictures import colorref, metafile, record  # noqa: E402


def put(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def copy(target, name):
    """A file of tests/data, found in the folder of its format."""
    [path] = glob.glob(os.path.join(TEST_DATA, "*", name))
    with open(path, "rb") as f:
        put(target, "data-" + name, f.read())


# --- list files -----------------------------------------------------------

def crlf(*lines):
    return b"".join((line.encode("utf-8") if isinstance(line, str) else line) + b"\r\n" for line in lines)


PATHS = ["/home/anna/Pictures/beach.jpg", "/home/anna/Pictures/cat.bmp",
         "/media/anna/USB STICK/Photos 2019/IMG_0042.JPG"]
SONGS = ["/home/anna/Music/Morning Song.mp3", "/home/anna/Music/waltz.ogg",
         "/home/anna/Music/Live/02 - Rain.wav"]


def list_bodies():
    """Entry lines as the two list files share them: (name, count line, entries)."""
    yield "three", " 3 ", PATHS
    yield "one", " 1 ", PATHS[:1]
    yield "zero", " 0 ", []
    yield "more_counted_than_given", " 5 ", PATHS[:2]
    yield "fewer_counted_than_given", " 1 ", PATHS
    yield "negative_count", "-3 ", PATHS
    yield "count_hex", "&H2", PATHS
    yield "count_octal", "&o3", PATHS
    yield "count_exponent", "2e0", PATHS
    yield "count_half_rounds_even", "2.5", PATHS
    yield "count_out_of_range", " 40000 ", PATHS
    yield "count_words", "three", PATHS
    yield "count_blank", "", PATHS
    yield "blank_entries", " 3 ", ["", PATHS[0], ""]
    yield "names_in_many_scripts", " 4 ", ["/home/jürgen/Bilder/Straße.jpg", "/home/оля/Фото/кот.gif",
                                           "/home/花子/写真/海.ico", "/tmp/emoji 😀.wmf"]
    yield "blanks_kept", " 2 ", ["  /home/anna/a b.jpg  ", "\t/tab.bmp"]
    yield "windows_paths", " 2 ", ["C:\\Pictures\\a.jpg", "\\\\server\\share\\b.gif"]
    yield "long_name", " 1 ", ["/home/anna/" + "very long folder name/" * 40 + "x.jpg"]


def picture_list():
    for name, count, entries in list_bodies():
        put("picture_list", name, crlf(" 10 ", count, *entries))
    put("picture_list", "empty", b"")
    put("picture_list", "interval_only", crlf(" 10 "))
    put("picture_list", "interval_hand_edited", crlf("5", " 1 ", PATHS[0]))
    put("picture_list", "interval_empty", crlf("", " 1 ", PATHS[0]))
    put("picture_list", "interval_words", crlf("ten", " 1 ", PATHS[0]))
    put("picture_list", "lf_only", b" 30 \n 2 \n/a.gif\n/b.ico\n")
    put("picture_list", "cr_only", b" 30 \r 2 \r/a.gif\r/b.ico\r")
    put("picture_list", "mixed_line_ends_no_last", b" 10 \r\n 3 \n/a.gif\r/b.ico\r\n/c.bmp")
    put("picture_list", "byte_order_mark", b"\xef\xbb\xbf 10 \r\n 1 \r\n/a.jpg\r\n")
    put("picture_list", "latin1_names", b" 10 \r\n 2 \r\n/home/ren\xe9/\xe9t\xe9.jpg\r\n/x\xff.bmp\r\n")
    put("picture_list", "nul_in_name", b" 10 \r\n 2 \r\n/a\0b.jpg\r\n/c.jpg\r\n")


def music_list():
    for name, count, entries in list_bodies():
        entries = [e.replace("Pictures", "Music").replace(".jpg", ".mp3") for e in entries]
        put("music_list", name, crlf(count, *entries))
    put("music_list", "songs", crlf(" 3 ", *SONGS))
    put("music_list", "empty", b"")
    put("music_list", "lf_only", b" 2 \n/a.mp3\n/b.wav\n")
    put("music_list", "cr_only", b" 2 \r/a.mp3\r/b.wav\r")
    put("music_list", "byte_order_mark", b"\xef\xbb\xbf 1 \r\n/a.mp3\r\n")
    put("music_list", "latin1_names", b" 1 \r\n/home/ren\xe9/chanson.mp3\r\n")


# --- numbers --------------------------------------------------------------

def numbers():
    texts = ["10", " 10 ", "-5 ", "+7", "\t42\t", "0", "-0", "2.5", "3.5", "-2.5", "0.5", "1.5",
             ".5", "5.", "1e1", "1E+2", "2.5e-1", "1d3", "1D-1", "32767", "32767.5", "32768",
             "-32768", "-32768.5", "-32769", "&H7FFF", "&HFFFF", "&h8000", "&HFFFFFFFF",
             "&H100000000", "&O777", "&o177777", "&H", "&O", "&X1", "&H-1", "1e", "1e+",
             "e1", ".", "-", "+-1", "1 2", "1,5", "0x1A", "inf", "-Infinity", "nan", "1e400",
             "١٢", "１２", "12abc", "", "   "]
    for i, text in enumerate(texts):
        put("numbers", "text%02d" % i, text.encode("utf-8"))
    # Binary: a double (the rounding and the random draw) and a count.
    doubles = [0.5, 2.5, -2.5, 0.49999999999999994, 32767.5, -32768.5, 1e300,
               float("inf"), float("nan"), 5e-324, 0.9999999999999999]
    for i, x in enumerate(doubles):
        put("numbers", "binary%02d" % i, struct.pack("<dh", x, 10))
    put("numbers", "binary_draw_near_one", struct.pack("<dh", 0.9999999999999999, 32767))


# --- bitmaps --------------------------------------------------------------

def stride(width, bits):
    return (width * bits + 31) // 32 * 4


def rows(width, height, bits, pixel):
    """Bottom-up rows of pixel(x, y) values packed at the given depth."""
    out = b""
    for y in reversed(range(height)):
        if bits > 8:
            row = b"".join(pixel(x, y) for x in range(width))
        else:
            acc, n, row = 0, 0, b""
            for x in range(width):
                acc = (acc << bits) | pixel(x, y)
                n += bits
                if n == 8:
                    row += bytes([acc])
                    acc, n = 0, 0
            if n:
                row += bytes([acc << (8 - n)])
        out += row + b"\0" * (stride(width, bits) - len(row))
    return out


def info_header(width, height, bits, compression=0, colors=0, size=40, image=0, masks=()):
    head = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, image,
                       2835, 2835, colors, 0)
    extra = b"".join(struct.pack("<I", m) for m in masks)
    if size > 40:
        head += (extra + b"\0" * size)[:size - 40]
        extra = b""
    return head, extra


def palette(count, quad=True):
    colors = [(0, 0, 0), (255, 255, 255), (0, 0, 255), (0, 255, 0), (255, 0, 0), (0, 255, 255),
              (255, 0, 255), (255, 255, 0)]
    out = b""
    for i in range(count):
        b, g, r = colors[i % len(colors)]
        out += bytes((b, g, r, 0) if quad else (b, g, r))
    return out


def checker(x, y):
    return (x // 2 + y // 2) % 2


def dib(width, height, bits, compression=0, size=40, masks=(), pixels=None, colors=0):
    """A packed DIB: info header, masks, colour table, pixels."""
    if pixels is None:
        if bits <= 8:
            shades = min(colors or 1 << bits, 8)
            pixels = rows(width, abs(height), bits, lambda x, y: (x + y) % shades)
        elif bits == 16:
            pixels = rows(width, abs(height), 16, lambda x, y: struct.pack("<H", (x * 2047 + y * 31) & 0xFFFF))
        elif bits == 24:
            pixels = rows(width, abs(height), 24, lambda x, y: bytes((x * 40 % 256, y * 60 % 256, 128)))
        else:
            pixels = rows(width, abs(height), 32, lambda x, y: bytes((x * 40 % 256, y * 60 % 256, 128, 255 - x * 30 % 256)))
    table = palette(colors or (1 << bits)) if bits <= 8 else b""
    head, extra = info_header(width, height, bits, compression, colors, size, len(pixels), masks)
    return head + extra + table + pixels


def core_dib(width, height, bits):
    head = struct.pack("<IHHHH", 12, width, height, 1, bits)
    return head + palette(1 << bits, quad=False) + rows(width, height, bits, lambda x, y: (x ^ y) % (1 << bits))


def rle8(width, height):
    # A run, an absolute run, a delta, end of line, end of bitmap.
    out = b""
    for y in range(height):
        if y == 1:
            out += b"\x00\x02\x02\x00" + bytes((width - 2, 3)) + b"\x00\x00"
            continue
        out += bytes((width // 2, 1)) + b"\x00\x04" + bytes((2, 3, 4, 5))
        if width - width // 2 - 4 > 0:
            out += bytes((width - width // 2 - 4, 6))
        out += b"\x00\x00"
    return out + b"\x00\x01"


def rle4(width, height):
    out = b""
    for y in range(height):
        out += bytes((width // 2, 0x12)) + b"\x00\x04\x34\x56"
        if width - width // 2 - 4 > 0:
            out += bytes((width - width // 2 - 4, 0x77))
        out += b"\x00\x00"
    return out + b"\x00\x01"


def bmp(packed, bits_offset=None):
    size = struct.unpack_from("<I", packed)[0]
    if bits_offset is None:
        if size == 12:
            bits = struct.unpack_from("<H", packed, 10)[0]
            bits_offset = 14 + 12 + (3 << bits if bits <= 8 else 0)
        else:
            bits, comp, colors = struct.unpack_from("<H", packed, 14)[0], struct.unpack_from("<I", packed, 16)[0], \
                struct.unpack_from("<I", packed, 32)[0]
            masks = 12 if size == 40 and comp == 3 else 16 if size == 40 and comp == 6 else 0
            table = 4 * (colors or (1 << bits)) if bits <= 8 else 0
            bits_offset = 14 + size + masks + table
    return b"BM" + struct.pack("<IHHI", 14 + len(packed), 0, 0, bits_offset) + packed


RGB565 = (0xF800, 0x07E0, 0x001F)
RGBA32 = (0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)


def dib_family():
    """(name, packed DIB) pairs that both the bitmap and the DIB corpora use."""
    yield "pal1_8x4", dib(8, 4, 1)
    yield "pal4_9x3", dib(9, 3, 4, colors=8)
    yield "pal8_6x5_four_colours", dib(6, 5, 8, colors=4)
    yield "rgb555_5x3", dib(5, 3, 16)
    yield "rgb565_bitfields", dib(5, 3, 16, compression=3, masks=RGB565)
    yield "rgb24_5x3", dib(5, 3, 24)
    yield "rgb24_top_down", dib(4, -3, 24)
    yield "rgb32_plain", dib(4, 3, 32)
    yield "rgba32_alphabitfields", dib(4, 3, 32, compression=6, masks=RGBA32)
    yield "rgba32_v4", dib(4, 3, 32, compression=3, size=108, masks=RGBA32)
    yield "rgba32_v5", dib(4, 3, 32, compression=3, size=124, masks=RGBA32)
    yield "rgb565_header52", dib(5, 3, 16, compression=3, size=52, masks=RGB565)
    yield "rgba32_header56", dib(4, 3, 32, compression=3, size=56, masks=RGBA32)
    yield "pal8_os2_header64", dib(6, 5, 8, size=64, colors=4)
    yield "pal8_core_header", core_dib(6, 4, 8)
    yield "pal4_core_header", core_dib(5, 4, 4)
    yield "rle8_12x3", dib(12, 3, 8, compression=1, pixels=rle8(12, 3), colors=8)
    yield "rle4_12x3", dib(12, 3, 4, compression=2, pixels=rle4(12, 3), colors=8)
    yield "cut_short", dib(16, 16, 24)[:200]
    yield "too_large_header_only", info_header(70000, 10, 24)[0]
    yield "palette_past_its_colours", dib(6, 2, 8, colors=2, pixels=rows(6, 2, 8, lambda x, y: x * 50))


def bitmap():
    for name, packed in dib_family():
        put("bitmap", name + ".bmp", bmp(packed))
    put("bitmap", "bits_offset_past_end.bmp", bmp(dib(4, 3, 24), bits_offset=5000))
    put("bitmap", "bits_offset_inside_header.bmp", bmp(dib(4, 3, 24), bits_offset=20))
    put("bitmap", "header_cut.bmp", bmp(dib(4, 3, 24))[:30])
    copy("bitmap", "bmpsuite_pal1.bmp")


def dib_corpus():
    for name, packed in dib_family():
        put("dib", name + ".dib", packed)


# --- icons ----------------------------------------------------------------

def png(width, height, pixel):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + b"".join(pixel(x, y) for x in range(width)) for y in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def icon_bitmap(size, bits):
    """An icon image: a DIB of twice the height (colours, then the AND mask)."""
    colour = dib(size, size, bits, colors=16 if bits == 4 else 0)
    head, _ = info_header(size, 2 * size, bits, 0, 16 if bits == 4 else 0)
    mask = rows(size, size, 1, lambda x, y: 1 if x == 0 or y == 0 else 0)
    return head + colour[40:] + mask


def ico(images, directory_sizes=None):
    """images: list of image bytes; each directory entry gives its offset and length."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for i, data in enumerate(images):
        w = h = (directory_sizes or [16] * len(images))[i]
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    return out + body


def icon():
    rgba = png(8, 8, lambda x, y: bytes((x * 30, y * 30, 200, 255 if (x + y) % 3 else 0)))
    put("icon", "rgba32_16.ico", ico([icon_bitmap(16, 32)]))
    put("icon", "pal4_16.ico", ico([icon_bitmap(16, 4)]))
    put("icon", "mono_16.ico", ico([icon_bitmap(16, 1)]))
    put("icon", "png_8.ico", ico([rgba], [8]))
    put("icon", "two_sizes.ico", ico([icon_bitmap(16, 32), rgba], [16, 8]))
    put("icon", "directory_sizes_wrong.ico", ico([icon_bitmap(16, 8)], [0]))
    damaged = bytearray(ico([icon_bitmap(16, 32), icon_bitmap(16, 4)]))
    struct.pack_into("<I", damaged, 6 + 12, 1 << 20)  # the first entry points past the end
    put("icon", "one_entry_outside.ico", bytes(damaged))
    put("icon", "png_cut_short.ico", ico([rgba[:40]], [8]))
    copy("icon", "pillow_black_and_white.ico")
    copy("icon", "sdl_sample_23x42.ico")


# --- GIF ------------------------------------------------------------------

def lzw(pixels, min_size=8):
    """GIF image data: literal codes only, with a clear code before the code
    table would grow, so the code size stays min_size + 1."""
    clear, end, size = 1 << min_size, (1 << min_size) + 1, min_size + 1
    codes, since_clear = [clear], 0
    for p in pixels:
        if since_clear == (1 << size) - clear - 3:
            codes.append(clear)
            since_clear = 0
        codes.append(p)
        since_clear += 1
    codes.append(end)
    acc = nbits = 0
    data = bytearray()
    for c in codes:
        acc |= c << nbits
        nbits += size
        while nbits >= 8:
            data.append(acc & 255)
            acc >>= 8
            nbits -= 8
    if nbits:
        data.append(acc)
    blocks = b"".join(bytes((len(data[i:i + 255]),)) + data[i:i + 255] for i in range(0, len(data), 255))
    return bytes((min_size,)) + blocks + b"\0"


GIF_COLOURS = bytes((0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 128, 255))


def gif_frame(left, top, width, height, pixel, local=None, interlaced=False):
    flags = (0x40 if interlaced else 0) | ((0x80 | 1) if local else 0)
    order = list(range(height))
    if interlaced:
        order = list(range(0, height, 8)) + list(range(4, height, 8)) + list(range(2, height, 4)) + list(range(1, height, 2))
    pixels = [pixel(x, y) for y in order for x in range(width)]
    return (b"\x2c" + struct.pack("<HHHHB", left, top, width, height, flags) + (local or b"")
            + lzw(pixels))


def gif(width, height, frames, version=b"89a", extensions=b"", colours=GIF_COLOURS):
    flags = 0x80 | 0x10 | 1 if colours else 0
    return (b"GIF" + version + struct.pack("<HHBBB", width, height, flags, 0, 0) + (colours or b"")
            + extensions + b"".join(frames) + b"\x3b")


def graphic_control(transparent=None, delay=10, disposal=1):
    flags = (disposal << 2) | (1 if transparent is not None else 0)
    return b"\x21\xf9\x04" + struct.pack("<BHB", flags, delay, transparent or 0) + b"\0"


def gif_corpus():
    diagonal = lambda x, y: (x + y) % 4
    put("gif", "gif87a_6x4.gif", gif(6, 4, [gif_frame(0, 0, 6, 4, diagonal)], version=b"87a"))
    put("gif", "transparent.gif", gif(5, 5, [graphic_control(transparent=1) + gif_frame(0, 0, 5, 5, diagonal)]))
    put("gif", "interlaced_8x10.gif", gif(8, 10, [gif_frame(0, 0, 8, 10, diagonal, interlaced=True)]))
    put("gif", "local_colours_only.gif", gif(4, 4, [gif_frame(0, 0, 4, 4, lambda x, y: (x ^ y) & 1,
                                                              local=GIF_COLOURS[:6] + GIF_COLOURS[6:12])],
                                             colours=None))
    loop = b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    put("gif", "two_frames_looping.gif", gif(6, 6, [graphic_control(delay=50) + gif_frame(0, 0, 6, 6, diagonal),
                                                    graphic_control(delay=50, disposal=2) + gif_frame(2, 2, 3, 3, lambda x, y: 2)],
                                             extensions=loop))
    put("gif", "frame_inside_screen.gif", gif(10, 8, [gif_frame(3, 2, 4, 4, diagonal)]))
    put("gif", "frame_past_screen.gif", gif(4, 4, [gif_frame(2, 2, 6, 6, diagonal)]))
    put("gif", "huge_screen_small_frame.gif", gif(60000, 60000, [gif_frame(0, 0, 4, 4, diagonal)]))
    comment = b"\x21\xfe\x0d" + b"made for test" + b"\0"
    text = b"\x21\x01\x0c" + bytes(12) + b"\x02hi\0"
    put("gif", "comment_and_plain_text.gif", gif(4, 4, [gif_frame(0, 0, 4, 4, diagonal)], extensions=comment + text))
    put("gif", "cut_in_image_data.gif", gif(16, 16, [gif_frame(0, 0, 16, 16, diagonal)])[:60])
    put("gif", "no_image.gif", gif(4, 4, []))
    copy("gif", "gts_gif87a.gif")


# --- JPEG -----------------------------------------------------------------

def ppm(width, height):
    body = bytes(v for y in range(height) for x in range(width)
                 for v in (x * 255 // width, y * 255 // height, (x * y) % 256))
    return b"P6\n%d %d\n255\n" % (width, height) + body


def cjpeg(options, width=16, height=16):
    return subprocess.run(["cjpeg"] + options, input=ppm(width, height), capture_output=True,
                          check=True).stdout


def with_exif(jpeg, orientation, big_endian=True):
    order = ">" if big_endian else "<"
    tiff = (b"MM\0*" if big_endian else b"II*\0") + struct.pack(order + "I", 8)
    tiff += struct.pack(order + "HHHIHH", 1, 0x0112, 3, 1, orientation, 0) + struct.pack(order + "I", 0)
    payload = b"Exif\0\0" + tiff
    return jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(payload) + 2) + payload + jpeg[2:]


def jpeg():
    base = cjpeg(["-quality", "75"])
    put("jpeg", "baseline_420.jpg", base)
    put("jpeg", "baseline_444_17x9.jpg", cjpeg(["-sample", "1x1"], 17, 9))
    put("jpeg", "baseline_422_odd_33x7.jpg", cjpeg(["-sample", "2x1"], 33, 7))
    put("jpeg", "greyscale.jpg", cjpeg(["-grayscale"]))
    put("jpeg", "progressive.jpg", cjpeg(["-progressive"], 24, 20))
    put("jpeg", "arithmetic.jpg", cjpeg(["-arithmetic"]))
    put("jpeg", "restart_every_row.jpg", cjpeg(["-restart", "1"], 32, 16))
    put("jpeg", "optimized_huffman.jpg", cjpeg(["-optimize"]))
    put("jpeg", "exif_orientation_6.jpg", with_exif(base, 6))
    put("jpeg", "exif_orientation_8_intel.jpg", with_exif(base, 8, big_endian=False))
    put("jpeg", "exif_orientation_out_of_range.jpg", with_exif(base, 9))
    put("jpeg", "cut_in_scan.jpg", base[:len(base) - 40])
    put("jpeg", "header_only.jpg", base[:base.index(b"\xff\xda")])
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, "in.ppm")
        cmyk = os.path.join(tmp, "cmyk.jpg")
        with open(source, "wb") as f:
            f.write(ppm(16, 16))
        subprocess.run(["convert", source, "-colorspace", "CMYK", "-quality", "70", cmyk], check=True)
        with open(cmyk, "rb") as f:
            put("jpeg", "cmyk.jpg", f.read())
    copy("jpeg", "imaging_orientation_5.jpg")
    copy("jpeg", "gen_exif_thumbnail_orientation_6.jpg")
    copy("jpeg", "gen_exif_thumbnail_with_bars.jpg")
    copy("jpeg", "gen_progressive_scan_per_colour.jpg")


# --- metafiles ------------------------------------------------------------

def pen(style, width, colour):
    return record(0x02FA, style, width, 0, *colorref(colour))


def brush(style, colour, hatch=0):
    return record(0x02FC, style, *colorref(colour), hatch)


def font(height, face=b"DejaVu Sans", escapement=0, weight=400, italic=0, underline=0, strike=0):
    body = struct.pack("<hhhhhBBBBBBBB", height, 0, escapement, 0, weight, italic, underline, strike,
                       0, 0, 0, 0, 0) + face + b"\0"
    return record(0x02FB, raw=body)


def select(i):
    return record(0x012D, i)


def delete(i):
    return record(0x01F0, i)


def window(org, ext):
    return [record(0x020B, org[1], org[0]), record(0x020C, ext[1], ext[0])]


def box(function, left, top, right, bottom, *before):
    return record(function, *before, bottom, right, top, left)


def points(function, pts):
    return record(function, len(pts), *[v for p in pts for v in p])


def metafile_corpus():
    shapes = (window((0, 0), (1000, 1000)) + [
        pen(0x2000 | 0x0100, 30, 0x000080), select(0), brush(0, 0x00C0FF), select(1),
        box(0x041B, 50, 50, 300, 250), box(0x061C, 350, 50, 600, 250, 80, 60),
        box(0x0418, 650, 50, 950, 250),
        pen(1, 0, 0x0000FF), select(2), brush(2, 0x008000, 3), select(3),
        record(0x0817, 400, 950, 400, 50, 550, 950, 300, 50), record(0x081A, 500, 700, 500, 300, 600, 700, 300, 300),
        record(0x0830, 450, 50, 550, 950, 900, 950, 600, 650),
        brush(1, 0), select(4), record(0x0106, 2),
        points(0x0324, [(100, 700), (300, 950), (50, 950), (250, 700)]),
        points(0x0325, [(600, 600), (700, 650), (800, 600), (900, 650)]),
        record(0x0538, 2, 3, 3, 100, 100, 200, 100, 150, 200, 110, 110, 190, 110, 150, 190),
        record(0x0214, 900, 100), record(0x0213, 950, 900), record(0x041F, *colorref(0xFF0000), 500, 500),
        record(0x0104, 1), box(0x041B, 10, 10, 40, 40), record(0x0104, 11), box(0x041B, 10, 10, 990, 990),
        record(0x0104, 16), box(0x0418, 960, 960, 990, 990), record(0x0104, 13),
        delete(0), delete(1), delete(2), delete(3), delete(4)])
    put("metafile", "shapes.wmf", metafile(shapes, 5, box=(0, 0, 1000, 1000), inch=500))

    text = (window((0, 0), (2000, 1000)) + [
        font(-120), select(0), record(0x0209, *colorref(0x0000FF)), record(0x0201, *colorref(0xFFFF00)),
        record(0x0102, 2), record(0x0521, 5, raw=b"Hello\0" + struct.pack("<hh", 150, 50)),
        font(200, b"DejaVu Serif", escapement=900, weight=700, italic=1, underline=1, strike=1), select(1),
        record(0x0102, 1), record(0x012E, 6 | 24), record(0x0521, 3, raw=b"Up!\0" + struct.pack("<hh", 900, 1000)),
        font(0, b""), select(2), record(0x012E, 2 | 8),
        record(0x0A32, 600, 1900, 4, 6, 1500, 500, 1950, 700, raw=b"Wide" + struct.pack("<hhhh", 60, 80, 100, 120)),
        record(0x012E, 1), record(0x0214, 900, 100),
        record(0x0A32, 0, 0, 6, 0, raw=b"moved " + struct.pack("<hhhhhh", 50, 50, 50, 50, 50, 50)),
        record(0x0A32, 0, 0, 3, 0, raw=b"cp!\0"),
        record(0x0A32, 950, 100, 0, 2, 100, 900, 400, 980),
        delete(0), delete(1), delete(2)])
    put("metafile", "text.wmf", metafile(text, 3, box=(0, 0, 2000, 1000), inch=1000))

    clip = (window((0, 0), (400, 400)) + [
        brush(0, 0xFF0000), select(0), record(0x001E), box(0x0416, 50, 50, 350, 350), box(0x0415, 150, 150, 250, 250),
        box(0x041B, 0, 0, 400, 400), record(0x001E), record(0x020F, 20, 20), record(0x0410, 2, 1, 2, 1),
        box(0x0418, 0, 0, 100, 100), record(0x0127, -1), box(0x0418, 300, 300, 400, 400), record(0x0127, 1),
        record(0x0127, 5), record(0x0127, -9), box(0x041B, 180, 0, 220, 400),
        record(0x0103, 8), record(0x020E, 100, 100), record(0x020D, 5, 5), record(0x0211, 1, 1),
        record(0x0412, 1, 1, 1, 1), record(0x0220, 3, 3)])
    put("metafile", "clip_and_states.wmf", metafile(clip, 1, box=(0, 0, 400, 400), inch=96))

    pal8 = dib(4, 4, 8, colors=4)
    mono = dib(8, 8, 1)
    rgb = dib(3, 2, 24)
    pattern = dib(8, 8, 1)
    bitmaps = (window((0, 0), (600, 600)) + [
        record(0x0F43, 0x0020, 0x00CC, 0, 4, 4, 0, 0, 200, 200, 0, 0, raw=pal8),
        record(0x0B41, 0x0020, 0x0088, 8, 8, 0, 0, -200, 200, 200, 400, raw=mono),
        record(0x0940, 0x0086, 0x00EE, 0, 0, 2, 3, 400, 0, raw=rgb),
        record(0x061D, 0x0021, 0x00F0, 100, 100, 400, 400), record(0x061D, 0x0042, 0x0000, 20, 20, 0, 580),
        record(0x061D, 0x0062, 0x00FF, 20, 20, 20, 580), record(0x061D, 0x0009, 0x0055, 20, 20, 40, 580),
        record(0x061D, 0x0049, 0x005A, 20, 20, 60, 580), record(0x061D, 0x0000, 0x00AA, 20, 20, 80, 580),
        record(0x0922, 0x0021, 0x00F0, 0, 0, 0, 50, 50, 500, 500),
        record(0x0B23, 0x0021, 0x00F0, 0, 10, 10, 0, 0, 50, 50, 500, 0),
        record(0x0142, 0, 0, raw=pattern), select(0), box(0x041B, 250, 250, 350, 350),
        record(0x01F9, raw=bytes(20)), select(1), box(0x0418, 450, 250, 550, 350),
        record(0x0F43, 0x0020, 0x00CC, 0, 4, 4, 0, 0, 100, 100, 500, 500, raw=pal8[:30])])
    put("metafile", "bitmaps_and_blits.wmf", metafile(bitmaps, 2, box=(0, 0, 600, 600), inch=600))

    objects = (window((0, 0), (100, 100)) + [
        record(0x00F7, 0x0300, 2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0), record(0x06FF, *([0] * 11)),
        pen(5, 0, 0), brush(0, 0x00FF00), select(7), select(3), select(2), delete(0), delete(0),
        brush(0, 0x0000FF), select(0), box(0x041B, 10, 10, 90, 90), select(40000), delete(40000),
        record(0x0626, 15, 4, 0, 0), record(0x0234, 0), record(0x0035), record(0x0231, 0, 0),
        record(0x0107, 3), record(0x0108, 2), record(0x020A, 0, 0), record(0x0105, 0)])
    put("metafile", "objects.wmf", metafile(objects, 2, box=(0, 0, 100, 100), inch=100))

    put("metafile", "plain_himetric_no_window.wmf", metafile(
        [record(0x0103, 3), brush(0, 0x0000FF), select(0), box(0x041B, 0, 0, 2540, -1270)], 1))
    put("metafile", "plain_anisotropic_window.wmf", metafile(
        [record(0x0103, 8)] + window((-50, 50), (100, -100))
        + [brush(0, 0x00FF00), select(0), box(0x0418, -40, 40, 40, -40)], 1))
    put("metafile", "plain_text_only.wmf", metafile(
        [font(-40), select(0), record(0x0521, 4, raw=b"Only" + struct.pack("<hh", 100, 10))], 1))
    put("metafile", "plain_draws_nothing.wmf", metafile([record(0x0103, 1)], 0))
    put("metafile", "empty_bounding_box.wmf", metafile([box(0x041B, 0, 0, 10, 10)], 0, box=(5, 5, 5, 50)))
    put("metafile", "no_end_record.wmf", metafile([box(0x041B, 0, 0, 10, 10)], 0, box=(0, 0, 10, 10), end=False))
    put("metafile", "record_past_end.wmf", metafile([box(0x041B, 0, 0, 10, 10)], 0, box=(0, 0, 10, 10))[:-8])
    put("metafile", "huge_box_tiny_inch.wmf", metafile([box(0x041B, -30000, -30000, 30000, 30000)], 0,
                                                       box=(-32768, -32768, 32767, 32767), inch=1))
    for name in ["TestExtTextOutOpaqueAndClip.wmf", "TestRoundRect.wmf", "TestStretchDIB.wmf",
                 "tdf88163-non-placeable.wmf", "lo_wmf_ofz35149-1.wmf", "gen_placeable_y_up.wmf",
                 "gen_plain_no_window.wmf"]:
        copy("metafile", name)


# --- PNG, WebP, TIFF, HEIF and AVIF ----------------------------------------

def data_pictures(folders, broken):
    """The pictures of tests/data/<folder>/ (not their references) and the
    files of broken/ whose names start with one of broken."""
    names = []
    for folder in folders:
        files = os.listdir(os.path.join(TEST_DATA, folder))
        names += [f for f in files if os.path.splitext(f)[0] not in files]
    files = os.listdir(os.path.join(TEST_DATA, "broken"))
    return sorted(names + [f for f in files if f.startswith(broken) and not f.endswith(".txt")])


def qtformats():
    for name in data_pictures(["png", "webp", "tiff"], ("gen_png_", "gen_webp_", "gen_tiff_")):
        copy("qtformats", name)


def heif():
    for name in data_pictures(["heif", "avif"], ("gen_heic_", "gen_avif_")):
        copy("heif", name)


CORPORA = {
    "picture_list": picture_list, "music_list": music_list, "numbers": numbers,
    "bitmap": bitmap, "dib": dib_corpus, "icon": icon, "gif": gif_corpus, "jpeg": jpeg,
    "metafile": metafile_corpus, "qtformats": qtformats, "heif": heif,
}

if __name__ == "__main__":
    wanted = sys.argv[1:] or list(CORPORA)
    for target in wanted:
        if target not in CORPORA:
            sys.exit("no corpus named %s (known: %s)" % (target, ", ".join(CORPORA)))
        CORPORA[target]()
    for target in wanted:
        folder = os.path.join(HERE, "corpus", target)
        files = os.listdir(folder)
        total = sum(os.path.getsize(os.path.join(folder, f)) for f in files)
        print("%-13s %4d files %8d bytes" % (target, len(files), total))
