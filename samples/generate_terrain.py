#!/usr/bin/env python3
"""Writes a terrain survey sample: about 150,000 points of a hilly area as a point file.

The area is 1.5 km x 1.5 km in projected survey coordinates (eastings 350000-351500,
northings 5800000-5801500, metres) with elevations between 400 m and 600 m: a stream valley
winds through it from the north-west to the south-east, two ridges run across it from the
south-west, and hills and small undulations lie between them. The points are placed as a
survey crew would measure them: cross-sections across the valley, dense lines along the stream
and the ridge crests, a walked grid on the open slopes, and scattered detail points. A fixed
seed makes every run write the same file.

Each line is "easting;northing;elevation" with millimetre decimals.

Usage: generate_terrain.py OUTPUT.csv [--points N]
"""

import argparse
import math
import random

WEST, SOUTH = 350000.0, 5800000.0
SIZE = 1500.0
LOW, HIGH = 400.0, 600.0
SEED = 20240611


def smoothstep(t):
    return t * t * (3.0 - 2.0 * t)


class ValueNoise:
    """Smooth pseudo-random noise in [-1, 1]: random values on a lattice, smoothly blended."""

    def __init__(self, rng, size=64):
        self.size = size
        self.values = [rng.uniform(-1.0, 1.0) for _ in range(size * size)]

    def at(self, x, y):
        size = self.size
        xi, yi = math.floor(x), math.floor(y)
        tx, ty = smoothstep(x - xi), smoothstep(y - yi)
        x0, y0 = xi % size, yi % size
        x1, y1 = (x0 + 1) % size, (y0 + 1) % size
        v = self.values
        top = v[y0 * size + x0] + (v[y0 * size + x1] - v[y0 * size + x0]) * tx
        bottom = v[y1 * size + x0] + (v[y1 * size + x1] - v[y1 * size + x0]) * tx
        return top + (bottom - top) * ty

    def octaves(self, x, y, count):
        total, amplitude, frequency, norm = 0.0, 1.0, 1.0, 0.0
        for _ in range(count):
            total += amplitude * self.at(x * frequency, y * frequency)
            norm += amplitude
            amplitude *= 0.5
            frequency *= 2.03
        return total / norm


class Terrain:
    """Elevation of the sample area at local coordinates (0 ... SIZE, 0 ... SIZE)."""

    def __init__(self, rng):
        self.noise = ValueNoise(rng)
        self.hills = [(rng.uniform(0, SIZE), rng.uniform(0, SIZE), rng.uniform(60, 220),
                       rng.uniform(-25, 45)) for _ in range(14)]

    @staticmethod
    def stream_x(y):
        """The stream's easting (local) at a northing: it enters in the north-west and
        leaves in the south-east, meandering."""
        t = y / SIZE
        return 1150.0 - 800.0 * t + 90.0 * math.sin(t * 9.0) + 35.0 * math.sin(t * 23.0 + 1.0)

    def height(self, x, y):
        # A gentle tilt: higher in the south-west.
        z = 500.0 - 0.02 * (x - 750.0) - 0.015 * (y - 750.0)
        # Two ridges running from the south-west to the north-east, with sharp crests.
        for offset, height, width in ((-420.0, 80.0, 120.0), (380.0, 65.0, 105.0)):
            across = (x - y) / math.sqrt(2.0) - offset + 40.0 * self.noise.at(x / 300.0, y / 300.0)
            z += height * math.exp(-abs(across) / width) * (0.8 + 0.2 * math.cos(y / 190.0))
        # Hills.
        for hx, hy, radius, height in self.hills:
            d2 = ((x - hx) ** 2 + (y - hy) ** 2) / (radius * radius)
            z += height * math.exp(-d2)
        # The stream valley: a wide trough with a narrow channel.
        across = x - self.stream_x(y)
        z -= 62.0 * math.exp(-(across / 150.0) ** 2) + 4.0 * math.exp(-(across / 6.0) ** 2)
        # Undulations and surface roughness.
        z += 9.0 * self.noise.octaves(x / 140.0 + 7.3, y / 140.0 + 1.9, 5)
        z += 0.35 * self.noise.at(x / 3.1 + 31.0, y / 3.1 + 17.0)
        return min(HIGH, max(LOW, z))


