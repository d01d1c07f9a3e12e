"""LibreCAD, a DXF reader that shows neither MESH nor polyface meshes, shows a surface kafcad
wrote as 3D faces, its contour lines, their labels and spot levels: kafcad makes the drawing of
the documentation's point file, each kind on a layer of its own colour, and `librecad dxf2pdf`
prints it. The strokes of the page are counted by their colour: blue the faces' edges (three
or more per face), green the contours, red the labels' letters, magenta the spot levels.

librecad_annotations.py KAFCAD POINTS.CSV FOLDER
"""
import os
import re
import subprocess
import sys
import zlib

SCRIPT = """
(setq meshes (kaf-dct-subdmesh-withloadcsv (list "points.csv") ";" "TIN" 0.0 0.0 1.0))
(setq faces (kaf-surfaceFaces meshes "FACES"))
(setq lines (kaf-contours meshes 1.0 0.0 "CONTOUR"))
(setq labels (kaf-contourLabels lines "LABELS" 1.0 1 20.0))
(setq spots (kaf-spotLevels meshes "SPOTS" 1.0 2 '((12.5 17.5))))
(princ "\\ncounts ")
(princ (list (length faces) (length lines) (length labels)))
"""

COLOURS = {"0 0 1": "faces", "0 1 0": "contours", "1 0 0": "labels", "1 0 1": "spots"}


def strokes_by_colour(pdf_path):
    data = open(pdf_path, "rb").read()
    start = re.search(rb"stream\r?\n", data).end()
    stream = data[start:data.index(b"endstream", start)]
    try:
        stream = zlib.decompress(stream)
    except zlib.error:
        pass
    counts = {}
    colour = None
    for i, part in enumerate(re.split(rb"\n([\d. ]+) SCN\n", b"\n" + stream)):
        if i % 2 == 1:
            colour = COLOURS.get(part.decode(), part.decode())
        else:
            counts[colour] = counts.get(colour, 0) + part.count(b"\nS\n")
    return counts


def main():
    kafcad, points, folder = sys.argv[1:4]
    os.makedirs(folder, exist_ok=True)
    with open(points, "rb") as source, open(os.path.join(folder, "points.csv"), "wb") as copy:
        copy.write(source.read())
    run = subprocess.run([kafcad, "--layer", "TIN", "--layer", "FACES=5", "--layer", "CONTOUR=3",
                          "--layer", "LABELS=1", "--layer", "SPOTS=6", "--save", "issued.dxf",
                          "-"], input=SCRIPT, cwd=folder, capture_output=True, text=True)
    if run.returncode != 0:
        print("kafcad failed: " + run.stderr)
        return 1
    faces, lines, labels = (int(n) for n in re.search(r"counts \((\d+) (\d+) (\d+)\)",
                                                      run.stdout).groups())
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    subprocess.run(["librecad", "dxf2pdf", "-a", "issued.dxf"], cwd=folder, env=env,
                   capture_output=True, timeout=300, check=True)
    counts = strokes_by_colour(os.path.join(folder, "issued.pdf"))
    print("kafcad wrote %d faces, %d contours, %d labels; LibreCAD drew strokes %s" %
          (faces, lines, labels, counts))
    shown = (counts.get("faces", 0) >= 3 * faces and counts.get("contours", 0) >= lines and
             counts.get("labels", 0) >= 5 * labels and counts.get("spots", 0) >= 5)
    return 0 if shown and faces > 0 and labels > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
