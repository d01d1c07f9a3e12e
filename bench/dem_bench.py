#!/usr/bin/python3
"""dem_bench: kafcad's DEM reading and GeoTIFF writing against GDAL's own programs.

A DEM of N x N cells (a hilly Float64 GeoTIFF in EPSG:25832, made once with gdal_translate from an
ESRI ASCII grid written here) goes through two steps, each timed in a process of its own:

  read:  kafcad's (kafcad-dem-points "dem.tif" 1 "dem.csv") against gdal_translate -of XYZ,
         GDAL's own DEM-to-points text (both write one x y z row per cell);
  write: kafcad's (kafcad-geotiff "out.tif" cell meshes) after kaf-dct-subdmesh-withloadcsv on
         those points (the triangulation timed apart in a run that stops before the GeoTIFF), against
         gdal_grid -a linear, which triangulates the same points and interpolates linearly on the
         same grid.

The programs alternate round by round; the medians of wall time, user and system time, peak
resident memory and page faults (wait4 of each child) are printed, with kafcad's wall and
processor time (user + system) as ratios to GDAL's; on a busy machine the processor time is the
figure to go by. Finally the elevations of out.tif and of gdal_grid's grid are compared cell by
cell with the DEM (gdallocationinfo is too slow for millions of cells: both are read with GDAL's
Python bindings when present, else the check is skipped with a note).

Usage: /usr/bin/python3 bench/dem_bench.py --kafcad build/app/kafcad [--cells 1000] [--runs 3] [--work DIR]
"""

import argparse
import array
import math
import os
import statistics
import subprocess
import sys
import time


