#!/usr/bin/env python3
"""Writes the generated PNG, WebP, TIFF, HEIC and AVIF files of the
reference-image test, each with the picture it must decode to (its name +
".png"), and the damaged and oversized ones of broken/ with the words their
refusal must give (+ ".txt").

The pictures are drawn by ImageMagick and encoded by Debian's tools
(ImageMagick's convert, cwebp, img2webp and webpmux from webp, tiffset from
libtiff-tools, heif-enc from libheif-examples). Lossless files decode to the
drawn picture itself, which is their reference; a lossy file's reference is
what the format's own tool (dwebp, or ImageMagick through libheif) decodes.
Orientation that the encoders cannot write (EXIF blocks, HEIF rotation) is
put in here; the stored pixels are the upright picture turned the other way,
so the reference of every turned file is the upright picture. Run from
anywhere; needs the packages named above."""

import os
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
TMP = tempfile.mkdtemp()


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def tmp(name):
    return os.path.join(TMP, name)


def path(name):
    return os.path.join(HERE, name)


def read(name):
    with open(name, "rb") as f:
        return f.read()


def write(name, data):
    with open(path(name), "wb") as f:
        f.write(data)


def refuse(name, data, words):
    write("broken/" + name, data)
    write("broken/" + name + ".txt", words.encode() + b"\n")


def reference(name, source):
    """The picture name must decode to: source converted to an 8-bit PNG."""
    run("convert", source, "-depth", "8", "-strip", path(name + ".png"))


def decoded(name):
    """The reference of a lossy HEIF or AVIF file: what libheif's own tool
    decodes (ImageMagick here drops the alpha channel)."""
    run("heif-convert", path(name), tmp("decoded.png"))
    reference(name, tmp("decoded.png"))


def drawn():
    """The upright test pictures: a gradient with marks in two corners and a
    circle off centre (any turn or mirror moves them), opaque, with alpha, and
    with 16-bit samples; a second frame unlike the first."""
    marks = ["-fill", "red", "-draw", "rectangle 2,2 21,13", "-fill", "lime", "-draw",
             "rectangle 44,36 61,45", "-fill", "white", "-draw", "circle 40,12 40,18"]
    run("convert", "-size", "64x48", "gradient:yellow-navy", *marks, "-strip", "PNG24:" + tmp("upright.png"))
    run("convert", "-size", "64x48", "gradient:yellow-navy", "-depth", "16", *marks, "(", "-size", "64x48",
        "gradient:white-gray40", ")", "-alpha", "off", "-compose", "CopyOpacity", "-composite",
        "-strip", "PNG64:" + tmp("alpha16.png"))
    run("convert", tmp("alpha16.png"), "-depth", "8", "-strip", "PNG32:" + tmp("alpha.png"))
    run("convert", tmp("upright.png"), "-negate", "-strip", "PNG24:" + tmp("second.png"))
    run("convert", "-size", "160x120", "-seed", "7", "plasma:", "-strip", "PNG24:" + tmp("large.png"))
    for name, turn in (("cw", "-rotate 90"), ("ccw", "-rotate -90"), ("transpose", "-transpose"),
                       ("transverse", "-transverse")):
        run("convert", tmp("upright.png"), *turn.split(), "-strip", "PNG24:" + tmp(name + ".png"))


def exif(orientation):
    """An EXIF block (a big-endian TIFF structure) holding only the orientation."""
    return b"MM\0\x2a" + struct.pack(">IHHHIHHI", 8, 1, 0x0112, 3, 1, orientation, 0, 0)


# --- PNG ---------------------------------------------------------------------

def chunks(png):
    at, out = 8, []
    while at < len(png):
        length, = struct.unpack(">I", png[at:at + 4])
        out.append((png[at + 4:at + 8], png[at + 8:at + 8 + length]))
        at += 12 + length
    return out


def png(parts):
    return b"\x89PNG\r\n\x1a\n" + b"".join(
        struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
        for kind, data in parts)


