// Times the surface functions on 1,000,000-vertex terrains, each as a ratio to the
// triangulation time (construct, AddPoint, Triangulate, GetVertices of geom::CDCT) of the same
// run:
// - contours: WeldSurface of the terrain given as meshes of at most 50,000 vertices (cut the way
//   the splitting mesh writer cuts, tests/geom/split_like_writer.h) and TraceContours at 100
//   levels (goal: ratio at most 1.0);
// - volumes: WeldSurface of the terrain and of a design surface (another 1,000,000 points,
//   meshes likewise) and ComputeVolume between them (goal: ratio at most 3.0).
// Prints per-run figures and the medians over the runs, of wall time and of processor time; the
// goals are judged on processor time, which other processes on a shared machine disturb less.
// The median time of joining the terrain's meshes (WeldSurface, the geometric part of loading a
// surface, its overlap check included) is printed on its own, to be compared with another
// build's run by run (each build in its own process, taking turns), and the time of that check
// (FindPlanOverlap) on the joined terrain once more by itself.
//
// Usage: surface_bench [points] [runs]   (defaults 1000000 and 5)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "bench_surfaces.h"
#include "bench_timing.h"
#include "geom/dct/dct.h"
#include "geom/surface/compute_volume.h"
#include "geom/surface/find_plan_overlap.h"
#include "geom/surface/trace_contours.h"
#include "geom/surface/weld_surface.h"
#include "split_like_writer.h"

namespace {

using bench::Clock;
using bench::CpuSecondsSince;
using bench::Design;
using bench::Median;
using bench::Point;
using bench::SecondsSince;
using bench::Survey;
using bench::Terrain;

// Wall and processor seconds of a step.
struct Span {
    double wall = 0.0;
    double cpu = 0.0;

    template <typename Step>
    auto Time(Step step) {
        const Clock::time_point startWall = Clock::now();
        const std::clock_t startCpu = std::clock();
        auto result = step();
        wall = SecondsSince(startWall);
        cpu = CpuSecondsSince(startCpu);
        return result;
    }

    Span operator+(const Span& other) const { return {wall + other.wall, cpu + other.cpu}; }

