// Times the surface functions on 1,000,000-vertex terrains, each as a ratio to the
// triangulation time (construct, AddPoint, Triangulate, GetVertices of geom::CDCT) of the same
// run:
// - contours: WeldSurface of the terrain given as meshes of at most 50,000 vertices (cut the way
//   the splitting mesh writer cuts, tests/geom/split_like_writer.h) and TraceContours at 100
//   levels (goal: ratio at most 1.0);
// - volumes: WeldSurface of the terrain and of a design surface (another 1,000,000 points,
//   meshes likewise) and ComputeVolume between them (goal: ratio at most 3.0).
// Prints per-run figures and the medians over the runs.
//
// Usage: surface_bench [points] [runs]   (defaults 1000000 and 5)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench_timing.h"
#include "geom/compute_volume.h"
#include "geom/dct.h"
#include "geom/trace_contours.h"
#include "geom/weld_surface.h"
#include "split_like_writer.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::SecondsSince;

struct Point {
    double x, y, z;
};

// Rolling hills over 10 km x 10 km, about 150 m of relief, with 5 cm of survey noise.
double Terrain(double x, double y) {
    return 150.0 + 40.0 * std::sin(x / 1500.0) * std::cos(y / 1100.0) +
           25.0 * std::sin((x + y) / 700.0) + 10.0 * std::cos(x / 300.0) * std::sin(y / 450.0);
}

// A platform sloping gently across the site.
double Design(double x, double y) {
    return 150.0 + 0.002 * (x - 5000.0) - 0.001 * (y - 5000.0);
}

std::vector<Point> Survey(std::size_t count, std::uint64_t seed, double (*height)(double, double),
                          double noise) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> plan(0.0, 10000.0);
    std::normal_distribution<double> gauss(0.0, noise);
    std::vector<Point> points(count);
    for (Point& p : points) {
        p.x = plan(random);
        p.y = plan(random);
        p.z = height(p.x, p.y) + gauss(random);
    }
    return points;
}

// The whole use of the triangulator: construct, AddPoint, Triangulate, GetVertices; its time
// in `seconds`. Gives the triangulation as one mesh.
geom::SurfaceMesh Triangulate(const std::vector<Point>& points, double& seconds) {
    const Clock::time_point start = Clock::now();
    std::vector<geom::CTriangle> triangles;
    geom::SurfaceMesh mesh;
    {
        geom::CDCT dct;
        for (const Point& p : points) {
            dct.AddPoint(p.x, p.y, p.z);
        }
        triangles = dct.Triangulate();
        mesh.vertices = dct.GetVertices();
    }
    seconds = SecondsSince(start);
    mesh.faces.reserve(triangles.size());
    for (const geom::CTriangle& t : triangles) {
        mesh.faces.push_back({t.i1, t.i2, t.i3});
    }
    return mesh;
}

bool Check(geom::SurfaceStatus status, const char* what) {
    if (status != geom::SurfaceStatus::Ok) {
        std::printf("\n%s failed with status %d\n", what, static_cast<int>(status));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t pointCount = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::vector<Point> terrain = Survey(pointCount, 20240601, Terrain, 0.05);
    double designSeconds = 0.0;
    const std::vector<geom::SurfaceMesh> designMeshes = surfacetest::SplitLikeWriter(
        Triangulate(Survey(pointCount, 20240602, Design, 0.0), designSeconds), 50000);

    double zmin = terrain[0].z, zmax = terrain[0].z;
    for (const Point& p : terrain) {
        zmin = std::min(zmin, p.z);
        zmax = std::max(zmax, p.z);
    }
    // 100 levels over the elevation range.
    const geom::ContourOptions options{zmin, (zmax - zmin) / 100.5, 5};

    std::printf("surface functions on %zu-point surfaces, %d runs\n", pointCount, runs);
    std::vector<double> triangulationTimes, contourTimes, volumeTimes, contourRatios,
        volumeRatios;
    for (int run = 0; run < runs; ++run) {
        double triangulationTime = 0.0;
        const geom::SurfaceMesh triangulation = Triangulate(terrain, triangulationTime);
        const std::vector<geom::SurfaceMesh> meshes =
            surfacetest::SplitLikeWriter(triangulation, 50000);

        // Contours: from the meshes to the lines.
        Clock::time_point step = Clock::now();
        geom::WeldedSurface surface;
        if (!Check(geom::WeldSurface(meshes, surface), "WeldSurface")) {
            return 1;
        }
        const double weldTime = SecondsSince(step);
        std::vector<geom::ContourLine> lines;
        if (!Check(geom::TraceContours(surface, options, lines), "TraceContours")) {
            return 1;
        }
        const double contourTime = SecondsSince(step);
        std::size_t points = 0;
        for (const geom::ContourLine& line : lines) {
            points += line.points.size();
        }

        // Volumes: from the two surfaces' meshes to cut and fill.
        step = Clock::now();
        geom::WeldedSurface existing;
        geom::WeldedSurface design;
        if (!Check(geom::WeldSurface(meshes, existing), "WeldSurface") ||
            !Check(geom::WeldSurface(designMeshes, design), "WeldSurface")) {
            return 1;
        }
        const double weldBothTime = SecondsSince(step);
        geom::VolumeResult volume;
        if (!Check(geom::ComputeVolume(existing, design, volume), "ComputeVolume")) {
            return 1;
        }
        const double volumeTime = SecondsSince(step);

        triangulationTimes.push_back(triangulationTime);
        contourTimes.push_back(contourTime);
        volumeTimes.push_back(volumeTime);
        contourRatios.push_back(contourTime / triangulationTime);
        volumeRatios.push_back(volumeTime / triangulationTime);
        std::printf(
            "run %d: triangulation %.3f s (%zu triangles, %zu meshes); contours %.3f s (weld "
            "%.3f s, %zu lines, %zu points), ratio %.3f; volumes %.3f s (welding both %.3f s, "
            "cut %.6g, fill %.6g, area %.6g), ratio %.3f\n",
            run + 1, triangulationTime, triangulation.faces.size(), meshes.size(), contourTime,
            weldTime, lines.size(), points, contourTime / triangulationTime, volumeTime,
            weldBothTime, volume.cut, volume.fill, volume.area, volumeTime / triangulationTime);
    }
    const double contourRatio = Median(contourRatios);
    const double volumeRatio = Median(volumeRatios);
    std::printf("median triangulation: %.3f s\n", Median(triangulationTimes));
    std::printf("contours at 100 levels: median %.3f s, ratio to triangulation %.3f (goal 1.0) %s\n",
                Median(contourTimes), contourRatio, contourRatio <= 1.0 ? "ok" : "TOO SLOW");
    std::printf("volumes of two surfaces: median %.3f s, ratio to triangulation %.3f (goal 3.0) %s\n",
                Median(volumeTimes), volumeRatio, volumeRatio <= 3.0 ? "ok" : "TOO SLOW");
    return contourRatio <= 1.0 && volumeRatio <= 3.0 ? 0 : 2;
}
