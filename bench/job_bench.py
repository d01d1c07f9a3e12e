#!/usr/bin/env python3
"""job_bench: the whole job a user runs with kafcad on a large survey, phase by phase.

The job: kafcad loads the module, reads a point file of N rows (the terrain sample of
samples/generate_terrain.py, written once into the work folder) with
kaf-dct-subdmesh-withloadcsv at its default split of 32767 vertices per mesh, colours the meshes
with kaf-changeMeshColor, saves the drawing as DXF (--save) and draws the top view (--png).

Each phase is timed from outside, in wall time and in the processor time of the kafcad process
(/proc/PID/schedstat, read as each event is seen): the module's own progress texts mark the
phases of the point-file function as they reach the pipe (kafcad flushes every text), two
princ markers frame the colouring, the saved drawing appearing under its name ends the save, and
the process's exit ends the run. A second run of the same job without --png, alternated round by
round with the first, tells the picture from what follows it: the picture is the time from the
save to the exit, less that time in the run without picture.

Output: per round the phases of the job, then the medians over the rounds with each phase as a
ratio to the triangulation ("Start Calculation ..." to "ready after": CDCT's Triangulate and
GetVertices), the whole run against the triangulation, the largest phase and the peak resident
memory of the run.

With --before, a second kafcad (the build before a change) runs the same job in every round,
alternated with the first; both get their table, and what the two wrote is compared: the DXF files
byte for byte, the PNG pictures pixel for pixel (decoded here, 8-bit RGB or RGBA).

Usage: job_bench.py --kafcad build/app/kafcad [--before OTHER/kafcad] [--points 1000000]
                    [--runs 5] [--work DIR]
"""

import argparse
import filecmp
import os
import select
import statistics
import struct
import subprocess
import sys
import time
import zlib

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

SCRIPT = """(setq meshes (kaf-dct-subdmesh-withloadcsv (list "{points}") ";" "TIN"
                                           -350000.0 -5800000.0 1.0))
(princ "\\n@colour\\n")
(kaf-changeMeshColor meshes 430.0 580.0 '(40 95 55) '(215 195 165))
(princ "\\n@end\\n")
"""

# Texts that mark events, in the order they come, with the name of the event they mark.
MARKS = [
    ("Please wait ...", "started"),
    ("Loading files ... ", "loading"),
    ("Parsing ... finished", "parsed"),
    ("Start Calculation ... ", "triangulating"),
    ("ready after", "triangulated"),
    ("@colour", "colouring"),
    ("@end", "coloured"),
]

# Phases: name, first event, last event.
PHASES = [
    ("start (module, script)", "launch", "started"),
    ("reading the point file", "loading", "parsed"),
    ("triangulation", "triangulating", "triangulated"),
    ("writing the meshes", "triangulated", "colouring"),
    ("kaf-changeMeshColor", "colouring", "coloured"),
    ("--save (DXF)", "coloured", "saved"),
]


def cpu_seconds(pid):
    """Processor time of the process so far (all its threads), from the scheduler's counters."""
    total = 0
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/schedstat") as stat:
                total += int(stat.read().split()[0])
    except (FileNotFoundError, ProcessLookupError):
        return None
    return total * 1e-9


