"""LibreCAD, another independent reader, opens a DXF file that kafcad saved and draws it as it
draws the file kafcad read: a drawing made by ezdxf (LINEs, a block reference, 3D faces, colours,
a layer with colour and linetype) gets a MESH from kafcad, and `librecad dxf2pdf` prints both
files. LibreCAD does not draw MESH entities, so the two pictures must be the same, and they must
hold the carried-through entities' strokes. No texts, circles or dashed lines: LibreCAD prints
them as thousands of tiny strokes, which takes it seconds each.

librecad_open.py KAFCAD FOLDER
"""
import os
import re
import subprocess
import sys
import zlib

import ezdxf


def make(path):
    doc = ezdxf.new("R2013", setup=True)
    doc.header["$INSUNITS"] = 6
    doc.layers.add("TIN", color=1, linetype="DASHED")
    block = doc.blocks.new("PEG")
    block.add_line((-1, 0), (1, 0))
    block.add_line((0, -1), (0, 1))
    msp = doc.modelspace()
    msp.add_line((0, 0), (10, 10), dxfattribs={"color": 3})
    msp.add_blockref("PEG", (3, 3), dxfattribs={"xscale": 2})
    msp.add_3dface([(0, 0, 0), (4, 0, 0), (4, 4, 1)], dxfattribs={"color": 5})
    msp.add_3dface([(5, 0, 0), (5, 4, 0), (9, 4, 1)]).rgb = (10, 20, 30)
    doc.saveas(path)


def picture(pdf_path):
    """The drawing commands of the PDF's page."""
    data = open(pdf_path, "rb").read()
    start = re.search(rb"stream\r?\n", data).end()
    stream = data[start:data.index(b"endstream", start)]
    try:
        stream = zlib.decompress(stream)
    except zlib.error:
        pass
    return stream


def main():
    kafcad, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    original = os.path.join(folder, "report.dxf")
    saved = os.path.join(folder, "report_saved.dxf")
    make(original)
    run = subprocess.run([kafcad, "--drawing", original, "--save", saved, "-e",
                          "(kaf-dct-subdmesh '((0 0 1) (10 0 2) (0 10 3) (10 10 4)) \"TIN\")"],
                         capture_output=True, text=True)
    if run.returncode != 0:
        print("kafcad failed: " + run.stderr)
        return 1
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    subprocess.run(["librecad", "dxf2pdf", "-a", "report.dxf", "report_saved.dxf"], cwd=folder,
                   env=env, capture_output=True, timeout=300, check=True)
    before = picture(os.path.join(folder, "report.pdf"))
    after = picture(os.path.join(folder, "report_saved.pdf"))
    strokes = after.count(b"\nS\n")
    print("LibreCAD drew %d strokes from the saved file, %d from the original" %
          (strokes, before.count(b"\nS\n")))
    if after != before:
        print("LibreCAD draws the saved file differently")
        return 1
    # The LINE, the block's two lines and the 3D faces' edges.
    return 0 if strokes >= 9 else 1


if __name__ == "__main__":
    sys.exit(main())
