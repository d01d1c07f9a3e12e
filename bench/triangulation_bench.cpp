// triangulation_bench: times the triangulators against CGAL's 2D Delaunay triangulation (Epick
// kernel, range insert of points with their index, which spatially sorts them first) on the same
// point sets in the same run.
//
// Input: command-line options (see Usage()). Output: per point set and engine the median wall
// time over the runs, the single times, the median processor time, the peak resident memory of a
// run, the triangle count, and the ratios of each engine's medians to CGAL's; for CDCT also the
// bytes its interface requires (point store, vertex list, result list of two triangles per
// point) and the run's peak resident size, less its size at the start, as a share of them. The
// engines run in turn, round after round, so that the shared machine's changing load falls on all
// alike.
//
// Before the timed runs, CDCT's output (triangles in order with every field, and the vertex
// list) is hashed and compared with that of the plain reference triangulation
// (reference_dct.h), so that a faster CDCT is known to give exactly the same result.
//
// Each measured run is one forked child process, so that the peak resident memory (ru_maxrss
// from wait4) belongs to that run alone; the child starts from a copy of the parent, which holds
// the input points, and reports its resident size at the start as well. A run times the whole
// use of an engine: taking the points in, triangulating, listing the triangles as vertex-index
// triples (and the vertices), and freeing everything.
//
// To measure another engine, add a function with the signature of RunDct and list it in
// Engines().
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "child_process.h"
#include "geom/dct/dct.h"
#include "geom/kernel/geometry_error.h"
#include "geom/kernel/large_allocation.h"
#include "reference_dct.h"

#ifdef KAF_BENCH_WITH_CGAL
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#endif

