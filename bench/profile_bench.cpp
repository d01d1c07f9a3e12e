// Times the profile and the cut/fill map on 1,000,000-vertex terrains against the triangulation
// of the same points, each step in a process of its own (this program runs itself once per step
// and run):
// - profile: TraceProfile along a three-piece line across the whole terrain, with a point every
//   10 m, on the welded surface (goal: at most 0.05 of the triangulation);
// - cut/fill map: WeldSurface of the terrain and of a design surface (another 1,000,000 points),
//   both given as meshes of at most 50,000 vertices, and ComputeIsopach between them (goal: at
//   most 3.0 of the triangulation).
// The triangulation is construct, AddPoint, Triangulate and GetVertices of geom::CDCT. Prints per
// run the processor seconds (with their user and system shares, and for the map the welding's
// seconds) and the minor page faults of each step and the ratios, then the median ratios; the
// goals are judged on processor time, which other processes on a shared machine disturb less
// than wall time.
//
// Usage: profile_bench [points] [runs]   (defaults 1000000 and 5)
//        profile_bench --step triangulate|profile|isopach points   (one step, for the driver)
//        profile_bench --step volume points   (WeldSurface of both and ComputeVolume, timed as
//                                              the isopach step, to compare builds)
//        profile_bench --step digest points   (the map's and the volume's results, to compare
//                                              builds: FNV-1a of the map's bytes and the cut,
//                                              fill and area in hexadecimal floating point)
#include <sys/resource.h>

#include <cmath>
#include <cstdint>
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
#include "geom/surface/compute_volume.h"
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

// FNV-1a over the bytes of the value.
template <typename T>
std::uint64_t Digest(const T& value, std::uint64_t hash) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
    return hash;
}

// Of the map's vertices (x, y, z) and faces, in their order.
std::uint64_t Digest(const geom::IsopachMesh& map) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const geom::SurfacePoint& v : map.vertices) {
        hash = Digest(v.z, Digest(v.y, Digest(v.x, hash)));
    }
    for (const geom::MeshFace& f : map.faces) {
        hash = Digest(f.i3, Digest(f.i2, Digest(f.i1, hash)));
    }
    return hash;
}

long MinorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// This process's user and system processor seconds so far.
struct ProcessorTimes {
    double user;
    double system;
};

ProcessorTimes ProcessorTimesNow() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return {seconds(usage.ru_utime), seconds(usage.ru_stime)};
}

// "user U sys S" of the processor time since `start`.
std::string UserAndSystemSince(const ProcessorTimes& start) {
    const ProcessorTimes now = ProcessorTimesNow();
    char text[64];
    std::snprintf(text, sizeof text, "user %.3f sys %.3f", now.user - start.user,
                  now.system - start.system);
    return text;
}

// Times one step in this process; prints "seconds faults detail".
int RunStep(const std::string& step, std::size_t count) {
    const std::vector<Point> terrain = Survey(count, 20240601, Terrain, 0.05);
    if (step == "triangulate") {
        const long faults = MinorFaults();
        const ProcessorTimes times = ProcessorTimesNow();
        const std::clock_t start = std::clock();
        const geom::SurfaceMesh mesh = Triangulate(terrain);
        std::printf("%.4f %ld %s, %zu triangles\n", bench::CpuSecondsSince(start),
                    MinorFaults() - faults, UserAndSystemSince(times).c_str(), mesh.faces.size());
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
        const ProcessorTimes times = ProcessorTimesNow();
        const std::clock_t start = std::clock();
        const geom::SurfaceStatus status = geom::TraceProfile(surface, line, {0.0, 10.0}, runs);
        const double seconds = bench::CpuSecondsSince(start);
        const std::string userAndSystem = UserAndSystemSince(times);
        std::size_t points = 0;
        for (const geom::ProfileRun& run : runs) {
            points += run.points.size();
        }
        std::printf("%.4f %ld %s, %zu points in %zu pieces\n", seconds, MinorFaults() - faults,
                    userAndSystem.c_str(), points, runs.size());
        return status == geom::SurfaceStatus::Ok ? 0 : 1;
    }
    const std::vector<geom::SurfaceMesh> designMeshes =
        surfacetest::SplitLikeWriter(Triangulate(Survey(count, 20240602, Design, 0.0)), 50000);
    if (step == "digest") {
        geom::WeldedSurface existing;
        geom::WeldedSurface design;
        geom::IsopachMesh map;
        geom::VolumeResult volume;
        if (geom::WeldSurface(meshes, existing) != geom::SurfaceStatus::Ok ||
            geom::WeldSurface(designMeshes, design) != geom::SurfaceStatus::Ok ||
            geom::ComputeIsopach(existing, design, map) != geom::SurfaceStatus::Ok ||
            geom::ComputeVolume(existing, design, volume) != geom::SurfaceStatus::Ok) {
            return 1;
        }
        std::printf("map %zu vertices %zu faces digest %016llx; volume cut %a fill %a area %a\n",
                    map.vertices.size(), map.faces.size(),
                    static_cast<unsigned long long>(Digest(map)), volume.cut, volume.fill,
                    volume.area);
        return 0;
    }
    const long faults = MinorFaults();
    const ProcessorTimes times = ProcessorTimesNow();
    const std::clock_t start = std::clock();
    geom::WeldedSurface existing;
    geom::WeldedSurface design;
    bool ok = geom::WeldSurface(meshes, existing) == geom::SurfaceStatus::Ok &&
              geom::WeldSurface(designMeshes, design) == geom::SurfaceStatus::Ok;
    const double welding = bench::CpuSecondsSince(start);
    if (step == "volume") {
        geom::VolumeResult volume;
        ok = ok && geom::ComputeVolume(existing, design, volume) == geom::SurfaceStatus::Ok;
        std::printf("%.4f %ld %s, welding %.3f, cut %.6g, fill %.6g\n",
                    bench::CpuSecondsSince(start), MinorFaults() - faults,
                    UserAndSystemSince(times).c_str(), welding, volume.cut, volume.fill);
        return ok ? 0 : 1;
    }
    geom::IsopachMesh map;
    ok = ok && geom::ComputeIsopach(existing, design, map) == geom::SurfaceStatus::Ok;
    std::printf("%.4f %ld %s, welding %.3f, %zu vertices, %zu triangles\n",
                bench::CpuSecondsSince(start), MinorFaults() - faults,
                UserAndSystemSince(times).c_str(), welding, map.vertices.size(), map.faces.size());
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
    // Surfaces need three points; anything else (--help, a word) gets the usage.
    if (argc > 3 || count < 3 || runs < 1) {
        std::fprintf(stderr,
                     "Usage: profile_bench [points] [runs]   (points at least 3, default 1000000; "
                     "runs default 5)\n"
                     "       profile_bench --step triangulate|profile|isopach|volume|digest "
                     "points\n");
        return 2;
    }
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
