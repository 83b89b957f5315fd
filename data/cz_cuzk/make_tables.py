#!/usr/bin/env python3
"""ČÚZK's two grids as C++ tables: data/cz_cuzk/cuzk_grids.cpp.

Reads the GeoTIFF files beside this script (baseline TIFF, LZW or Deflate,
the floating-point predictor, float32 samples; the grid's nodes from the
GeoTIFF tie point and pixel scale, whether a pixel is a point or an area;
GDAL's nodata, offset and metadata tags) with nothing but Python's own
library, and writes every node, south to north and west to east, each
float32 sample as the exact float literal it is, a nodata sample as NaN.

    python3 data/cz_cuzk/make_tables.py > data/cz_cuzk/cuzk_grids.cpp

The output is checked in; CI runs this again and compares.
"""

import os
import re
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def lzw_decode(data):
    """TIFF's LZW: codes of 9 to 12 bits, most significant bit first, the
    width growing one code early; 256 clears the table, 257 ends."""
    out = bytearray()
    table = [bytes([i]) for i in range(256)] + [b"", b""]
    width, prev = 9, None
    bits, nbits, at = 0, 0, 0
    while True:
        while nbits < width and at < len(data):
            bits = (bits << 8) | data[at]
            at += 1
            nbits += 8
        if nbits < width:
            break
        nbits -= width
        code = (bits >> nbits) & ((1 << width) - 1)
        if code == 256:
            table, width, prev = table[:258], 9, None
            continue
        if code == 257:
            break
        if prev is None:
            entry = table[code]
        else:
            entry = table[code] if code < len(table) else prev + prev[:1]
            table.append(prev + entry[:1])
        out += entry
        prev = entry
        if len(table) + 1 >= (1 << width) and width < 12:
            width += 1
    return bytes(out)


def undo_float_predictor(raw, width, samples):
    """Predictor 3: each row's bytes differenced with the stride of a pixel,
    then each value's four bytes stored in planes, the high byte first."""
    row_bytes = width * samples * 4
    values = []
    for start in range(0, len(raw), row_bytes):
        row = bytearray(raw[start:start + row_bytes])
        for i in range(samples, len(row)):
            row[i] = (row[i] + row[i - samples]) & 0xFF
        count = len(row) // 4
        for i in range(count):
            values.append(struct.unpack(">f", bytes(row[b * count + i] for b in range(4)))[0])
    return values


