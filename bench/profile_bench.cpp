// Times the profile and the cut/fill map on 1,000,000-vertex terrains against the triangulation
// of the same points, each step in a process of its own (this program runs itself once per step
// and run):
// - profile: TraceProfile along a three-piece line across the whole terrain, with a point every
//   10 m, on the welded surface (goal: at most 0.05 of the triangulation);
// - cut/fill map: WeldSurface of the terrain and of a design surface (another 1,000,000 points),
//   both given as meshes of at most 50,000 vertices, and ComputeIsopach between them (goal: at
//   most 3.0 of the triangulation).
// The triangulation is construct, AddPoint, Triangulate and GetVertices of geom::CDCT. Prints per
// run the processor seconds and the minor page faults of each step and the ratios, then the
// median ratios; the goals are judged on processor time, which other processes on a shared
// machine disturb less than wall time.
//
// Usage: profile_bench [points] [runs]   (defaults 1000000 and 5)
//        profile_bench --step triangulate|profile|isopach points   (one step, for the driver)
#include <sys/resource.h>

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
#include "geom/surface/compute_isopach.h"
#include "geom/surface/trace_profile.h"
#include "geom/surface/weld_surface.h"
#include "split_like_writer.h"

namespace {

using bench::Design;
using bench::Median;
using bench::Point;
using bench::Survey;
using bench::Terrain;

geom::SurfaceMesh Triangulate(const std::vector<Point>& points) {
    geom::CDCT dct;
    for (const Point& p : points) {
        dct.AddPoint(p.x, p.y, p.z);
    }
    const std::vector<geom::CTriangle> triangles = dct.Triangulate();
    geom::SurfaceMesh mesh;
    mesh.vertices = dct.GetVertices();
    mesh.faces.reserve(triangles.size());
    for (const geom::CTriangle& t : triangles) {
        mesh.faces.push_back({t.i1, t.i2, t.i3});
    }
    return mesh;
}

long MinorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Times one step in this process; prints "seconds faults detail".
int RunStep(const std::string& step, std::size_t count) {
    const std::vector<Point> terrain = Survey(count, 20240601, Terrain, 0.05);
    if (step == "triangulate") {
        const long faults = MinorFaults();
        const std::clock_t start = std::clock();
        const geom::SurfaceMesh mesh = Triangulate(terrain);
        std::printf("%.4f %ld %zu triangles\n", bench::CpuSecondsSince(start),
                    MinorFaults() - faults, mesh.faces.size());
        return 0;
    }
    const std::vector<geom::SurfaceMesh> meshes =
        surfacetest::SplitLikeWriter(Triangulate(terrain), 50000);
    if (step == "profile") {
        geom::WeldedSurface surface;
        if (geom::WeldSurface(meshes, surface) != geom::SurfaceStatus::Ok) {
            return 1;
        }
        const std::vector<geom::PlanPoint> line = {{-100, 300}, {6000, 9700}, {9900, 200}};
        std::vector<geom::ProfileRun> runs;
        const long faults = MinorFaults();
        const std::clock_t start = std::clock();
        const geom::SurfaceStatus status = geom::TraceProfile(surface, line, {0.0, 10.0}, runs);
        const double seconds = bench::CpuSecondsSince(start);
        std::size_t points = 0;
        for (const geom::ProfileRun& run : runs) {
            points += run.points.size();
        }
        std::printf("%.4f %ld %zu points in %zu pieces\n", seconds, MinorFaults() - faults, points,
                    runs.size());
        return status == geom::SurfaceStatus::Ok ? 0 : 1;
    }
    const std::vector<geom::SurfaceMesh> designMeshes =
        surfacetest::SplitLikeWriter(Triangulate(Survey(count, 20240602, Design, 0.0)), 50000);
    const long faults = MinorFaults();
    const std::clock_t start = std::clock();
    geom::WeldedSurface existing;
    geom::WeldedSurface design;
    geom::SurfaceMesh map;
    const bool ok = geom::WeldSurface(meshes, existing) == geom::SurfaceStatus::Ok &&
                    geom::WeldSurface(designMeshes, design) == geom::SurfaceStatus::Ok &&
                    geom::ComputeIsopach(existing, design, map) == geom::SurfaceStatus::Ok;
    std::printf("%.4f %ld %zu vertices, %zu triangles\n", bench::CpuSecondsSince(start),
                MinorFaults() - faults, map.vertices.size(), map.faces.size());
    return ok ? 0 : 1;
}

struct StepResult {
    double seconds = -1.0;
    long faults = 0;
    std::string detail;
};

StepResult RunInOwnProcess(const char* self, const char* step, std::size_t count) {
    const std::string command =
        std::string("'") + self + "' --step " + step + " " + std::to_string(count);
    StepResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char line[256] = {};
    if (std::fgets(line, sizeof line, pipe) != nullptr) {
        int used = 0;
        if (std::sscanf(line, "%lf %ld %n", &result.seconds, &result.faults, &used) >= 2) {
            result.detail = std::string(line + used);
            if (!result.detail.empty() && result.detail.back() == '\n') {
                result.detail.pop_back();
            }
        }
    }
    if (pclose(pipe) != 0) {
        result.seconds = -1.0;
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--step") {
        return RunStep(argv[2], std::strtoull(argv[3], nullptr, 10));
    }
    const std::size_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    std::printf(
        "profile and cut/fill map on %zu-point surfaces, %d runs, each step in its own "
        "process; processor seconds [minor page faults]\n",
        count, runs);
    std::vector<double> profileRatios;
    std::vector<double> isopachRatios;
    for (int run = 0; run < runs; ++run) {
        const StepResult triangulation = RunInOwnProcess(argv[0], "triangulate", count);
        const StepResult profile = RunInOwnProcess(argv[0], "profile", count);
        const StepResult isopach = RunInOwnProcess(argv[0], "isopach", count);
        if (triangulation.seconds <= 0 || profile.seconds < 0 || isopach.seconds < 0) {
            std::printf("run %d: a step failed\n", run + 1);
            return 1;
        }
        profileRatios.push_back(profile.seconds / triangulation.seconds);
        isopachRatios.push_back(isopach.seconds / triangulation.seconds);
        std::printf(
            "run %d: triangulation %.3f s [%ld] (%s); profile %.4f s [%ld] (%s), ratio "
            "%.4f; cut/fill map %.3f s [%ld] (%s), ratio %.3f\n",
            run + 1, triangulation.seconds, triangulation.faults, triangulation.detail.c_str(),
            profile.seconds, profile.faults, profile.detail.c_str(), profileRatios.back(),
            isopach.seconds, isopach.faults, isopach.detail.c_str(), isopachRatios.back());
    }
    const double profileRatio = Median(profileRatios);
    const double isopachRatio = Median(isopachRatios);
    std::printf("median ratios to the triangulation (processor time):\n");
    std::printf("profile: %.4f, goal 0.05: %s\n", profileRatio,
                profileRatio <= 0.05 ? "ok" : "TOO SLOW");
    std::printf("cut/fill map with welding both: %.3f, goal 3.0: %s\n", isopachRatio,
                isopachRatio <= 3.0 ? "ok" : "TOO SLOW");
    return profileRatio <= 0.05 && isopachRatio <= 3.0 ? 0 : 2;
}