def run_job(kafcad, work, points_file, picture):
    """One run of the job; gives the events as {name: (wall seconds, cpu seconds)}, the peak
    resident memory in MB and the exit status."""
    dxf = os.path.join(work, "job.dxf")
    png = os.path.join(work, "job.png")
    for path in (dxf, png):
        if os.path.exists(path):
            os.remove(path)
    with open(os.path.join(work, "job.lsp"), "w") as script:
        script.write(SCRIPT.format(points=points_file))
    command = [kafcad, "--layer", "TIN", "--save", "job.dxf"]
    if picture:
        command += ["--png", "job.png"]
    command.append("job.lsp")
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=work, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL)
    events = {"launch": (0.0, 0.0)}
    marks = list(MARKS)
    text = ""
    fd = process.stdout.fileno()
    open_pipe = True
    while True:
        if open_pipe:
            ready, _, _ = select.select([fd], [], [], 0.002)
            if ready:
                chunk = os.read(fd, 65536)
                if not chunk:
                    open_pipe = False
                else:
                    now = time.monotonic() - start
                    cpu = cpu_seconds(process.pid)
                    text += chunk.decode("utf-8", "replace")
                    while marks and marks[0][0] in text:
                        mark, name = marks.pop(0)
                        events[name] = (now, cpu)
                        text = text[text.index(mark) + len(mark):]
        else:
            time.sleep(0.002)
        if "coloured" in events and "saved" not in events and os.path.exists(dxf):
            events["saved"] = (time.monotonic() - start, cpu_seconds(process.pid))
        finished, status, usage = os.wait4(process.pid, os.WNOHANG)
        if finished:
            end = time.monotonic() - start
            events["exit"] = (end, usage.ru_utime + usage.ru_stime)
            process.returncode = status
            return events, usage.ru_maxrss / 1024.0, status
        if not open_pipe and "coloured" not in events:
            time.sleep(0.01)


def phase_times(events):
    times = {}
    for name, first, last in PHASES:
        if first in events and last in events and events[first][1] is not None \
                and events[last][1] is not None:
            times[name] = (events[last][0] - events[first][0], events[last][1] - events[first][1])
    return times