def pngs():
    def with_exif(source, orientation, before_pixels):
        parts = chunks(read(source))
        at = 1 if before_pixels else len(parts) - 1
        return png(parts[:at] + [(b"eXIf", exif(orientation))] + parts[at:])

    write("png/gen_exif_orientation_6.png", with_exif(tmp("ccw.png"), 6, True))
    reference("png/gen_exif_orientation_6.png", tmp("upright.png"))
    # libpng writes the block after the pixels when it is set late.
    write("png/gen_exif_after_pixels_orientation_8.png", with_exif(tmp("cw.png"), 8, False))
    reference("png/gen_exif_after_pixels_orientation_8.png", tmp("upright.png"))
    # Animated: the default image is the first frame, a second follows.
    first, second = chunks(read(tmp("upright.png"))), chunks(read(tmp("second.png")))
    ihdr = first[0][1]
    control = lambda seq: struct.pack(">IIIIIHHBB", seq, *struct.unpack(">II", ihdr[:8]), 0, 0, 1, 10, 0, 0)
    write("png/gen_animated_two_frames.png", png(
        [first[0], (b"acTL", struct.pack(">II", 2, 0)), (b"fcTL", control(0))]
        + [c for c in first if c[0] == b"IDAT"] + [(b"fcTL", control(1))]
        + [(b"fdAT", struct.pack(">I", 2) + c[1]) for c in second if c[0] == b"IDAT"] + [(b"IEND", b"")]))
    reference("png/gen_animated_two_frames.png", tmp("upright.png"))
    run("cp", tmp("alpha16.png"), path("png/gen_rgba_16bit.png"))
    reference("png/gen_rgba_16bit.png", tmp("alpha16.png"))
    run("convert", tmp("alpha.png"), "-channel", "A", "-threshold", "80%", "+channel", "-colors", "32",
        "-strip", "PNG8:" + path("png/gen_palette_transparent.png"))
    reference("png/gen_palette_transparent.png", path("png/gen_palette_transparent.png"))
    run("convert", tmp("upright.png"), "-colorspace", "Gray", "-interlace", "PNG", "-strip",
        path("png/gen_grey_interlaced.png"))
    reference("png/gen_grey_interlaced.png", path("png/gen_grey_interlaced.png"))

    large = read(tmp("large.png"))
    refuse("gen_png_truncated.png", large[:len(large) * 3 // 5], "damaged")
    parts = chunks(read(tmp("upright.png")))
    parts[0] = (b"IHDR", struct.pack(">II", 40000, 40000) + parts[0][1][8:])
    refuse("gen_png_40000x40000.png", png(parts), "too large")


# --- WebP ----------------------------------------------------------------------

def webps():
    run("cwebp", "-quiet", "-lossless", "-exact", tmp("alpha.png"), "-o", path("webp/gen_lossless_alpha.webp"))
    reference("webp/gen_lossless_alpha.webp", tmp("alpha.png"))
    # With the "Exif\0\0" prefix of a JPEG segment, as some writers leave it.
    with open(tmp("exif8"), "wb") as f:
        f.write(b"Exif\0\0" + exif(8))
    run("cwebp", "-quiet", "-lossless", tmp("cw.png"), "-o", tmp("cw.webp"))
    name = "webp/gen_exif_prefixed_orientation_8.webp"
    run("webpmux", "-set", "exif", tmp("exif8"), tmp("cw.webp"), "-o", path(name))
    reference(name, tmp("upright.png"))
    run("img2webp", "-lossless", "-d", "100", tmp("upright.png"), tmp("second.png"),
        "-o", path("webp/gen_animated_two_frames.webp"))
    reference("webp/gen_animated_two_frames.webp", tmp("upright.png"))
    run("cwebp", "-quiet", "-q", "75", tmp("alpha.png"), "-o", path("webp/gen_lossy_alpha.webp"))
    run("dwebp", "-quiet", path("webp/gen_lossy_alpha.webp"), "-o", path("webp/gen_lossy_alpha.webp.png"))

    run("cwebp", "-quiet", "-q", "75", tmp("large.png"), "-o", tmp("large.webp"))
    large = read(tmp("large.webp"))
    refuse("gen_webp_truncated.webp", large[:len(large) * 3 // 5], "damaged")
    # A plain lossless file whose header claims 16384 x 16384.
    data = bytearray(read(tmp("cw.webp")))
    assert data[12:16] == b"VP8L"
    bits, = struct.unpack("<I", data[21:25])
    data[21:25] = struct.pack("<I", bits & ~0xFFFFFFF | 16383 | 16383 << 14)
    refuse("gen_webp_16384x16384.webp", bytes(data), "too large")


# --- TIFF ----------------------------------------------------------------------

def tiffs():
    for orientation, stored, endian in ((5, "transpose", "LSB"), (7, "transverse", "MSB")):
        name = "tiff/gen_orientation_%d_%s.tif" % (orientation, endian.lower())
        run("convert", tmp(stored + ".png"), "-define", "tiff:endian=" + endian.lower(), "-compress", "lzw", path(name))
        run("tiffset", "-s", "274", str(orientation), path(name))
        reference(name, tmp("upright.png"))
    run("convert", tmp("upright.png"), "-colorspace", "CMYK", "-compress", "lzw", path("tiff/gen_cmyk.tif"))
    run("convert", path("tiff/gen_cmyk.tif"), "-colorspace", "sRGB", "-strip", path("tiff/gen_cmyk.tif.png"))
    run("convert", tmp("alpha16.png"), "-define", "tiff:tile-geometry=16x16", "-compress", "zip",
        path("tiff/gen_tiled_rgba_16bit.tif"))
    reference("tiff/gen_tiled_rgba_16bit.tif", tmp("alpha16.png"))
    run("convert", tmp("upright.png"), "-compress", "zip", "TIFF64:" + path("tiff/gen_bigtiff.tif"))
    reference("tiff/gen_bigtiff.tif", tmp("upright.png"))
    run("convert", tmp("upright.png"), tmp("second.png"), "-define", "tiff:rows-per-strip=5",
        path("tiff/gen_strips_two_pages.tif"))
    reference("tiff/gen_strips_two_pages.tif", tmp("upright.png"))

    # Written here, the directory before the pixels, so that a cut falls in the pixels.
    pixels = subprocess.run(["convert", tmp("large.png"), "rgb:-"], check=True, stdout=subprocess.PIPE).stdout
    whole = plain_tiff(160, 120, pixels)
    refuse("gen_tiff_truncated.tif", whole[:len(whole) * 3 // 5], "damaged")
    refuse("gen_tiff_30000x30000.tif", plain_tiff(30000, 30000, b"", rows=1000), "too large")


def plain_tiff(width, height, pixels, rows=10):
    """An uncompressed RGB TIFF of the given declared size holding pixels,
    in strips of rows rows."""
    strips = (height + rows - 1) // rows
    values = 8 + 2 + 10 * 12 + 4
    offsets = values + 6
    counts = offsets + 4 * strips
    start = counts + 4 * strips
    entries = [(256, 4, 1, width), (257, 4, 1, height), (258, 3, 3, values), (259, 3, 1, 1), (262, 3, 1, 2),
               (273, 4, strips, offsets), (277, 3, 1, 3), (278, 4, 1, rows), (279, 4, strips, counts), (284, 3, 1, 1)]
    out = b"II*\0" + struct.pack("<IH", 8, len(entries))
    out += b"".join(struct.pack("<HHII" if kind == 4 or count > 1 else "<HHIHH", tag, kind, count, value,
                                *(() if kind == 4 or count > 1 else (0,))) for tag, kind, count, value in entries)
    out += struct.pack("<I", 0) + struct.pack("<HHH", 8, 8, 8)
    strip = 3 * width * rows
    out += b"".join(struct.pack("<I", start + i * strip) for i in range(strips))
    out += b"".join(struct.pack("<I", min(strip, 3 * width * height - i * strip)) for i in range(strips))
    return out + pixels


# --- HEIF and AVIF ---------------------------------------------------------------

def boxes(data, at, end):
    """(type, start, end of header, end) of each box from at to end."""
    while at < end:
        size, kind = struct.unpack(">I4s", data[at:at + 8])
        yield kind, at, at + 8, at + size
        at += size


def child(data, parent, kind, full=False):
    _, start, body, end = parent
    for box in boxes(data, body + (4 if full else 0), end):
        if box[0] == kind:
            return box
    raise KeyError(kind)


def with_rotation(data, angle):
    """The file with an irot property (angle x 90 degrees anticlockwise) given
    to its primary item; the boxes around it grow and the item locations
    after it move."""
    data = bytearray(data)
    meta = next(b for b in boxes(data, 0, len(data)) if b[0] == b"meta")
    primary, = struct.unpack(">H", data[child(data, meta, b"pitm", True)[2] + 4:][:2])
    iprp = child(data, meta, b"iprp", True)
    ipco, ipma = child(data, iprp, b"ipco"), child(data, iprp, b"ipma")
    index = len(list(boxes(data, ipco[2], ipco[3]))) + 1
    irot = struct.pack(">I4sB", 9, b"irot", angle)
    grown = len(irot) + 1
    for box, by in ((ipma, 1), (ipco, len(irot)), (iprp, grown), (meta, grown)):
        size, = struct.unpack(">I", data[box[1]:box[1] + 4])
        data[box[1]:box[1] + 4] = struct.pack(">I", size + by)
    iloc = child(data, meta, b"iloc", True)
    shift_extents(data, iloc, grown)
    # ipma (version 0, one-byte indices): item id, count, associations.
    assert data[ipma[2]:ipma[2] + 4] == b"\0\0\0\0" and ipma[1] > ipco[1] > iloc[1]
    at = ipma[2] + 8
    while struct.unpack(">H", data[at:at + 2])[0] != primary:
        at += 3 + data[at + 2]
    data[at + 2] += 1
    data[at + 2 + data[at + 2]:at + 2 + data[at + 2]] = bytes([0x80 | index])
    data[ipco[3]:ipco[3]] = irot
    return bytes(data)


def shift_extents(data, iloc, by):
    """Moves every file offset of an iloc box (versions 0 and 1) by by bytes."""
    at = iloc[2]
    version = data[at]
    sizes = data[at + 4] << 8 | data[at + 5]
    offset_size, length_size, base_size, index_size = sizes >> 12, sizes >> 8 & 15, sizes >> 4 & 15, sizes & 15
    assert version in (0, 1) and offset_size in (0, 4) and base_size in (0, 4)
    items, = struct.unpack(">H", data[at + 6:at + 8])
    at += 8
    for _ in range(items):
        method = data[at + 3] & 15 if version == 1 else 0
        at += 2 + (2 if version == 1 else 0) + 2
        base = at
        at += base_size
        extents, = struct.unpack(">H", data[at:at + 2])
        at += 2
        for _ in range(extents):
            at += index_size if version == 1 else 0
            if method == 0 and offset_size == 4 and base_size == 0:
                value, = struct.unpack(">I", data[at:at + 4])
                data[at:at + 4] = struct.pack(">I", value + by)
            at += offset_size + length_size
        if method == 0 and base_size == 4:
            value, = struct.unpack(">I", data[base:base + 4])
            data[base:base + 4] = struct.pack(">I", value + by)


def with_size(data, width, height):
    """The file with every ispe property claiming width x height."""
    data = bytearray(data)
    at = data.find(b"ispe")
    while at >= 0:
        data[at + 8:at + 16] = struct.pack(">II", width, height)
        at = data.find(b"ispe", at + 4)
    return bytes(data)


def heifs():
    lossless = ["-L", "-p", "chroma=444", "--matrix_coefficients=0"]
    for folder, ext, codec in (("heif", "heic", []), ("avif", "avif", ["-A"])):
        run("heif-enc", *codec, *lossless, tmp("alpha.png"), "-o", path("%s/gen_lossless_alpha.%s" % (folder, ext)))
        reference("%s/gen_lossless_alpha.%s" % (folder, ext), tmp("alpha.png"))
        # Stored turned clockwise (90 or 270 degrees): a rotation back.
        for stored, angle in (("cw", 1), ("ccw", 3)):
            run("heif-enc", *codec, *lossless, tmp(stored + ".png"), "-o", tmp("turned." + ext))
            name = "%s/gen_rotation_%d.%s" % (folder, angle * 90, ext)
            write(name, with_rotation(read(tmp("turned." + ext)), angle))
            reference(name, tmp("upright.png"))
        run("heif-enc", *codec, "-q", "60", tmp("upright.png"), "-o", path("%s/gen_lossy.%s" % (folder, ext)))
        decoded("%s/gen_lossy.%s" % (folder, ext))

        run("heif-enc", *codec, "-q", "60", tmp("large.png"), "-o", tmp("large." + ext))
        large = read(tmp("large." + ext))
        refuse("gen_%s_truncated.%s" % (ext, ext), large[:len(large) * 3 // 5], "damaged")
        side = 20000 if ext == "heic" else 70000
        refuse("gen_%s_%dx%d.%s" % (ext, side, side, ext), with_size(read(tmp("turned." + ext)), side, side),
               "too large")
    # Deeper samples (aom here does not encode 10 bits).
    for name, depth in (("heif/gen_lossy_alpha_10bit.heic", ["-b", "10"]), ("avif/gen_lossy_alpha_12bit.avif", ["-A", "-b", "12"])):
        run("heif-enc", *depth, "-q", "80", tmp("alpha16.png"), "-o", path(name))
        decoded(name)
    # 81 megapixels are allowed, but not at 10 bits: the decoder's planes would be too large.
    refuse("gen_heic_10bit_9000x9000.heic", with_size(read(path("heif/gen_lossy_alpha_10bit.heic")), 9000, 9000),
           "too large")


if __name__ == "__main__":
    for folder in ("png", "webp", "tiff", "heif", "avif"):
        os.makedirs(path(folder), exist_ok=True)
    drawn()
    pngs()
    webps()
    tiffs()
    heifs()
    subprocess.run(["rm", "-rf", TMP])
