#!/usr/bin/env python3
"""Writes the hand-made seed inputs of the fuzz targets into corpus/<target>/seed-*.

lisp_call inputs follow the layout of lisp_call_decoder.h; point_file inputs are a delimiter
byte, an options byte and the file; json_drawing seeds are drawings in the stand-in host's JSON
format; geometry inputs follow the layout of geometry_fuzzer.cpp. With --kafcad PATH the JSON drawings are also saved as DXF by kafcad into dxf_drawing.
"""
import argparse
import os
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")

# ---- lisp_call ----

# Indices into the table of named strings (lisp_call_decoder.cpp).
MESH, SECOND_MESH, POLYFACE, OUTLINE, OPEN_POLYLINE, FACE, ERASED, PAPER = range(8)
LOWER_MESH, ZEROS_MESH, STRAY_MESH, SPACED_OUTLINE = 8, 9, 10, 11
UNKNOWN_HANDLE, LONG_HANDLE = 16, 17
TIN, HIDDEN, MISSING_LAYER = 21, 22, 23
SEMICOLON, COMMA = 26, 27
SPACE = 28
BREAKLINE, BOUNDARY_3D, CROSSING_OUTLINE = 30, 31, 32
PNEZD, XYZ_LOWER, ENZ, BAD_LAYOUT = 33, 34, 35, 36

FUNCTIONS = ["triangulate", "kaf-dct", "kaf-dct-pface", "kaf-dct-pfacemesh",
             "kaf-dct-pfacemesh-withloadcsv", "kaf-dct-subdmesh", "kaf-dct-subdmesh-aa",
             "kaf-dct-subdmesh-withloadcsv", "kaf-mergingCoplanarFacesOfSubMesh",
             "kaf-changeMeshColor", "kaf-contours", "kaf-surfaceStatistics", "kaf-volume",
             "kaf-volumeToDatum", "kaf-cdt-subdmesh", "kaf-cdt-pfacemesh",
             "kaf-cdt-subdmesh-withloadcsv", "kaf-cdt-pfacemesh-withloadcsv"]
# Function codes from 10 on are written as 170 + (code - 10); from 178 on a fault byte follows.
LATER_FUNCTIONS = 170
LATER_FUNCTIONS_WITH_FAULT = 178


def coordinate(v):
    if v * 2 == int(v * 2) and -120 <= v * 2 + 0 and v * 2 + 120 < 0xF0:
        return bytes([int(v * 2) + 120])
    if v * 64 == int(v * 64) and -32768 <= v * 64 <= 32767:
        return b"\xf8" + struct.pack("<h", int(v * 64))
    return b"\xfc" + struct.pack("<d", v)


def lb(): return b"\x00"
def le(): return b"\x01"
def p2(x, y): return b"\x02" + coordinate(x) + coordinate(y)
def p3(x, y, z): return b"\x03" + coordinate(x) + coordinate(y) + coordinate(z)
def real(v): return b"\x04" + coordinate(v)
def short(i): return b"\x05" + struct.pack("<h", i)
def long(i): return b"\x06" + struct.pack("<i", i)
def named(i): return b"\x07" + bytes([i])
def nil(): return b"\x08"
def t(): return b"\x09"
def unknown(code): return b"\x0a" + struct.pack("<h", code)
def file(k): return b"\x0b" + bytes([k])
def run(count, pattern, seed): return b"\x0c" + bytes([count - 1, pattern, seed])
def text(s): return b"\x0d" + bytes([len(s)]) + s.encode("latin-1")
def special_int(i, as_long=False): return b"\x0e" + bytes([i | (0x10 if as_long else 0)])
def special_real(i): return b"\x0f" + bytes([i])


HOST_CALLS = 16  # kafhost::HostCall values before kCount


def function_byte(function):
    code = FUNCTIONS.index(function)
    return code if code < 10 else LATER_FUNCTIONS + code - 10


def call(function, program, first=b"", second=b""):
    return (bytes([function_byte(function)]) + struct.pack("<H", len(first)) + first +
            struct.pack("<H", len(second)) + second + program)