def paeth(a, b, c):
    """PNG's Paeth predictor of a byte from its left, upper and upper-left neighbours."""
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def png_pixels(path):
    """The decoded pixel rows of an 8-bit RGB or RGBA PNG without interlacing, as bytes."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, header = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError(f"{path}: only 8-bit RGB or RGBA pictures without interlacing")
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(idat))
    stride = width * bpp
    previous = bytearray(stride)
    out = bytearray()
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        row = bytearray(raw[start + 1:start + 1 + stride])
        if kind == 1:
            for i in range(bpp, stride):
                row[i] = (row[i] + row[i - bpp]) & 255
        elif kind == 2:
            row = bytearray((a + b) & 255 for a, b in zip(row, previous))
        elif kind == 3:
            for i in range(stride):
                left = row[i - bpp] if i >= bpp else 0
                row[i] = (row[i] + ((left + previous[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(stride):
                left = row[i - bpp] if i >= bpp else 0
                corner = previous[i - bpp] if i >= bpp else 0
                row[i] = (row[i] + paeth(left, previous[i], corner)) & 255
        out += row
        previous = row
    return width, height, bpp, bytes(out)


def measure_round(kafcad, work, points_file, keep_as):
    """One round: the job with and without the picture; gives the phases and the peak memory.
    The files of the job with the picture are kept as keep_as.dxf and keep_as.png."""
    job, peak, status = run_job(kafcad, work, points_file, picture=True)
    for extension in (".dxf", ".png"):
        if os.path.exists(os.path.join(work, "job" + extension)):
            os.replace(os.path.join(work, "job" + extension),
                       os.path.join(work, keep_as + extension))
    plain, _, plain_status = run_job(kafcad, work, points_file, picture=False)
    if status != 0 or plain_status != 0 or "saved" not in job or "saved" not in plain:
        sys.exit(f"job_bench: {kafcad} failed (status {status}, {plain_status})")
    times = phase_times(job)
    # The picture: from the save to the exit, less the same span without the picture.
    tail = (job["exit"][0] - job["saved"][0], job["exit"][1] - job["saved"][1])
    plain_tail = (plain["exit"][0] - plain["saved"][0], plain["exit"][1] - plain["saved"][1])
    times["--png"] = (tail[0] - plain_tail[0], tail[1] - plain_tail[1])
    times["ending (freeing, exit)"] = plain_tail
    times["whole run"] = job["exit"]
    return times, peak


def report(title, rounds):
    """Prints the medians of the rounds as a table; gives the medians."""
    names = list(rounds[0][0].keys())
    median = {name: (statistics.median(t[name][0] for t, _ in rounds),
                     statistics.median(t[name][1] for t, _ in rounds)) for name in names}
    base_wall, base_cpu = median["triangulation"]
    print(f"\n{title}: medians of {len(rounds)} rounds; ratio = phase / triangulation")
    print(f"  {'phase':26} {'wall s':>7} {'cpu s':>7} {'ratio wall':>11} {'ratio cpu':>10}")
    for name in names:
        wall, cpu = median[name]
        print(f"  {name:26} {wall:7.3f} {cpu:7.3f} {wall / base_wall:11.2f} {cpu / base_cpu:10.2f}")
    phases = [n for n in names if n not in ("whole run", "triangulation")]
    largest = max(phases, key=lambda n: median[n][1])
    print(f"whole run / triangulation: {median['whole run'][0] / base_wall:.2f} wall, "
          f"{median['whole run'][1] / base_cpu:.2f} cpu (goal 2.0)")
    print(f"largest phase besides the triangulation (cpu): {largest}")
    print(f"peak resident memory of the run: {statistics.median(p for _, p in rounds):.0f} MB")
    return median


def main():
    parser = argparse.ArgumentParser(description="kafcad's whole job, phase by phase")
    parser.add_argument("--kafcad", default=os.path.join(REPO, "build", "app", "kafcad"))
    parser.add_argument("--points", type=int, default=1000000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--work", default=os.path.join(REPO, "out", "job_bench"))
    parser.add_argument("--before", help="a second kafcad to compare with, round by round")
    arguments = parser.parse_args()

    kafcad = os.path.abspath(arguments.kafcad)
    if not os.access(kafcad, os.X_OK):
        sys.exit(f"job_bench: no kafcad at {kafcad} (build it, or give --kafcad)")
    os.makedirs(arguments.work, exist_ok=True)
    points_file = f"terrain-{arguments.points}.csv"
    points_path = os.path.join(arguments.work, points_file)
    if not os.path.exists(points_path):
        print(f"writing {points_path} ...", flush=True)
        subprocess.run([sys.executable, os.path.join(REPO, "samples", "generate_terrain.py"),
                        points_path, "--points", str(arguments.points)], check=True,
                       stdout=subprocess.DEVNULL)

    before = os.path.abspath(arguments.before) if arguments.before else None
    if before and not os.access(before, os.X_OK):
        sys.exit(f"job_bench: no kafcad at {before}")
    print(f"kafcad {kafcad}" + (f"\nbefore {before}" if before else "") +
          f"\njob on {points_file}: withloadcsv (default split), "
          f"kaf-changeMeshColor, --save DXF, --png; {arguments.runs} rounds\n", flush=True)
    rounds, before_rounds = [], []
    for r in range(arguments.runs):
        if before:
            before_rounds.append(measure_round(before, arguments.work, points_file, "before"))
        rounds.append(measure_round(kafcad, arguments.work, points_file, "kafcad"))
        shown = [("before", before_rounds[-1])] if before else []
        for label, (times, peak) in shown + [("kafcad", rounds[-1])]:
            print(f"round {r + 1} {label}: " +
                  ", ".join(f"{name} {wall:.2f}/{cpu:.2f}" for name, (wall, cpu) in times.items())
                  + f"  (wall/cpu s), peak {peak:.0f} MB", flush=True)

    median = report("kafcad", rounds)
    if before:
        before_median = report("before", before_rounds)
        print("\nphase ratios (cpu), before -> kafcad:")
        for name in median:
            print(f"  {name:26} {before_median[name][1] / before_median['triangulation'][1]:5.2f}"
                  f" -> {median[name][1] / median['triangulation'][1]:5.2f}")
        work = arguments.work
        same_dxf = filecmp.cmp(os.path.join(work, "before.dxf"), os.path.join(work, "kafcad.dxf"),
                               shallow=False)
        same_png = png_pixels(os.path.join(work, "before.png")) == \
            png_pixels(os.path.join(work, "kafcad.png"))
        print(f"\nDXF files of the last round: {'byte-identical' if same_dxf else 'DIFFERENT'}")
        print(f"PNG pictures of the last round: {'pixel-identical' if same_png else 'DIFFERENT'}")
        if not (same_dxf and same_png):
            sys.exit(1)


if __name__ == "__main__":
    main()