def read_geotiff(path):
    with open(path, "rb") as f:
        tiff = f.read()
    order = {b"II": "<", b"MM": ">"}[tiff[:2]]
    (ifd,) = struct.unpack(order + "I", tiff[4:8])
    (count,) = struct.unpack(order + "H", tiff[ifd:ifd + 2])
    sizes = {1: 1, 2: 1, 3: 2, 4: 4, 5: 8, 11: 4, 12: 8, 16: 8}
    codes = {1: "B", 2: "c", 3: "H", 4: "I", 5: "II", 11: "f", 12: "d", 16: "Q"}
    tags = {}
    for i in range(count):
        entry = tiff[ifd + 2 + 12 * i:ifd + 14 + 12 * i]
        tag, kind, n = struct.unpack(order + "HHI", entry[:8])
        size = sizes[kind] * n
        where = entry[8:12] if size <= 4 else tiff[struct.unpack(order + "I", entry[8:12])[0]:][:size]
        if kind == 2:
            tags[tag] = where[:size].rstrip(b"\0").decode("latin-1")
        else:
            tags[tag] = list(struct.unpack(order + codes[kind] * n, where[:size]))
    width, height = tags[256][0], tags[257][0]
    samples = tags.get(277, [1])[0]
    assert tags[258][0] == 32 and tags.get(339, [1])[0] == 3, "float32 samples"
    assert samples == 1 or tags.get(284, [1])[0] == 1, "samples of a pixel together"
    compression, predictor = tags.get(259, [1])[0], tags.get(317, [1])[0]
    assert compression in (1, 5, 8) and predictor in (1, 3)
    if 322 in tags:
        block_w, block_h = tags[322][0], tags[323][0]
        offsets, lengths = tags[324], tags[325]
    else:
        block_w, block_h = width, tags.get(278, [height])[0]
        offsets, lengths = tags[273], tags[279]
    across = (width + block_w - 1) // block_w
    grid = [[None] * (width * samples) for _ in range(height)]
    for b, (offset, length) in enumerate(zip(offsets, lengths)):
        raw = tiff[offset:offset + length]
        raw = lzw_decode(raw) if compression == 5 else zlib.decompress(raw) if compression == 8 else raw
        raw = raw[:block_w * block_h * samples * 4]
        if predictor == 3:
            values = undo_float_predictor(raw, block_w, samples)
        else:
            values = list(struct.unpack(order + "f" * (len(raw) // 4), raw))
        x0, y0 = (b % across) * block_w, (b // across) * block_h
        for r in range(block_h):
            for c in range(block_w * samples):
                x, y = x0 * samples + c, y0 + r
                if y < height and x < width * samples:
                    grid[y][x] = values[r * block_w * samples + c]
    scale, tie = tags[33550], tags[33922]
    keys = tags.get(34735, [])
    point = any(keys[i] == 1025 and keys[i + 3] == 2 for i in range(4, len(keys), 4))
    # The first node's position: a pixel that is an area has its node at
    # its centre.
    west = tie[3] - tie[0] * scale[0] + (0 if point else scale[0] / 2)
    north = tie[4] + tie[1] * scale[1] - (0 if point else scale[1] / 2)
    nodata = float(tags[42113]) if 42113 in tags else None
    metadata = tags.get(42112, "")
    return {
        "width": width, "height": height, "samples": samples, "grid": grid,
        "west": west, "north": north, "res_x": scale[0], "res_y": scale[1],
        "nodata": nodata, "metadata": metadata,
    }


def literal(value, nodata):
    if value != value or (nodata is not None and value == nodata):
        return "NAN"
    text = "%.9g" % value
    assert struct.unpack("f", struct.pack("f", float(text)))[0] == value
    if "." not in text and "e" not in text and "n" not in text:
        text += ".0"
    return text + "f"


def table(name, g, first_sample, comment):
    rows = []
    # South to north: row 0 of the table is the grid's southern edge.
    for y in reversed(range(g["height"])):
        row = g["grid"][y]
        rows.append(", ".join(literal(row[x * g["samples"] + first_sample], g["nodata"])
                              for x in range(g["width"])))
    return "// %s\nconst float %s[] = {\n%s,\n};\n" % (comment, name, ",\n".join(rows))


def main():
    shift = read_geotiff(os.path.join(HERE, "cz_cuzk_table_-y-x_3_v1710.tif"))
    geoid = read_geotiff(os.path.join(HERE, "cz_cuzk_CR-2005.tif"))
    assert shift["samples"] == 2 and geoid["samples"] == 1
    assert "biquadratic" in shift["metadata"], "the table names biquadratic interpolation"
    offsets = [float(v) for v in re.findall(r'<Item name="constant_offset"[^>]*>([-0-9.eE]+)<', shift["metadata"])]
    south = lambda g: g["north"] - (g["height"] - 1) * g["res_y"]
    out = sys.stdout
    out.write("// Generated by data/cz_cuzk/make_tables.py from ČÚZK's files beside it\n"
              "// ((c) ČÚZK - Czech Republic, CC BY 4.0). Do not edit.\n"
              "// clang-format off\n"
              "#include \"geodesy/cuzk_grids.h\"\n\n#include <cmath>\n\nnamespace geochain {\n\nnamespace {\n\n")
    out.write(table("EASTING_OFFSETS", shift, 0, "Easting offsets, metres, at each node."))
    out.write(table("NORTHING_OFFSETS", shift, 1, "Northing offsets, metres, at each node."))
    out.write(table("QUASIGEOID_HEIGHTS", geoid, 0, "Quasigeoid heights zeta, metres, at each node."))
    out.write("\n}  // namespace\n\n")
    out.write("const CorrectionTable CORRECTION_TABLE{\n    %d, %d, %r, %r, %r, %r, %r,\n"
              "    EASTING_OFFSETS, NORTHING_OFFSETS};\n\n"
              % (shift["width"], shift["height"], shift["west"], south(shift), shift["res_x"],
                 shift["res_y"], offsets[0] if offsets else 0.0))
    out.write("const QuasigeoidGrid QUASIGEOID{\n    %d, %d, %r, %r, %r, %r, QUASIGEOID_HEIGHTS};\n\n"
              % (geoid["width"], geoid["height"], geoid["west"], south(geoid), geoid["res_x"],
                 geoid["res_y"]))
    out.write("}  // namespace geochain\n")


if __name__ == "__main__":
    main()
