#!/usr/bin/env python3
"""startup_bench: what kafcad costs to start, with and without a GIS call.

Cases, each a kafcad process of its own:
  start     kafcad -e 1: no GIS feature (GDAL is not loaded)
  crs       kafcad -e '(kafcad-crs "EPSG:25832")': the first GIS call loads GDAL and PROJ
  geotiff   a triangle's surface written as a 64 x 64-cell GeoTIFF and read back as DEM points

Every round runs each case once with --kafcad and, given --before (the build before a change),
once with that kafcad right after, so that a busy machine weighs on both alike. Each process is
started by /usr/bin/time: wall time, user and system time (wait4 on /usr/bin/time, which holds
kafcad's), peak resident memory and page faults (minor, major) as /usr/bin/time reads them.
Printed: per case and build the medians over the rounds, and the ratio of the kafcad's medians to
the before's.

Usage: startup_bench.py --kafcad build/app/kafcad [--before OTHER/kafcad] [--runs 21] [--work DIR]
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

CASES = [
    ("start", ["-e", "1"]),
    ("crs", ["-e", '(kafcad-crs "EPSG:25832")']),
    ("geotiff", [
        "-e", '(kafcad-geotiff "s.tif" 0.25 (list (list (list 0 0 1) (list 16 0 2) (list 0 16 3))))',
        "-e", '(length (kafcad-dem-points "s.tif"))',
    ]),
]

FIGURES = ["wall s", "user s", "sys s", "peak MB", "minor flt", "major flt"]


def run(kafcad, arguments, work):
    """One kafcad process, started by /usr/bin/time: its figures, in FIGURES' order.

    Peak memory and page faults are kafcad's own, as /usr/bin/time reads them: a process started
    straight from Python would count Python's own pages in its peak. User and system time come
    from wait4 on /usr/bin/time, which holds kafcad's to the microsecond (and time's own few)."""
    report = os.path.join(work, "time.txt")
    command = ["/usr/bin/time", "-o", report, "-f", "%M %R %F", kafcad] + arguments
    start = time.perf_counter()
    process = subprocess.Popen(command, cwd=work, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    error = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{kafcad} {' '.join(arguments)} failed: {error}")
    with open(report) as text:
        peak_kb, minor, major = (int(word) for word in text.read().split()[-3:])
    return [wall, usage.ru_utime, usage.ru_stime, peak_kb / 1024.0, minor, major]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--kafcad", required=True)
    parser.add_argument("--before")
    parser.add_argument("--runs", type=int, default=21)
    parser.add_argument("--work")
    options = parser.parse_args()
    builds = [("kafcad", os.path.abspath(options.kafcad))]
    if options.before:
        builds.append(("before", os.path.abspath(options.before)))
    work = options.work or tempfile.mkdtemp(prefix="startup_bench_")
    os.makedirs(work, exist_ok=True)

    figures = {(case, build): [] for case, _ in CASES for build, _ in builds}
    for _ in range(options.runs):
        for case, arguments in CASES:
            for build, kafcad in builds:
                figures[(case, build)].append(run(kafcad, arguments, work))

    print(f"{options.runs} rounds, medians; builds alternated within each round")
    for build, kafcad in builds:
        print(f"  {build}: {kafcad}")
    print(f"{'case':9} {'build':7}" + "".join(f"{name:>11}" for name in FIGURES))
    for case, _ in CASES:
        medians = {}
        for build, _ in builds:
            rows = figures[(case, build)]
            medians[build] = [statistics.median(row[i] for row in rows) for i in range(len(FIGURES))]
            print(f"{case:9} {build:7}" + "".join(f"{value:11.4g}" for value in medians[build]))
        if options.before:
            ratios = [now / then if then else float("nan")
                      for now, then in zip(medians["kafcad"], medians["before"])]
            print(f"{case:9} {'ratio':7}" + "".join(f"{value:11.3f}" for value in ratios))


if __name__ == "__main__":
    main()