    std::string Text() const {
        char text[64];
        std::snprintf(text, sizeof text, "%.3f s (%.3f s)", wall, cpu);
        return text;
    }
};

// The whole use of the triangulator, timed in `span`: construct, AddPoint, Triangulate,
// GetVertices. Gives the triangulation as one mesh.
geom::SurfaceMesh Triangulate(const std::vector<Point>& points, Span& span) {
    std::vector<geom::CTriangle> triangles;
    geom::SurfaceMesh mesh;
    span.Time([&] {
        geom::CDCT dct;
        for (const Point& p : points) {
            dct.AddPoint(p.x, p.y, p.z);
        }
        triangles = dct.Triangulate();
        mesh.vertices = dct.GetVertices();
        return 0;
    });
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
    Span unused;
    const std::vector<geom::SurfaceMesh> designMeshes = surfacetest::SplitLikeWriter(
        Triangulate(Survey(pointCount, 20240602, Design, 0.0), unused), 50000);

    double zmin = terrain[0].z, zmax = terrain[0].z;
    for (const Point& p : terrain) {
        zmin = std::min(zmin, p.z);
        zmax = std::max(zmax, p.z);
    }
    // 100 levels over the elevation range, every fifth major.
    const geom::ContourOptions options{zmin, (zmax - zmin) / 100.5, 5};

    std::printf("surface functions on %zu-point surfaces, %d runs; times wall (processor)\n",
                pointCount, runs);
    std::vector<double> contourWall, contourCpu, volumeWall, volumeCpu, weldWall, weldCpu;
    std::vector<double> overlapWall, overlapCpu;
    for (int run = 0; run < runs; ++run) {
        Span triangulation;
        const geom::SurfaceMesh mesh = Triangulate(terrain, triangulation);
        const std::vector<geom::SurfaceMesh> meshes = surfacetest::SplitLikeWriter(mesh, 50000);

        // Contours: from the meshes to the lines.
        Span weld;
        Span trace;
        geom::WeldedSurface surface;
        std::vector<geom::ContourLine> lines;
        if (!Check(weld.Time([&] { return geom::WeldSurface(meshes, surface); }), "WeldSurface") ||
            !Check(trace.Time([&] { return geom::TraceContours(surface, options, lines); }),
                   "TraceContours")) {
            return 1;
        }
        Span overlapCheck;
        if (overlapCheck.Time([&] { return geom::FindPlanOverlap(surface); }) >= 0) {
            std::printf("\nthe terrain overlaps itself\n");
            return 1;
        }
        overlapWall.push_back(overlapCheck.wall);
        overlapCpu.push_back(overlapCheck.cpu);
        std::size_t points = 0;
        for (const geom::ContourLine& line : lines) {
            points += line.points.size();
        }

        // Volumes: from the two surfaces' meshes to cut and fill.
        Span weldBoth;
        Span overlay;
        geom::WeldedSurface existing;
        geom::WeldedSurface design;
        geom::VolumeResult volume;
        if (!Check(weldBoth.Time([&] {
                const geom::SurfaceStatus status = geom::WeldSurface(meshes, existing);
                return status != geom::SurfaceStatus::Ok ? status
                                                         : geom::WeldSurface(designMeshes, design);
            }),
                   "WeldSurface") ||
            !Check(overlay.Time([&] { return geom::ComputeVolume(existing, design, volume); }),
                   "ComputeVolume")) {
            return 1;
        }

        const Span contours = weld + trace;
        const Span volumes = weldBoth + overlay;
        weldWall.push_back(weld.wall);
        weldCpu.push_back(weld.cpu);
        contourWall.push_back(contours.wall / triangulation.wall);
        contourCpu.push_back(contours.cpu / triangulation.cpu);
        volumeWall.push_back(volumes.wall / triangulation.wall);
        volumeCpu.push_back(volumes.cpu / triangulation.cpu);
        std::printf(
            "run %d: triangulation %s (%zu triangles, %zu meshes); contours %s = weld %s + trace "
            "%s (%zu lines, %zu points), ratio %.3f (%.3f); volumes %s = welding both %s + "
            "overlay %s (cut %.6g, fill %.6g, area %.6g), ratio %.3f (%.3f)\n",
            run + 1, triangulation.Text().c_str(), mesh.faces.size(), meshes.size(),
            contours.Text().c_str(), weld.Text().c_str(), trace.Text().c_str(), lines.size(),
            points, contourWall.back(), contourCpu.back(), volumes.Text().c_str(),
            weldBoth.Text().c_str(), overlay.Text().c_str(), volume.cut, volume.fill, volume.area,
            volumeWall.back(), volumeCpu.back());
    }
    const double contourRatio = Median(contourCpu);
    const double volumeRatio = Median(volumeCpu);
    std::printf(
        "joining the meshes of %zu points (WeldSurface): median %.3f s (%.3f s), of which "
        "the overlap check (FindPlanOverlap) %.4f s (%.4f s)\n",
        pointCount, Median(weldWall), Median(weldCpu), Median(overlapWall), Median(overlapCpu));
    std::printf("median ratios to the triangulation, wall (processor):\n");
    std::printf("contours at 100 levels: %.3f (%.3f), goal 1.0: %s\n", Median(contourWall),
                contourRatio, contourRatio <= 1.0 ? "ok" : "TOO SLOW");
    std::printf("volumes of two surfaces: %.3f (%.3f), goal 3.0: %s\n", Median(volumeWall),
                volumeRatio, volumeRatio <= 3.0 ? "ok" : "TOO SLOW");
    return contourRatio <= 1.0 && volumeRatio <= 3.0 ? 0 : 2;
}