def inside(x, y):
    return 0.0 <= x <= SIZE and 0.0 <= y <= SIZE


def cross_sections(rng, terrain):
    """Profiles across the valley every ~25 m, points every 3-8 m, 260 m each side."""
    y = 5.0
    while y < SIZE:
        centre = terrain.stream_x(y)
        dx = terrain.stream_x(y + 1.0) - terrain.stream_x(y - 1.0)
        length = math.hypot(dx, 2.0)
        nx, ny = 2.0 / length, -dx / length  # across the stream
        s = -260.0
        while s <= 260.0:
            x, yy = centre + nx * s + rng.gauss(0, 0.3), y + ny * s + rng.gauss(0, 0.3)
            if inside(x, yy):
                yield x, yy
            s += rng.uniform(3.0, 8.0) if abs(s) > 20.0 else rng.uniform(1.0, 2.5)
        y += rng.uniform(21.0, 29.0)


def stream_lines(rng, terrain):
    """The channel's centre and both banks, a point every 1.5-3 m."""
    for side in (-6.0, 0.0, 6.0):
        y = 0.0
        while y <= SIZE:
            x = terrain.stream_x(y) + side + rng.gauss(0, 0.4)
            if inside(x, y):
                yield x, y
            y += rng.uniform(1.5, 3.0)


def ridge_lines(rng):
    """Along the two ridge crests, a point every 2-5 m."""
    for offset in (-420.0, 380.0):
        t = -SIZE
        while t <= 2.0 * SIZE:
            x = (t + offset * math.sqrt(2.0)) / 2.0 + rng.gauss(0, 3.0)
            y = (t - offset * math.sqrt(2.0)) / 2.0 + rng.gauss(0, 3.0)
            if inside(x, y):
                yield x, y
            t += rng.uniform(2.0, 5.0)


def walked_grid(rng, spacing):
    """A rover walking a grid across the whole area, a point about every `spacing` metres."""
    rows = int(SIZE / spacing)
    for row in range(rows + 1):
        y0 = row * spacing
        columns = range(rows + 1) if row % 2 == 0 else range(rows, -1, -1)
        for column in columns:
            x = column * spacing + rng.uniform(-0.35, 0.35) * spacing
            y = y0 + rng.uniform(-0.35, 0.35) * spacing
            if inside(x, y):
                yield x, y


def detail_points(rng, count):
    """Scattered detail points, in clusters around features."""
    centres = [(rng.uniform(0, SIZE), rng.uniform(0, SIZE)) for _ in range(60)]
    made = 0
    while made < count:
        if rng.random() < 0.5:
            x, y = rng.uniform(0, SIZE), rng.uniform(0, SIZE)
        else:
            cx, cy = rng.choice(centres)
            x, y = rng.gauss(cx, 25.0), rng.gauss(cy, 25.0)
        if inside(x, y):
            made += 1
            yield x, y


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("output")
    parser.add_argument("--points", type=int, default=150000,
                        help="about how many points to write (default 150000)")
    arguments = parser.parse_args()

    rng = random.Random(SEED)
    terrain = Terrain(rng)
    positions = []
    positions.extend(cross_sections(rng, terrain))
    positions.extend(stream_lines(rng, terrain))
    positions.extend(ridge_lines(rng))
    # The lines take at most a third of the points; for small samples every so many is kept.
    most = arguments.points // 3
    if len(positions) > most:
        step = len(positions) / max(1, most)
        positions = [positions[int(i * step)] for i in range(most)]
    # The walked grid takes about two thirds of what is left, detail points the rest.
    remaining = max(0, arguments.points - len(positions))
    spacing = SIZE / max(1.0, math.sqrt(remaining * 2.0 / 3.0))
    positions.extend(walked_grid(rng, spacing))
    positions.extend(detail_points(rng, max(0, arguments.points - len(positions))))

    with open(arguments.output, "w", newline="\n") as out:
        for x, y in positions:
            z = terrain.height(x, y) + rng.gauss(0.0, 0.01)
            out.write(f"{WEST + x:.3f};{SOUTH + y:.3f};{z:.3f}\n")
    print(f"{len(positions)} points written to {arguments.output}")


if __name__ == "__main__":
    main()