def with_fault(seed, fault, occurrence):
    if seed[0] < LATER_FUNCTIONS:
        return bytes([(fault + 1) * 10 + seed[0], occurrence - 1]) + seed[1:]
    code = seed[0] - LATER_FUNCTIONS
    return bytes([LATER_FUNCTIONS_WITH_FAULT + code, fault, occurrence - 1]) + seed[1:]


SQUARE = lb() + p3(0, 0, 1) + p3(4, 0, 2) + p3(0, 4, 3) + p3(4, 4, 4) + le()
SCATTERED = lb() + run(60, 0, 7) + le()
POINTS_2D = lb() + p2(0, 0) + p2(10, 0) + p2(5, 8) + p2(5, 3) + le()
CSV = b"0;0;1\n4;0;2\n0;4;3\n4;4;4\n2;2;9\n"
CSV_COMMA = b"10,10,1\r\n20,10,2\r\n\r\n20,25,3\r\n15,15,4\r\n"


def lisp_call_seeds():
    seeds = {}
    for name in ("triangulate", "kaf-dct", "kaf-dct-pface"):
        seeds[name + "-square"] = call(name, SQUARE)
        seeds[name + "-scattered"] = call(name, SCATTERED)
        seeds[name + "-2d"] = call(name, POINTS_2D)
    seeds["triangulate-lattice"] = call("triangulate", lb() + run(64, 1, 0) + le())
    seeds["kaf-dct-collinear"] = call("kaf-dct", lb() + run(10, 2, 0) + le())
    seeds["kaf-dct-clusters"] = call("kaf-dct", lb() + run(30, 3, 1) + le())
    for label, pattern in (("circle", 4), ("far-lattice", 5), ("tiny", 6), ("huge", 7),
                           ("2d-scattered", 8)):
        for name in ("triangulate", "kaf-dct"):
            seeds["%s-%s" % (name, label)] = call(name, lb() + run(100, pattern, 3) + le())
    seeds["kaf-dct-subdmesh-largest-chain"] = call(
        "kaf-dct-subdmesh", lb() + run(256, 0, 1) * 7 + run(200, 5, 2) + le() + named(TIN) +
        short(500))
    seeds["kaf-dct-nested"] = call("kaf-dct", lb() + lb() + p3(0, 0, 0) + p3(1, 0, 0) + le() +
                                   p3(0, 1, 0) + le())
    seeds["kaf-dct-string-among-points"] = call(
        "kaf-dct", lb() + p3(0, 0, 0) + p3(1, 0, 0) + text("x") + p3(0, 1, 0) + le())
    seeds["kaf-dct-nan"] = call("kaf-dct", lb() + p3(0, 0, 0) + p3(1, 0, 0) + b"\x03\xf0\xf0\x78" +
                                p3(0, 1, 0) + le())
    seeds["triangulate-none"] = call("triangulate", b"")

    for name in ("kaf-dct-pfacemesh", "kaf-dct-subdmesh"):
        seeds[name] = call(name, SCATTERED + named(TIN) + short(32767))
        seeds[name + "-split"] = call(name, SCATTERED + named(TIN) + short(10))
        seeds[name + "-nil-layer"] = call(name, SQUARE + nil())
        seeds[name + "-long"] = call(name, SCATTERED + nil() + long(50000))
        seeds[name + "-missing-layer"] = call(name, SQUARE + named(MISSING_LAYER) + short(100))
        seeds[name + "-out-of-range"] = call(name, SQUARE + named(TIN) + special_int(13, True))
        seeds[name + "-real-maximum"] = call(name, SQUARE + named(TIN) + real(5))

    for name, delimiter, content in (("kaf-dct-pfacemesh-withloadcsv", SEMICOLON, CSV),
                                     ("kaf-dct-subdmesh-withloadcsv", COMMA, CSV_COMMA)):
        seeds[name] = call(name, lb() + file(0) + le() + named(delimiter) + named(TIN) +
                           real(0) + real(0) + real(1) + short(100), content)
        seeds[name + "-two-files"] = call(
            name, lb() + file(0) + file(1) + le() + named(delimiter) + nil() + real(10) +
            real(-5) + real(2) + short(3), content, content)
        seeds[name + "-missing-file"] = call(
            name, lb() + file(0) + file(2) + le() + named(delimiter) + named(TIN) + real(0) +
            real(0) + real(1), content)
        seeds[name + "-folder"] = call(
            name, lb() + file(3) + le() + named(delimiter) + named(TIN) + real(0) + real(0) +
            real(1), content)
        seeds[name + "-bad-row"] = call(
            name, lb() + file(0) + le() + named(delimiter) + named(TIN) + real(0) + real(0) +
            real(1), b"x;y;z\n1;2;3\n")
        seeds[name + "-integer-shift"] = call(
            name, lb() + file(0) + le() + named(delimiter) + named(TIN) + short(0) + real(0) +
            real(1), content)
        seeds[name + "-list-only"] = call(name, lb() + file(0) + le(), content)

    aa = "kaf-dct-subdmesh-aa"
    seeds[aa] = call(aa, named(OUTLINE) + lb() + named(MESH) + named(SECOND_MESH) + le() +
                     named(TIN) + short(100) + real(1.5))
    seeds[aa + "-split"] = call(aa, named(OUTLINE) + lb() + named(MESH) + named(SECOND_MESH) +
                                le() + nil() + short(3) + real(-2))
    seeds[aa + "-erased-and-paper"] = call(aa, named(OUTLINE) + lb() + named(ERASED) +
                                           named(PAPER) + named(MESH) + le() + named(TIN) +
                                           short(100) + real(0))
    seeds[aa + "-open-outline"] = call(aa, named(OPEN_POLYLINE) + lb() + named(MESH) + le() +
                                       named(TIN) + short(100) + real(0))
    seeds[aa + "-wrong-kinds"] = call(aa, named(POLYFACE) + lb() + named(FACE) +
                                      named(POLYFACE) + named(OUTLINE) + le() + named(TIN) +
                                      short(100) + real(0))
    seeds[aa + "-bad-handles"] = call(aa, named(UNKNOWN_HANDLE) + lb() + named(LONG_HANDLE) +
                                      named(STRAY_MESH) + named(ZEROS_MESH) + le() + named(TIN) +
                                      short(100) + real(0))
    seeds[aa + "-list-last"] = call(aa, named(SPACED_OUTLINE) + lb() + named(MESH) + le())

    merge = "kaf-mergingCoplanarFacesOfSubMesh"
    for label, handle in (("mesh", MESH), ("lower", LOWER_MESH), ("paper", PAPER),
                          ("erased", ERASED), ("polyface", POLYFACE), ("unknown", UNKNOWN_HANDLE)):
        seeds[merge + "-" + label] = call(merge, named(handle))
    seeds[merge + "-none"] = call(merge, b"")

    color = "kaf-changeMeshColor"
    seeds[color] = call(color, lb() + named(MESH) + named(SECOND_MESH) + le() + real(0) +
                        real(10) + p3(255, 0, 0) + p3(0, 0, 255))
    seeds[color + "-equal-heights"] = call(color, lb() + named(MESH) + le() + real(3) + real(3) +
                                           p3(0, 255, 0) + p3(0, 0, 0))
    seeds[color + "-out-of-range"] = call(color, lb() + named(MESH) + named(PAPER) +
                                          named(ERASED) + le() + special_real(4) +
                                          special_real(5) + p3(300, -1, 0.5) + p3(0, 0, 0))
    seeds[color + "-list-only"] = call(color, lb() + named(MESH) + named(SECOND_MESH) + le())
    seeds[color + "-wrong-kinds"] = call(color, lb() + named(POLYFACE) + named(FACE) + le() +
                                         real(0) + real(1) + p3(1, 2, 3) + p3(3, 2, 1))
    # The surface functions on the fixture's meshes.
    seeds["kaf-contours"] = call("kaf-contours", lb() + named(MESH) + named(SECOND_MESH) + le() +
                                 real(1) + real(0) + named(TIN))
    seeds["kaf-surfaceStatistics"] = call("kaf-surfaceStatistics",
                                          lb() + named(MESH) + named(POLYFACE) + le())
    seeds["kaf-volume"] = call("kaf-volume", lb() + named(MESH) + le() + lb() + named(SECOND_MESH) +
                               le())
    seeds["kaf-volumeToDatum"] = call("kaf-volumeToDatum", lb() + named(MESH) + le() + real(2))
    # The constrained surface functions: breaklines, boundaries, holes, trimming, point files.
    for name in ("kaf-cdt-subdmesh", "kaf-cdt-pfacemesh"):
        lines = lb() + named(BREAKLINE) + named(OPEN_POLYLINE) + le()
        seeds[name] = call(name, SCATTERED + lines + named(BOUNDARY_3D) + lb() + named(OUTLINE) +
                           le() + real(0) + named(TIN) + short(32767))
        seeds[name + "-split-trimmed"] = call(name, SCATTERED + lines + nil() + nil() + real(20) +
                                              named(TIN) + short(10))
        seeds[name + "-lattice"] = call(name, lb() + run(64, 1, 0) + le() + lines + nil() + nil() +
                                        real(0) + nil())
        seeds[name + "-crossing-boundary"] = call(name, SQUARE + nil() + named(CROSSING_OUTLINE) +
                                                  nil() + real(0) + nil())
        seeds[name + "-lines-only"] = call(name, nil() + lb() + named(BREAKLINE) + le() +
                                           named(OUTLINE) + nil() + real(0) + nil())
        seeds[name + "-wrong-kinds"] = call(name, SQUARE + lb() + named(MESH) + le() +
                                            named(OPEN_POLYLINE) + nil() + real(0) + nil())
        seeds[name + "-nan-edge"] = call(name, SQUARE + nil() + nil() + nil() + special_real(4) +
                                         nil())
    survey = (b"\xef\xbb\xbfPt;N;E;Z;Code\r\n1;0;0;1,5;\"a; b\"\r\n2;0;40;2;x\r\n"
              b"3;30;40;3;x\r\nbad row\r\n4;30;0;4;x\r\n5;15;20;9;x\r\n5;15;20;7;dup\r\n")
    spaced = b"0 0 1\n40  0\t2\n40 30 3\n0 30 4\n"
    for name in ("kaf-cdt-subdmesh-withloadcsv", "kaf-cdt-pfacemesh-withloadcsv"):
        lines = lb() + named(BREAKLINE) + le() + named(BOUNDARY_3D) + nil() + real(0)
        seeds[name] = call(name, lb() + file(0) + le() + named(PNEZD) + named(SEMICOLON) + lines +
                           named(TIN), survey)
        seeds[name + "-two-files"] = call(name, lb() + file(0) + file(1) + le() + named(XYZ_LOWER) +
                                          named(SPACE) + lines + nil() + short(5), survey, spaced)
        seeds[name + "-bad-layout"] = call(name, lb() + file(0) + le() + named(BAD_LAYOUT) +
                                           named(COMMA) + lines + nil(), survey)
        seeds[name + "-missing"] = call(name, lb() + file(2) + le() + named(ENZ) + named(COMMA) +
                                        lines + nil(), survey)
    # Every host call failing once, at the first and at a later occurrence.
    faulted = {
        "kaf-dct-subdmesh-split": seeds["kaf-dct-subdmesh-split"],
        "kaf-dct-pfacemesh-split": seeds["kaf-dct-pfacemesh-split"],
        aa: seeds[aa + "-split"],
        color: seeds[color],
        merge + "-mesh": seeds[merge + "-mesh"],
        "kaf-dct-pface-square": seeds["kaf-dct-pface-square"],
        "kaf-dct-subdmesh-withloadcsv": seeds["kaf-dct-subdmesh-withloadcsv"],
        "kaf-cdt-subdmesh-split-trimmed": seeds["kaf-cdt-subdmesh-split-trimmed"],
        "kaf-cdt-pfacemesh": seeds["kaf-cdt-pfacemesh"],
        "kaf-cdt-pfacemesh-withloadcsv": seeds["kaf-cdt-pfacemesh-withloadcsv"],
    }
    for label, seed in faulted.items():
        for fault in range(HOST_CALLS):
            for occurrence in (1, 3):
                seeds["%s-fault%d-%d" % (label, fault, occurrence)] = with_fault(
                    seed, fault, occurrence)
    return seeds