def run(command, cwd):
    """Runs the command line; gives wall, user, system seconds, peak RSS (MB), major+minor faults."""
    start = time.perf_counter()
    # exec: the shell becomes the program, so wait4 gives the program's own usage.
    child = subprocess.Popen("exec " + command, cwd=cwd, shell=True, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit(f"failed ({child.returncode}): {command}")
    return {
        "wall": wall,
        "user": usage.ru_utime,
        "sys": usage.ru_stime,
        "rss": usage.ru_maxrss / 1024.0,
        "faults": usage.ru_minflt + usage.ru_majflt,
    }


def write_dem(work, cells):
    asc = os.path.join(work, "dem.asc")
    with open(asc, "w") as f:
        f.write(f"ncols {cells}\nnrows {cells}\nxllcorner 350000\nyllcorner 5800000\n"
                "cellsize 1\nNODATA_value -9999\n")
        for row in range(cells):
            f.write(" ".join(
                "%.3f" % (400 + 30 * math.sin(column / 97.0) * math.cos(row / 61.0) + row * 0.01)
                for column in range(cells)) + "\n")
    subprocess.run("gdal_translate -q -ot Float64 -a_srs EPSG:25832 dem.asc dem.tif", cwd=work,
                   shell=True, check=True)


def show(name, samples, reference=None):
    median = {key: statistics.median(s[key] for s in samples) for key in samples[0]}
    cpu = median["user"] + median["sys"]
    ratio = (f"  {median['wall'] / reference['wall']:.2f} x GDAL's wall, "
             f"{cpu / (reference['user'] + reference['sys']):.2f} x its processor time"
             if reference else "")
    print(f"  {name:<34} wall {median['wall']:7.2f} s  user {median['user']:7.2f} s  "
          f"sys {median['sys']:5.2f} s  peak {median['rss']:8.1f} MB  "
          f"faults {median['faults']:9.0f}{ratio}")
    return median


def cells_of(path):
    from osgeo import gdal
    dataset = gdal.Open(path)
    band = dataset.GetRasterBand(1)
    raw = band.ReadRaster(0, 0, dataset.RasterXSize, dataset.RasterYSize,
                          buf_type=gdal.GDT_Float64)
    return (dataset.RasterXSize, dataset.RasterYSize), array.array("d", raw)


def compare(work, cells):
    try:
        from osgeo import gdal  # noqa: F401
    except ImportError:
        print("  (no GDAL Python bindings: the grids are not compared)")
        return
    size, dem = cells_of(os.path.join(work, "dem.tif"))
    for name in ("out.tif", "grid.tif"):
        other_size, data = cells_of(os.path.join(work, name))
        if other_size != size:
            print(f"  {name}: {other_size} cells, the DEM {size}")
            continue
        differences = [abs(a - b) for a, b in zip(data, dem)]
        differ = sum(1 for d in differences if d != 0.0)
        print(f"  {name}: {differ} of {cells * cells} cells differ from the DEM, "
              f"largest difference {max(differences):.3g}")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--kafcad", required=True)
    parser.add_argument("--cells", type=int, default=1000)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--work", default="build/dem_bench")
    options = parser.parse_args()
    kafcad = os.path.abspath(options.kafcad)
    work = options.work
    os.makedirs(work, exist_ok=True)
    write_dem(work, options.cells)
    n = options.cells
    read_kafcad = f"{kafcad} -e '(kafcad-dem-points \"dem.tif\" 1 \"dem.csv\")'"
    read_gdal = "gdal_translate -q -of XYZ dem.tif dem.xyz"
    surface = (f"{kafcad} --layer TIN -e '(setq m (kaf-dct-subdmesh-withloadcsv "
               "(list \"dem.csv\") \";\" \"TIN\" 0.0 0.0 1.0))'")
    write_kafcad = surface + " -e '(kafcad-geotiff \"out.tif\" 1 m)'"
    write_gdal = (f"gdal_grid -q -a linear -txe 350000 {350000 + n} -tye {5800000 + n} 5800000 "
                  f"-outsize {n} {n} -ot Float64 -of GTiff dem.vrt grid.tif")
    with open(os.path.join(work, "dem.vrt"), "w") as f:
        f.write('<OGRVRTDataSource><OGRVRTLayer name="dem"><SrcDataSource>dem.csv</SrcDataSource>'
                '<GeometryType>wkbPoint25D</GeometryType><LayerSRS>EPSG:25832</LayerSRS>'
                '<GeometryField encoding="PointFromColumns" x="field_1" y="field_2" z="field_3"/>'
                '</OGRVRTLayer></OGRVRTDataSource>')
    with open(os.path.join(work, "dem.csvt"), "w") as f:
        f.write("Real,Real,Real\n")
    samples = {key: [] for key in ("read_kafcad", "read_gdal", "surface", "write_kafcad",
                                   "write_gdal")}
    print(f"DEM of {n} x {n} cells ({n * n} points), {options.runs} rounds, medians:")
    for _ in range(options.runs):
        samples["read_kafcad"].append(run(read_kafcad, work))
        samples["read_gdal"].append(run(read_gdal, work))
        # GDAL's CSV reader wants the separator in the file name's options: a copy with commas.
        subprocess.run("tr ';' ',' < dem.csv > dem_commas.csv && mv dem_commas.csv dem.csv.g",
                       cwd=work, shell=True, check=True)
        samples["surface"].append(run(surface, work))
        samples["write_kafcad"].append(run(write_kafcad, work))
        os.replace(os.path.join(work, "dem.csv"), os.path.join(work, "dem.csv.k"))
        os.replace(os.path.join(work, "dem.csv.g"), os.path.join(work, "dem.csv"))
        samples["write_gdal"].append(run(write_gdal, work))
        os.replace(os.path.join(work, "dem.csv.k"), os.path.join(work, "dem.csv"))
    print("DEM to points:")
    gdal_read = show("gdal_translate -of XYZ", samples["read_gdal"])
    show("kafcad-dem-points to a point file", samples["read_kafcad"], gdal_read)
    print("Points to a GeoTIFF DEM:")
    gdal_write = show("gdal_grid -a linear", samples["write_gdal"])
    surface_median = show("kafcad: point file to meshes", samples["surface"])
    total = show("kafcad: the same and kafcad-geotiff", samples["write_kafcad"], gdal_write)
    print(f"  kafcad-geotiff alone (difference of the medians): "
          f"{total['wall'] - surface_median['wall']:.2f} s wall")
    print("Elevations against the DEM:")
    compare(work, n)


if __name__ == "__main__":
    main()
