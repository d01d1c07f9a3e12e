#!/usr/bin/env python3
"""Writes the road corridor sample: a survey point file and the drawing with its lines.

A 200 m stretch of road, 7 m wide between two kerbs, runs across a gently sloping site. The road
surface lies 0.15 m below the kerb tops and falls 2.5 % to both gutters from its crown; the verges
outside the kerbs follow the natural ground. The survey is a 4 m grid over the site (with a
little noise) and the road's own cross sections every 10 m.

Outputs (in the current folder, or the folder given):
  road.txt   survey points, PNEZD, ';' between columns, decimal commas, one header row
  road.json  kafcad drawing: layers ROAD and PROFILE, the two kerbs as 3D polylines (handles
             1A, 1B), the site outline (3D polyline 1C), a traffic island hidden from the
             surface (3D polyline 1D) and the road's centre line, the alignment of its profile
             and cross-sections (3D polyline 1E, a vertex every 5 m)
Same output every run (fixed seed).
"""
import json
import math
import os
import random
import sys

LENGTH = 200.0
HALF_WIDTH = 3.5
KERB_HEIGHT = 0.15


def centre(s):
    """The road's centre line at chainage s: a gentle S-curve through the site."""
    return s, 60.0 + 12.0 * math.sin(s / LENGTH * 2.0 * math.pi)


def ground(x, y):
    return 100.0 + 0.02 * x + 0.05 * y + 0.6 * math.sin(x / 23.0) * math.cos(y / 17.0)


def road_level(s):
    x, y = centre(s)
    return ground(x, y) + 0.3


def normal(s):
    x0, y0 = centre(s - 0.5)
    x1, y1 = centre(s + 0.5)
    length = math.hypot(x1 - x0, y1 - y0)
    return -(y1 - y0) / length, (x1 - x0) / length


def offset(s, d):
    x, y = centre(s)
    nx, ny = normal(s)
    return x + d * nx, y + d * ny


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    random.seed(20261206)
    rows = []
    number = 1
    # The natural ground, away from the road.
    for i in range(0, 51):
        for j in range(0, 31):
            x = i * 4.0 + random.uniform(-0.4, 0.4)
            y = j * 4.0 + random.uniform(-0.4, 0.4)
            s = min(max(x, 0.0), LENGTH)
            cx, cy = centre(s)
            if abs(y - cy) < HALF_WIDTH + 1.0:
                continue
            rows.append((number, y, x, ground(x, y) + random.uniform(-0.02, 0.02), "GND"))
            number += 1
    # Road cross sections: crown and gutters.
    for k in range(0, 21):
        s = k * 10.0
        for d, code in ((0.0, "CROWN"), (-HALF_WIDTH + 0.3, "GUTTER"), (HALF_WIDTH - 0.3, "GUTTER")):
            x, y = offset(s, d)
            z = road_level(s) - KERB_HEIGHT - 0.025 * abs(d)
            rows.append((number, y, x, z, code))
            number += 1

    def comma(v):
        return ("%.3f" % v).replace(".", ",")

    with open(os.path.join(folder, "road.txt"), "w", newline="") as out:
        out.write("Point;Northing;Easting;Elevation;Code\r\n")
        for n, north, east, z, code in rows:
            out.write("%d;%s;%s;%s;%s\r\n" % (n, comma(north), comma(east), comma(z), code))

    def kerb(side):
        points = []
        for k in range(0, 41):
            s = k * 5.0
            x, y = offset(s, side * HALF_WIDTH)
            points.append([round(x, 3), round(y, 3), round(road_level(s), 3)])
        return points

    outline = []
    for x, y in ((-1, -1), (201, -1), (201, 121), (120, 121), (100, 100), (-1, 100)):
        outline.append([x, y, round(ground(x, y), 3)])
    # A traffic island north of the road, around (150, 90).
    island = []
    for k in range(0, 12):
        a = k / 12.0 * 2.0 * math.pi
        x, y = 150.0 + 9.0 * math.cos(a), 90.0 + 5.0 * math.sin(a)
        island.append([round(x, 3), round(y, 3), round(ground(x, y), 3)])

    def line(handle, vertices, closed):
        return {"handle": handle, "type": "AcDb3dPolyline", "layer": "ROAD",
                "vertices": vertices, "closed": closed}

    centre_line = []
    for k in range(0, 41):
        x, y = centre(k * 5.0)
        centre_line.append([round(x, 3), round(y, 3), round(road_level(k * 5.0), 3)])

    drawing = {
        "layers": [{"name": "0"}, {"name": "ROAD"}, {"name": "TIN"}, {"name": "PROFILE"}],
        "entities": [line("1A", kerb(-1), False), line("1B", kerb(1), False),
                     line("1C", outline, True), line("1D", island, True),
                     line("1E", centre_line, False)],
    }
    with open(os.path.join(folder, "road.json"), "w") as out:
        json.dump(drawing, out, indent=1)
    print("%d survey points, 2 kerbs, an outline, an island and a centre line" % len(rows))


if __name__ == "__main__":
    main()