# ---- point_file ----

def point_file_seeds():
    def seed(delimiter, options, content):
        return bytes([delimiter, options]) + content

    rows = b"".join(b"%d;%d;%d.5\n" % (i % 10 * 3, i // 10 * 3 + i % 3, i % 7) for i in range(100))
    return {
        "semicolon": seed(0, 0, b"1;2;3\n4;5;6\n7;8;10\n1;9;2\n"),
        "comma-crlf-blank": seed(1, 0, b"0,0,1\r\n\r\n10,0,2\r\n0,10,3\r\n10,10,4\r\n"),
        "space-runs": seed(2, 0, b"1  2   3\n 4 5 6\n7 8 9 10\n3 1 4\n"),
        "tab-extra-columns": seed(3, 1, b"1\t2\t3\t99\n5\t1\t2\t98\n3\t6\t0\t97\n"),
        "empty-fields": seed(0, 2, b";;1;;2;3;\n;4;;5;6\n7;8;;9;\n"),
        "exponents": seed(1, 3, b"1e3,2E-1,-0.5\n-1e3,2e1,+7\n0.5e2,-3.25E+1,1\n"),
        "header": seed(0, 0, b"x;y;z\n1;2;3\n"),
        "too-few": seed(1, 0, b"1,2,3\n4,5\n"),
        "unterminated": seed(0, 0, b"1;2;3\n4;5;6\n7;8;9"),
        "bom": seed(0, 0, b"\xef\xbb\xbf1;2;3\n4;5;6\n7;8;9\n"),
        "two-files": seed(0, 0x40, b"1;2;3\n4;5;6\n7;8;9\n"),
        "missing-second": seed(0, 0x80, b"1;2;3\n4;5;6\n7;8;9\n"),
        "grid": seed(0, 0, rows),
        "collinear": seed(1, 0, b"0,0,0\n1,1,1\n2,2,2\n3,3,3\n"),
        "duplicates": seed(1, 0, b"0,0,0\n0,0,5\n1,0,1\n1,0,2\n0,1,3\n"),
        "byte-delimiter": seed(ord("x"), 0, b"1x2x3\n4x5x6\n1x7x0\n"),
        "inf-nan": seed(0, 0, b"inf;1;2\nnan;3;4\n1;1;1\n2;0;0\n0;2;0\n"),
    }


# ---- json_drawing ----

FIXTURE_JSON = """{"layers": [
{"name": "0", "hidden": false},
{"name": "TIN", "hidden": false},
{"name": "Gel\\u00e4nde", "hidden": true}
],
"entities": [
{"handle": "2A", "type": "AcDbSubDMesh", "space": "model", "layer": "TIN", "erased": false, \
"vertices": [[0, 0, 1], [10, 0, 2], [10, 10, 3], [0, 10, 4]], "faces": [[0, 1, 2], [0, 2, 3]], \
"vertexColors": [[255, 0, 0], [0, 255, 0], [0, 0, 255], [9, 9, 9]], "subDLevel": 0},
{"handle": "2B", "type": "AcDbPolyFaceMesh", "space": "model", "layer": "0", "erased": false, \
"vertices": [[0, 0, 0], [1, 0, 0], [1, 1, 0], [0, 1, 1]], "faces": [[1, 2, -3, 0], [1, 3, 4, 0]]},
{"handle": "2C", "type": "AcDbFace", "space": "paper", "layer": "0", "erased": false, \
"corners": [[0, 0, 0], [1, 0, 0], [1, 1, 0], [1, 1, 0]], "edgeVisible": [true, false, true, true]},
{"handle": "2D", "type": "AcDbPolyline", "space": "model", "layer": "Gel\\u00e4nde", \
"erased": false, "vertices": [[0, 0], [10, 0], [10, 10]], "bulges": [0, 0.5, 0], \
"elevation": 2.5, "closed": true},
{"handle": "2E", "type": "AcDbSubDMesh", "space": "model", "layer": "0", "erased": true, \
"vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "faces": [[0, 1, 2]], "vertexColors": [], \
"subDLevel": 1}
],
"nextHandle": "2F"}
"""

EMPTY_JSON = '{"layers": [{"name": "0", "hidden": false}], "entities": []}\n'


def json_seeds():
    return {"fixture.json": FIXTURE_JSON.encode(), "empty.json": EMPTY_JSON.encode()}


# ---- geometry ----
# Byte 0: placement (bits 0-1), maximum edge length (bit 2), CDCT too (bit 3); then records:
# kind byte (0 point, 1 breakline, 2 outer boundary, 3 hole; a line's vertex count is
# 1 + (kind // 4) % 8) and three bytes x, y, z per vertex (lattice position in the low four bits,
# bits 4-5: one unit up, one unit down, 0.3 steps off).

def g_point(x, y, z=0, nudge=0):
    return bytes([0, x | nudge << 4, y, z])


def g_line(kind, vertices):
    data = bytes([kind + 4 * (len(vertices) - 1)])
    for x, y in vertices:
        data += bytes([x, y, 7])
    return data


def lattice(n, nudges=0):
    return b"".join(g_point(x, y, (x * y) % 50, (x + y) % (nudges + 1))
                    for x in range(n) for y in range(n))


def geometry_seeds():
    import random
    seeds = {}
    for placement in range(4):
        for extra in (0, 4, 8, 12):
            head = bytes([placement | extra])
            seeds[f"grid-{placement}-{extra}"] = head + lattice(6, 2)
            seeds[f"kerbs-{placement}-{extra}"] = (
                head + lattice(5) + g_line(1, [(0, 1), (4, 1)]) + g_line(1, [(0, 3), (4, 3)]))
            seeds[f"outline-{placement}-{extra}"] = (
                head + lattice(7, 1) + g_line(2, [(1, 1), (5, 1), (5, 5), (3, 3), (1, 5)]) +
                g_line(3, [(2, 2), (3, 2), (3, 3 | 0x10)]))
    # Crossing lines and boundaries, lines along each other, nearly collinear points.
    seeds["crossing-breaklines"] = (bytes([8]) + lattice(4) + g_line(1, [(0, 0), (3, 3)]) +
                                    g_line(1, [(0, 3), (3, 0)]))
    seeds["crossing-boundaries"] = (bytes([0]) + lattice(4) +
                                    g_line(2, [(0, 0), (3, 0), (0, 3), (3, 3)]))
    seeds["overlapping-breaklines"] = (bytes([1]) + lattice(5) + g_line(1, [(0, 2), (3, 2)]) +
                                       g_line(1, [(1, 2), (4, 2)]))
    seeds["near-collinear"] = bytes([9]) + b"".join(
        g_point(k, k, 0, k % 3) for k in range(16))
    seeds["cocircular"] = bytes([8]) + b"".join(
        g_point(x, y) for x, y in [(3, 0), (0, 3), (6, 3), (3, 6), (1, 1), (5, 5), (1, 5), (5, 1),
                                   (3, 3)])
    rng = random.Random(20261207)
    for k in range(24):
        data = bytes([rng.randrange(16)])
        for _ in range(rng.randrange(8, 40)):
            kind = rng.choice([0, 0, 0, 0, 1, 2, 3])
            count = 1 if kind == 0 else rng.randrange(2, 6)
            data += bytes([kind + 4 * (count - 1)])
            for _ in range(count):
                data += bytes([rng.randrange(64), rng.randrange(64), rng.randrange(256)])
        seeds[f"random-{k:02d}"] = data
    return seeds


def write(target, seeds):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, "seed-" + name), "wb") as f:
            f.write(data)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--kafcad", help="kafcad program, to save the JSON seeds as DXF")
    args = parser.parse_args()
    write("lisp_call", lisp_call_seeds())
    write("point_file", point_file_seeds())
    write("json_drawing", json_seeds())
    write("geometry", geometry_seeds())
    if args.kafcad:
        folder = os.path.join(CORPUS, "dxf_drawing")
        os.makedirs(folder, exist_ok=True)
        for name in json_seeds():
            source = os.path.join(CORPUS, "json_drawing", "seed-" + name)
            target = os.path.join(folder, "seed-" + name.replace(".json", ".dxf"))
            subprocess.run([args.kafcad, "--drawing", source, "--save", target], check=True)


if __name__ == "__main__":
    main()