namespace {

struct PointSet {
    std::string name;
    std::vector<double> x;
    std::vector<double> y;
    std::vector<double> z;
    std::size_t Size() const { return x.size(); }
};

// What an engine hands back, to check that the engines agree.
struct EngineOutput {
    std::size_t triangles = 0;
    std::size_t vertices = 0;
    std::uint64_t hash = 0;  // of the whole output, when asked for
    bool failed = false;
};

// Runs the engine on the points; hashes its output when `hash` is set (not in timed runs).
using EngineRun = EngineOutput (*)(const PointSet&, bool hash);

struct Engine {
    const char* name;
    EngineRun run;
};

EngineOutput RunDct(const PointSet& points, bool hash) {
    EngineOutput output;
    try {
        geom::CDCT dct;
        for (std::size_t i = 0; i < points.Size(); ++i) {
            dct.AddPoint(points.x[i], points.y[i], points.z[i]);
        }
        const std::vector<geom::CTriangle> triangles = dct.Triangulate();
        const std::vector<geom::CVertex> vertices = dct.GetVertices();
        output.triangles = triangles.size();
        output.vertices = vertices.size();
        if (hash) {
            output.hash = reference_dct::ResultHash(triangles, vertices);
        }
    } catch (const geom::GeometryError& error) {
        std::fprintf(stderr, "CDCT failed: %s", error.what());
        output.failed = true;
    }
    return output;
}

#ifdef KAF_BENCH_WITH_CGAL
EngineOutput RunCgal(const PointSet& points, bool) {
    using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
    using VertexBase = CGAL::Triangulation_vertex_base_with_info_2<std::uint32_t, Kernel>;
    using DataStructure = CGAL::Triangulation_data_structure_2<VertexBase>;
    using Delaunay = CGAL::Delaunay_triangulation_2<Kernel, DataStructure>;

    std::vector<std::pair<Kernel::Point_2, std::uint32_t>> input;
    input.reserve(points.Size());
    for (std::size_t i = 0; i < points.Size(); ++i) {
        input.emplace_back(Kernel::Point_2(points.x[i], points.y[i]),
                           static_cast<std::uint32_t>(i));
    }
    Delaunay triangulation;
    triangulation.insert(input.begin(), input.end());
    std::vector<std::array<std::uint32_t, 3>> triangles;
    triangles.reserve(2 * triangulation.number_of_vertices());
    for (auto face = triangulation.finite_faces_begin(); face != triangulation.finite_faces_end();
         ++face) {
        triangles.push_back(
            {face->vertex(0)->info(), face->vertex(1)->info(), face->vertex(2)->info()});
    }
    EngineOutput output;
    output.triangles = triangles.size();
    output.vertices = triangulation.number_of_vertices();
    return output;
}
#endif

bool Listed(const std::string& list, const std::string& name) {
    return ("," + list + ",").find("," + name + ",") != std::string::npos;
}

EngineOutput RunReference(const PointSet& points, bool) {
    std::vector<geom::CVertex> input;
    input.reserve(points.Size());
    for (std::size_t i = 0; i < points.Size(); ++i) {
        input.emplace_back(points.x[i], points.y[i], points.z[i]);
    }
    const reference_dct::Output result = reference_dct::Triangulate(input);
    EngineOutput output;
    output.triangles = result.triangles.size();
    output.vertices = result.vertices.size();
    output.hash = reference_dct::ResultHash(result.triangles, result.vertices);
    return output;
}

// The measured engines named in `list` (all when empty); the first one is the reference the
// others are compared with.
std::vector<Engine> Engines(const std::string& list) {
    std::vector<Engine> all;
#ifdef KAF_BENCH_WITH_CGAL
    all.push_back({"CGAL", RunCgal});
#endif
    all.push_back({"CDCT", RunDct});
    std::vector<Engine> engines;
    for (const Engine& engine : all) {
        if (list.empty() || Listed(list, engine.name)) {
            engines.push_back(engine);
        }
    }
    return engines;
}

PointSet MakeUniform(std::size_t n, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> coordinate(0.0, 1000.0);
    PointSet set{"uniform", {}, {}, {}};
    for (std::size_t i = 0; i < n; ++i) {
        set.x.push_back(coordinate(random));
        set.y.push_back(coordinate(random));
        set.z.push_back(coordinate(random) * 0.1);
    }
    return set;
}

// Gaussian clusters of varying spread around centres spread over the square.
PointSet MakeClusters(std::size_t n, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const std::size_t clusterCount = 100;
    std::vector<std::array<double, 3>> clusters;  // centre x, centre y, spread
    for (std::size_t c = 0; c < clusterCount; ++c) {
        clusters.push_back(
            {1000.0 * unit(random), 1000.0 * unit(random), 2.0 + 30.0 * unit(random)});
    }
    std::normal_distribution<double> gauss(0.0, 1.0);
    PointSet set{"clusters", {}, {}, {}};
    for (std::size_t i = 0; i < n; ++i) {
        const auto& cluster = clusters[static_cast<std::size_t>(unit(random) * clusterCount)];
        set.x.push_back(cluster[0] + cluster[2] * gauss(random));
        set.y.push_back(cluster[1] + cluster[2] * gauss(random));
        set.z.push_back(100.0 * unit(random));
    }
    return set;
}

// A square integer grid of about n points, added in random order.
PointSet MakeGrid(std::size_t n, std::uint64_t seed) {
    const std::size_t side = static_cast<std::size_t>(std::sqrt(static_cast<double>(n)) + 0.5);
    std::vector<std::size_t> order(side * side);
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::mt19937_64 random(seed);
    std::shuffle(order.begin(), order.end(), random);
    PointSet set{"grid", {}, {}, {}};
    for (const std::size_t k : order) {
        set.x.push_back(static_cast<double>(k % side));
        set.y.push_back(static_cast<double>(k / side));
        set.z.push_back(static_cast<double>((k * 7919) % 1000) * 0.01);
    }
    return set;
}

// Survey points on a lattice of about n / 2 positions, so that most positions are taken more
// than once, with different elevations: for the output check of the duplicate rule.
PointSet MakeRepeats(std::size_t n, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    const std::size_t side = static_cast<std::size_t>(std::sqrt(n / 2.0) + 1.0);
    std::uniform_int_distribution<std::size_t> coordinate(0, side - 1);
    std::uniform_real_distribution<double> height(0.0, 100.0);
    PointSet set{"repeats", {}, {}, {}};
    for (std::size_t i = 0; i < n; ++i) {
        set.x.push_back(0.5 * static_cast<double>(coordinate(random)));
        set.y.push_back(0.5 * static_cast<double>(coordinate(random)));
        set.z.push_back(height(random));
    }
    return set;
}

struct Measurement {
    double seconds = 0.0;
    double cpuSeconds = 0.0;     // user and system time of the run's process
    double userSeconds = 0.0;    // of which user time
    double systemSeconds = 0.0;  // and system time (page faults, mostly)
    double minorFaults = 0.0;    // first touches of pages, each one a trip into the kernel
    long startKb = 0;            // resident size when the run started (the copy of the parent)
    long peakKb = 0;             // peak resident size of the run's process
    EngineOutput output;
    bool ok = false;
};

struct ChildReport {
    double seconds;
    long startKb;
    EngineOutput output;
};

// Resident size of this process now (Linux), in KB; 0 when unknown.
long ResidentKb() {
    long pages = 0;
    long resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) {
        return 0;
    }
    const bool read = std::fscanf(statm, "%ld %ld", &pages, &resident) == 2;
    std::fclose(statm);
    return read ? resident * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

Measurement MeasureInChild(const Engine& engine, const PointSet& points, bool hash = false) {
    Measurement measurement;
    rusage usage{};
    const std::optional<ChildReport> report = bench::TryInChild<ChildReport>(
        [&] {
            const long startKb = ResidentKb();
            const auto begin = std::chrono::steady_clock::now();
            const EngineOutput output = engine.run(points, hash);
            const auto end = std::chrono::steady_clock::now();
            return ChildReport{std::chrono::duration<double>(end - begin).count(), startKb, output};
        },
        &usage);
    measurement.ok = report.has_value();
    if (report) {
        measurement.seconds = report->seconds;
        measurement.startKb = report->startKb;
        measurement.output = report->output;
    }
    measurement.peakKb = usage.ru_maxrss;
    measurement.userSeconds = bench::Seconds(usage.ru_utime);
    measurement.systemSeconds = bench::Seconds(usage.ru_stime);
    measurement.cpuSeconds = measurement.userSeconds + measurement.systemSeconds;
    measurement.minorFaults = static_cast<double>(usage.ru_minflt);
    return measurement;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

// Hashes CDCT's output and the reference triangulation's, each in a child of its own; false when
// they differ.
bool CheckOutput(const PointSet& points) {
    const Measurement reference = MeasureInChild({"reference", RunReference}, points, true);
    const Measurement dct = MeasureInChild({"CDCT", RunDct}, points, true);
    const bool same = reference.ok && dct.ok && !dct.output.failed &&
                      reference.output.hash == dct.output.hash &&
                      reference.output.triangles == dct.output.triangles;
    std::printf(
        "  output check: CDCT %s the reference (hash %016llx, %zu triangles; reference "
        "%016llx, %zu triangles, %.3f s)\n",
        same ? "identical to" : "DIFFERENT from", static_cast<unsigned long long>(dct.output.hash),
        dct.output.triangles, static_cast<unsigned long long>(reference.output.hash),
        reference.output.triangles, reference.seconds);
    std::fflush(stdout);
    return same;
}

struct EngineRuns {
    std::vector<double> times;
    std::vector<double> cpuTimes;
    std::vector<double> userTimes;
    std::vector<double> systemTimes;
    std::vector<double> minorFaults;
    long peakKb = 0;
    long startKb = 0;
    EngineOutput output;
    bool ok = true;
};

// The bytes CDCT's interface itself requires for a run: the point store, the vertex list and the
// result list with room for two triangles per point.
double InterfaceBytes(std::size_t points, std::size_t vertices) {
    return static_cast<double>(points * sizeof(geom::DctStoredPoint) +
                               vertices * sizeof(geom::CVertex) +
                               2 * points * sizeof(geom::CTriangle));
}

// Runs every engine `runs` times on the set, one run of each engine per round, and prints one
// line per engine. Gives false when the output check fails.
bool MeasureSet(const PointSet& points, const std::vector<Engine>& engines, int runs, bool check) {
    std::printf("%s: %zu points, %d runs each\n", points.name.c_str(), points.Size(), runs);
    bool same = true;
    for (const Engine& engine : engines) {
        if (check && std::string(engine.name) == "CDCT") {
            same = CheckOutput(points);
        }
    }
    std::vector<EngineRuns> all(engines.size());
    for (int r = 0; r < runs; ++r) {
        for (std::size_t k = 0; k < engines.size(); ++k) {
            const Measurement m = MeasureInChild(engines[k], points);
            EngineRuns& e = all[k];
            e.ok = e.ok && m.ok && !m.output.failed;
            e.times.push_back(m.seconds);
            e.cpuTimes.push_back(m.cpuSeconds);
            e.userTimes.push_back(m.userSeconds);
            e.systemTimes.push_back(m.systemSeconds);
            e.minorFaults.push_back(m.minorFaults);
            e.peakKb = std::max(e.peakKb, m.peakKb);
            e.startKb = std::max(e.startKb, m.startKb);
            e.output = m.output;
        }
    }
    for (std::size_t k = 0; k < engines.size(); ++k) {
        const EngineRuns& e = all[k];
        const double median = Median(e.times);
        const double cpuMedian = Median(e.cpuTimes);
        std::printf("  %-10s median %7.3f s  (runs", engines[k].name, median);
        for (const double t : e.times) {
            std::printf(" %.3f", t);
        }
        std::printf(")  cpu %.3f s (runs", cpuMedian);
        for (const double t : e.cpuTimes) {
            std::printf(" %.3f", t);
        }
        std::printf(")  peak RSS %7.1f MB (%.1f MB at start)  %zu triangles", e.peakKb / 1024.0,
                    e.startKb / 1024.0, e.output.triangles);
        if (!e.ok) {
            std::printf("  FAILED");
        }
        if (k > 0 && all[0].ok && e.ok) {
            std::printf("  ratio %s/%s %.2f (cpu %.2f)", engines[k].name, engines[0].name,
                        median / Median(all[0].times), cpuMedian / Median(all[0].cpuTimes));
        }
        const double system = Median(e.systemTimes);
        std::printf("\n             user %.3f s  system %.3f s (%.0f %% of cpu)  minor faults %.0f",
                    Median(e.userTimes), system, 100.0 * system / cpuMedian, Median(e.minorFaults));
        if (std::string(engines[k].name) == "CDCT" && e.ok) {
            const double bytes = InterfaceBytes(points.Size(), e.output.vertices);
            std::printf("\n             interface %.1f MB, peak less start %.2f of it",
                        bytes / (1024.0 * 1024.0),
                        static_cast<double>(e.peakKb - e.startKb) * 1024.0 / bytes);
        }
        std::printf("\n");
    }
    std::fflush(stdout);
    return same;
}

// Huge pages: the module asks for them unless KAF_BENCH_HUGE_PAGES=off (=on or unset: its default);
// what the system offers (transparent huge pages) and what glibc's malloc asks for
// (GLIBC_TUNABLES) are printed.
void PrintPageSetting() {
    const char* setting = std::getenv("KAF_BENCH_HUGE_PAGES");
    if (setting != nullptr) {
        geom::SetHugePagesWanted(std::string(setting) == "on");
    }
    char mode[128] = "unknown";
    if (FILE* file = std::fopen("/sys/kernel/mm/transparent_hugepage/enabled", "r")) {
        if (std::fgets(mode, sizeof mode, file) == nullptr) {
            std::strcpy(mode, "unknown");
        }
        std::fclose(file);
        mode[std::strcspn(mode, "\n")] = '\0';
    }
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    std::printf("huge pages: module %s (KAF_BENCH_HUGE_PAGES), system %s, GLIBC_TUNABLES %s\n",
                geom::HugePagesWanted() ? "asks" : "does not ask", mode,
                tunables != nullptr ? tunables : "unset");
}

void Usage() {
    std::printf(
        "Usage: triangulation_bench [options]\n"
        "  --points N     points per set (default 1000000; the grid uses the nearest square)\n"
        "  --runs R       measured runs per set and engine (default 3)\n"
        "  --sets LIST    comma-separated sets of uniform,clusters,grid,repeats (default\n"
        "                 uniform,clusters,grid)\n"
        "  --big N        points of the extra uniform set (default 3000000, 0 skips it)\n"
        "  --big-runs R   runs of the extra uniform set (default as --runs)\n"
        "  --seed S       random seed (default 1)\n"
        "  --engines LIST comma-separated engines of CGAL,CDCT (default all)\n"
        "  --no-check     skip the check of CDCT's output against the reference\n"
        "Environment: KAF_BENCH_HUGE_PAGES=off has the module not ask for huge pages (on or\n"
        "unset: it asks, taking small ones from the first that comes cold);\n"
        "GLIBC_TUNABLES=glibc.malloc.hugetlb=1 has malloc ask for them for every engine.\n");
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t points = 1000000;
    std::size_t bigPoints = 3000000;
    int runs = 3;
    int bigRuns = -1;
    std::uint64_t seed = 1;
    std::string sets = "uniform,clusters,grid";
    std::string engineList;
    bool check = true;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--no-check") {
            check = false;
            continue;
        }
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (option == "--help" || option == "-h") {
            Usage();
            return 0;
        }
        if (value == nullptr) {
            Usage();
            return 2;
        }
        ++i;
        if (option == "--points") {
            points = std::strtoull(value, nullptr, 10);
        } else if (option == "--runs") {
            runs = std::max(1, std::atoi(value));
        } else if (option == "--sets") {
            sets = value;
        } else if (option == "--big") {
            bigPoints = std::strtoull(value, nullptr, 10);
        } else if (option == "--big-runs") {
            bigRuns = std::max(1, std::atoi(value));
        } else if (option == "--engines") {
            engineList = value;
        } else if (option == "--seed") {
            seed = std::strtoull(value, nullptr, 10);
        } else {
            Usage();
            return 2;
        }
    }
    PrintPageSetting();
#ifndef KAF_BENCH_WITH_CGAL
    std::printf("CGAL was not found when this program was built: no reference figures.\n");
#endif
    const std::vector<Engine> engines = Engines(engineList);
    bool same = true;
    if (Listed(sets, "uniform")) {
        same = MeasureSet(MakeUniform(points, seed), engines, runs, check) && same;
    }
    if (Listed(sets, "clusters")) {
        same = MeasureSet(MakeClusters(points, seed), engines, runs, check) && same;
    }
    if (Listed(sets, "grid")) {
        same = MeasureSet(MakeGrid(points, seed), engines, runs, check) && same;
    }
    if (Listed(sets, "repeats")) {
        same = MeasureSet(MakeRepeats(points, seed), engines, runs, check) && same;
    }
    if (bigPoints > 0) {
        same = MeasureSet(MakeUniform(bigPoints, seed + 1), engines, bigRuns > 0 ? bigRuns : runs,
                          check) &&
               same;
    }
    return same ? 0 : 1;
}
