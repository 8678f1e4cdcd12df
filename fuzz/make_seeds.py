#!/usr/bin/env python3
"""Writes the small seed files of the picture, message, picture table and
font index fuzz targets into fuzz/corpus/. The pictures are made here (BMP,
GIF) and by cjpeg from a picture made here (JPEG)."""
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def put(folder, name, data):
    os.makedirs(os.path.join(HERE, folder), exist_ok=True)
    with open(os.path.join(HERE, folder, name), "wb") as f:
        f.write(data)


def colour(x, y):
    return (x * 60) % 256, (y * 90) % 256, ((x + y) * 40) % 256


def bmp(width, height, bits):
    """An uncompressed BMP file, rows from the bottom, padded to 4 bytes."""
    palette = b""
    if bits <= 8:
        palette = b"".join(bytes((i * 7 % 256, i * 3 % 256, i, 0)) for i in range(1 << bits))
    rows = []
    for y in reversed(range(height)):
        if bits == 1:
            row = bytearray((width + 7) // 8)
            for x in range(width):
                if (x + y) % 2:
                    row[x // 8] |= 0x80 >> (x % 8)
        elif bits == 8:
            row = bytearray((x * 5 + y * 11) % 256 for x in range(width))
        else:
            row = bytearray()
            for x in range(width):
                r, g, b = colour(x, y)
                row += bytes((b, g, r)) + (b"\xff" if bits == 32 else b"")
        row += b"\0" * (-len(row) % 4)
        rows.append(bytes(row))
    pixels = b"".join(rows)
    offset = 14 + 40 + len(palette)
    head = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835,
                       len(palette) // 4, 0)
    return head + info + palette + pixels


def gif(width, height):
    """A GIF with a 4-colour table; a clear code before every two pixels keeps
    the codes 3 bits wide."""
    out = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x81, 0, 0)
    out += bytes((0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255))
    out += b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    codes = []
    pixels = [(x + 2 * y) % 4 for y in range(height) for x in range(width)]
    for i, p in enumerate(pixels):
        if i % 2 == 0:
            codes.append(4)
        codes.append(p)
    codes.append(5)
    bits = 0
    count = 0
    data = bytearray()
    for c in codes:
        bits |= c << count
        count += 3
        while count >= 8:
            data.append(bits & 255)
            bits >>= 8
            count -= 8
    if count:
        data.append(bits & 255)
    out += b"\x02"
    for i in range(0, len(data), 255):
        block = data[i:i + 255]
        out += bytes((len(block),)) + bytes(block)
    return out + b"\x00\x3b"


def jpeg(width, height, *options):
    ppm = b"P6 %d %d 255\n" % (width, height)
    ppm += b"".join(bytes(colour(x, y)) for y in range(height) for x in range(width))
    with tempfile.NamedTemporaryFile(suffix=".ppm") as f:
        f.write(ppm)
        f.flush()
        return subprocess.run(["cjpeg", *options, f.name], check=True, stdout=subprocess.PIPE).stdout


def picture_table(pictures):
    """The picture table of ui/pictures.h: head, directory, pictures. The
    offsets count from the last directory entry, which holds the end."""
    out = b"\0" * 7 + struct.pack("<i", len(pictures))
    offset = 44
    for name, data in pictures:
        out += bytes((len(name),)) + name.encode().ljust(39, b" ") + struct.pack("<i", offset)
        offset += len(data)
    out += b"\0" * 40 + struct.pack("<i", offset)
    return out + b"".join(data for _, data in pictures)


def message_file(texts):
    return b"".join(t.encode("cp850").ljust(40, b" ")[:40] + b"\r\n" for t in texts)


def font_index(names):
    out = struct.pack("<h", len(names) + 1)
    return out + b"".join(bytes((len(n),)) + n.encode().ljust(12, b"\0") for n in names)


def records(*recs):
    """Vector records (type, x, y, z) as a vector file."""
    return b"".join(struct.pack("<Bfff", t, x, y, z) for t, x, y, z in recs)


def curve_seeds():
    """Seeds of the curve conversion: an options byte, then a vector file."""
    pi = 3.14159265
    put("curves", "arcs.bin", bytes([2 | (3 << 2)]) + records(
        (11, 0, 0, 0), (13, 5, -pi / 2, 2 * pi - 0.002), (20, 2, 1, 0), (21, 0, pi, 0), (10, 3, 3, 0)))
    put("curves", "through_points.bin", bytes([1 | (5 << 2)]) + records(
        (11, 0, 0, 0), (12, 0, 0, -1), (17, -3, 0, 0), (18, 5, 5, 0), (18, 10, 0, 0), (18, 10, 0, 0),
        (18, 15, 4, 0), (17, 18, 4, 0), (10, 20, 0, 0)))
    put("curves", "bezier_builder.bin", bytes([0]) + records(
        (1, 0, 0, 0), (5, 9, 9, 0), (11, 1, 1, 0), (14, 1, 5, 0), (15, 5, 5, 0), (16, 5, 1, 0),
        (25, 6, 2, 0), (25, 7, 0, 0), (26, 8, 3, 0), (27, 0, 0, 0), (128, 7, 0, 0), (9, 0, 0, 0)))
    put("curves", "unbalanced.bin", bytes([3 | (20 << 2)]) + records(
        (18, 1, 1, 0), (17, 2, 2, 0), (17, 3, 3, 0), (21, 0, 1, 0), (11, 0, 0, 0), (17, 1, 0, 0),
        (18, 1, 1, 0)))


def main():
    put("bmp", "rgb24.bmp", bmp(5, 3, 24))
    put("bmp", "indexed8.bmp", bmp(6, 4, 8))
    put("bmp", "mono1.bmp", bmp(9, 2, 1))
    put("bmp", "rgb32.bmp", bmp(2, 2, 32))
    put("gif", "four_colours.gif", gif(5, 3))
    put("gif", "one_row.gif", gif(8, 1))
    put("jpeg", "colour.jpg", jpeg(9, 7, "-quality", "80"))
    put("jpeg", "grey.jpg", jpeg(8, 8, "-grayscale"))
    put("jpeg", "progressive.jpg", jpeg(16, 5, "-progressive"))
    put("messages", "texts.tx0", message_file(["Nachricht null fuer den Test", "Datei fehlt",
                                               "", "Werkzeug waehlen", "Ende"]))
    put("messages", "one_record.tx0", message_file(["Eine einzige Nachricht im Satz"]))
    put("picture_tables", "all_kinds.dat", picture_table([("FUZZ.BMP", bmp(6, 4, 8)), ("FUZZ.GIF", gif(5, 3)),
                                                          ("FUZZ.JPG", jpeg(9, 7)), ("FUZZ", bmp(4, 4, 24))]))
    put("picture_tables", "resource_only.dat", picture_table([("LOGO", bmp(2, 2, 8)), ("FUZZ", bmp(30, 30, 24))]))
    put("font_index", "three_fonts.par", font_index(["G1500010.HZE", "ARIAL.HZE", "NORM.HZE"]))
    put("font_index", "one_font.par", font_index(["SCHRIFT1.HZE"]))
    curve_seeds()
    return 0


if __name__ == "__main__":
    sys.exit(main())
