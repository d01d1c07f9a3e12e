// cdt_bench: the constrained triangulator (CConstrainedDCT) against the unconstrained CDCT of the
// same points and against CGAL's constrained Delaunay triangulation (exact predicates), on one
// input in the same run.
//
// Input (default): 1,000,000 random survey points on a 1000 x 1000 site; wavy kerb lines running
// across it, 10,000 breakline segments in all; an outer boundary of 1,000 vertices, a concave
// ring that the kerb lines cross (those crossings become vertices). Output: for each engine the
// median wall time over the runs and the single times, the median processor time, the peak
// resident memory of a run, the triangle count; the ratios to CDCT and to CGAL. The engines run
// in turn, round after round, so that the shared machine's changing load falls on all alike. Then
// the constrained triangulator with the boundary drawn in 2D (clipping only) and with a snap
// tolerance, against itself; the same without the boundary, where both engines list every
// triangle; and the peak memory of a run on 3,000,000 points with about 30,000 kerb segments.
//
// Every run is a forked child, so that its peak resident memory (ru_maxrss from wait4) is its
// own; the child starts as a copy of the parent, which holds the input. A run is the whole use of
// an engine: taking the input in, triangulating, listing triangles and vertices, freeing all.
// With --digest each engine's line also gives a digest of its triangle list (in order) and vertex
// list, to show that two builds give the same results; the digest's time then counts in the run.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "geom/cdt/cdt.h"
#include "geom/dct/dct.h"
#include "geom/kernel/geometry_error.h"

#ifdef KAF_BENCH_WITH_CGAL
#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#endif

namespace {

using geom::CVertex;

struct Site {
    std::vector<CVertex> points;
    std::vector<std::vector<CVertex>> kerbs;
    std::vector<CVertex> boundary;
};

constexpr double kSide = 1000.0;

Site MakeSite(std::size_t pointCount, std::size_t segmentCount, std::size_t boundaryCount,
              std::uint64_t seed) {
    Site site;
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    site.points.reserve(pointCount);
    for (std::size_t i = 0; i < pointCount; ++i) {
        site.points.emplace_back(kSide * unit(random), kSide * unit(random), 100 * unit(random));
    }
    // Kerb lines: horizontal waves 1000 / lines apart, each of segmentCount / lines segments
    // from x = 2 to x = 998; neighbouring lines never meet.
    const std::size_t lines = std::max<std::size_t>(
        1, static_cast<std::size_t>(std::sqrt(static_cast<double>(segmentCount))));
    const std::size_t perLine = std::max<std::size_t>(1, segmentCount / lines);
    const double gap = kSide / static_cast<double>(lines);
    for (std::size_t l = 0; l < lines; ++l) {
        std::vector<CVertex> kerb;
        const double base = gap * (static_cast<double>(l) + 0.5);
        const double phase = 6.283 * unit(random);
        for (std::size_t k = 0; k <= perLine; ++k) {
            const double x = 2.0 + (kSide - 4.0) * static_cast<double>(k) / perLine;
            const double y = base + 0.3 * gap * std::sin(x / 37.0 + phase);
            kerb.emplace_back(x, y, 50.0 + 0.01 * x);
        }
        site.kerbs.push_back(kerb);
    }
    // A ring around the centre whose radius swings between 0.35 and 0.47 of the side.
    for (std::size_t k = 0; k < boundaryCount; ++k) {
        const double angle = 6.283185307179586 * static_cast<double>(k) / boundaryCount;
        const double r = kSide * (0.41 + 0.06 * std::sin(7 * angle));
        site.boundary.emplace_back(kSide / 2 + r * std::cos(angle), kSide / 2 + r * std::sin(angle),
                                   50.0);
    }
    return site;
}

std::size_t SegmentCount(const Site& site) {
    std::size_t count = 0;
    for (const auto& kerb : site.kerbs) {
        count += kerb.size() - 1;
    }
    return count;
}

struct Output {
    std::size_t triangles = 0;
    std::size_t vertices = 0;
    std::uint64_t digest = 0;  // with --digest: of the triangle list in order and the vertex list
    bool failed = false;
};

bool withDigest = false;

// FNV-1a over the bytes of the triangles' corner numbers and the vertices' coordinates.
std::uint64_t ResultDigest(const std::vector<geom::CTriangle>& triangles,
                           const std::vector<CVertex>& vertices) {
    std::uint64_t hash = 14695981039346656037u;
    const auto add = [&hash](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t k = 0; k < size; ++k) {
            hash = (hash ^ bytes[k]) * 1099511628211u;
        }
    };
    for (const geom::CTriangle& t : triangles) {
        const std::int32_t corners[3] = {t.i1, t.i2, t.i3};
        add(corners, sizeof corners);
    }
    for (const CVertex& v : vertices) {
        const double coordinates[3] = {v.x, v.y, v.z};
        add(coordinates, sizeof coordinates);
    }
    return hash;
}

void Feed(geom::CConstrainedDCT& cdt, const Site& site) {
    for (const CVertex& p : site.points) {
        cdt.AddPoint(p.x, p.y, p.z);
    }
    for (const auto& kerb : site.kerbs) {
        cdt.AddBreakline(kerb);
    }
    if (!site.boundary.empty()) {
        cdt.SetOuterBoundary(site.boundary);
    }
}

// CDCT gets the same plan positions: the survey points and the lines' vertices.
void Feed(geom::CDCT& dct, const Site& site) {
    for (const CVertex& p : site.points) {
        dct.AddPoint(p.x, p.y, p.z);
    }
    for (const auto& line : site.kerbs) {
        for (const CVertex& v : line) {
            dct.AddPoint(v.x, v.y, v.z);
        }
    }
    for (const CVertex& v : site.boundary) {
        dct.AddPoint(v.x, v.y, v.z);
    }
}

// The site's boundary drawn in 2D: it clips only, its vertices take the elevations of the surface
// of the points and kerbs (a triangulation of its own).
void FeedClipOnly(geom::CConstrainedDCT& cdt, const Site& site) {
    for (const CVertex& p : site.points) {
        cdt.AddPoint(p.x, p.y, p.z);
    }
    for (const auto& kerb : site.kerbs) {
        cdt.AddBreakline(kerb);
    }
    cdt.SetOuterBoundary(site.boundary, geom::CdtBoundaryElevation::FromSurface);
}

// A snap tolerance of 1 mm: of random points only a few lie that close; the cost is the snap's
// search and holding the points together for it.
void FeedSnapped(geom::CConstrainedDCT& cdt, const Site& site) {
    cdt.SetSnapTolerance(0.001);
    Feed(cdt, site);
}

template <typename Engine, void (*FeedEngine)(Engine&, const Site&)>
Output RunEngine(const Site& site) {
    Output output;
    try {
        Engine engine;
        FeedEngine(engine, site);
        const std::vector<geom::CTriangle> triangles = engine.Triangulate();
        output.triangles = triangles.size();
        output.vertices = engine.GetVertices().size();
        output.digest = withDigest ? ResultDigest(triangles, engine.GetVertices()) : 0;
    } catch (const geom::GeometryError& error) {
        std::fprintf(stderr, "triangulation failed: %s", error.what());
        output.failed = true;
    }
    return output;
}

#ifdef KAF_BENCH_WITH_CGAL
// CGAL: the points inserted at once (spatially sorted), the lines as polyline constraints; then the
// faces inside the boundary, found by a walk from the infinite face that counts the boundary
// edges crossed, listed as vertex index triples. A constrained edge is a boundary edge when
// neither end is a survey point or a kerb vertex (its ends are boundary vertices or crossings).
enum class Kind : unsigned char { Point, Kerb, Boundary, Crossing };
struct VertexInfo {
    std::uint32_t index = 0;
    Kind kind = Kind::Crossing;
};

Output RunCgal(const Site& site) {
    using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
    using VertexBase = CGAL::Triangulation_vertex_base_with_info_2<VertexInfo, Kernel>;
    using FaceBase = CGAL::Constrained_triangulation_face_base_2<
        Kernel, CGAL::Triangulation_face_base_with_info_2<int, Kernel>>;
    using Structure = CGAL::Triangulation_data_structure_2<VertexBase, FaceBase>;
    using Cgal =
        CGAL::Constrained_Delaunay_triangulation_2<Kernel, Structure, CGAL::Exact_predicates_tag>;
    Cgal cgal;
    {
        std::vector<std::pair<Kernel::Point_2, VertexInfo>> points;
        points.reserve(site.points.size());
        for (const CVertex& p : site.points) {
            points.emplace_back(Kernel::Point_2(p.x, p.y), VertexInfo{0, Kind::Point});
        }
        cgal.insert(points.begin(), points.end());
    }
    const auto addLine = [&](const std::vector<CVertex>& line, Kind kind) {
        Cgal::Vertex_handle previous;
        for (std::size_t k = 0; k <= line.size(); ++k) {
            if (k == line.size() && kind != Kind::Boundary) {
                break;
            }
            const CVertex& v = line[k % line.size()];
            const Cgal::Vertex_handle at = cgal.insert(Kernel::Point_2(v.x, v.y));
            at->info().kind = kind;
            if (k > 0) {
                cgal.insert_constraint(previous, at);
            }
            previous = at;
        }
    };
    for (const auto& kerb : site.kerbs) {
        addLine(kerb, Kind::Kerb);
    }
    addLine(site.boundary, Kind::Boundary);
    std::uint32_t index = 0;
    for (auto v = cgal.finite_vertices_begin(); v != cgal.finite_vertices_end(); ++v) {
        v->info().index = index++;
    }
    for (auto f = cgal.all_faces_begin(); f != cgal.all_faces_end(); ++f) {
        f->info() = -1;
    }
    const auto onBoundary = [](Cgal::Vertex_handle v) {
        return v->info().kind == Kind::Boundary || v->info().kind == Kind::Crossing;
    };
    std::vector<Cgal::Face_handle> queue{cgal.infinite_face()};
    cgal.infinite_face()->info() = 0;
    for (std::size_t k = 0; k < queue.size(); ++k) {
        const Cgal::Face_handle f = queue[k];
        for (int i = 0; i < 3; ++i) {
            const Cgal::Face_handle g = f->neighbor(i);
            if (g->info() >= 0) {
                continue;
            }
            const bool boundary = f->is_constrained(i) && onBoundary(f->vertex(Cgal::cw(i))) &&
                                  onBoundary(f->vertex(Cgal::ccw(i)));
            g->info() = f->info() ^ (boundary ? 1 : 0);
            queue.push_back(g);
        }
    }
    std::vector<std::array<std::uint32_t, 3>> triangles;
    triangles.reserve(2 * cgal.number_of_vertices());
    for (auto f = cgal.finite_faces_begin(); f != cgal.finite_faces_end(); ++f) {
        if (f->info() == 1) {
            triangles.push_back({f->vertex(0)->info().index, f->vertex(1)->info().index,
                                 f->vertex(2)->info().index});
        }
    }
    Output output;
    output.triangles = triangles.size();
    output.vertices = cgal.number_of_vertices();
    return output;
}
#endif

struct Run {
    double seconds = 0.0;
    double cpuSeconds = 0.0;  // user and system time of the run's process
    long peakKb = 0;
    Output output;
    bool ok = false;
};

using EngineRun = Output (*)(const Site&);

Run InChild(EngineRun engine, const Site& site) {
    int pipeEnds[2];
    Run run;
    if (pipe(pipeEnds) != 0) {
        return run;
    }
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeEnds[0]);
        const auto begin = std::chrono::steady_clock::now();
        run.output = engine(site);
        run.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        const ssize_t sent = write(pipeEnds[1], &run, sizeof run);
        _exit(sent == static_cast<ssize_t>(sizeof run) ? 0 : 1);
    }
    close(pipeEnds[1]);
    Run received;
    const bool got = pid > 0 && read(pipeEnds[0], &received, sizeof received) ==
                                    static_cast<ssize_t>(sizeof received);
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    if (pid > 0) {
        wait4(pid, &status, 0, &usage);
    }
    received.ok = got && WIFEXITED(status) && WEXITSTATUS(status) == 0 && !received.output.failed;
    received.peakKb = usage.ru_maxrss;
    received.cpuSeconds =
        static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
        1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    return received;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

struct Engine {
    const char* name;
    EngineRun run;
};

struct Figures {
    double median = 0.0;
    double cpuMedian = 0.0;
    bool ok = true;
};

// Runs the engines in turn, `runs` rounds, so that a change in the machine's load falls on all of
// them alike; prints one line per engine and gives its medians.
std::vector<Figures> Measure(const std::vector<Engine>& engines, const Site& site, int runs) {
    std::vector<std::vector<Run>> all(engines.size());
    for (int r = 0; r < runs; ++r) {
        for (std::size_t k = 0; k < engines.size(); ++k) {
            all[k].push_back(InChild(engines[k].run, site));
        }
    }
    std::vector<Figures> figures;
    for (std::size_t k = 0; k < engines.size(); ++k) {
        std::vector<double> times;
        std::vector<double> cpuTimes;
        Figures f;
        long peakKb = 0;
        for (const Run& run : all[k]) {
            times.push_back(run.seconds);
            cpuTimes.push_back(run.cpuSeconds);
            peakKb = std::max(peakKb, run.peakKb);
            f.ok = f.ok && run.ok;
        }
        f.median = Median(times);
        f.cpuMedian = Median(cpuTimes);
        std::printf("  %-16s median %7.3f s (", engines[k].name, f.median);
        for (const double t : times) {
            std::printf(" %.3f", t);
        }
        std::printf(" )  cpu %.3f s  peak RSS %7.1f MB  %zu triangles, %zu vertices%s", f.cpuMedian,
                    peakKb / 1024.0, all[k].back().output.triangles, all[k].back().output.vertices,
                    f.ok ? "" : "  FAILED");
        if (withDigest) {
            bool same = true;
            for (const Run& run : all[k]) {
                same = same && run.output.digest == all[k].front().output.digest;
            }
            std::printf("  digest %016llx%s",
                        static_cast<unsigned long long>(all[k].front().output.digest),
                        same ? "" : " (DIFFERS between runs)");
        }
        std::printf("\n");
        figures.push_back(f);
    }
    std::fflush(stdout);
    return figures;
}

void Ratio(const char* what, const Figures& a, const Figures& b) {
    if (a.ok && b.ok) {
        std::printf("  ratio %s: %.2f (cpu %.2f)\n", what, a.median / b.median,
                    a.cpuMedian / b.cpuMedian);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t points = 1000000;
    std::size_t segments = 10000;
    std::size_t boundary = 1000;
    std::size_t bigPoints = 3000000;
    std::size_t bigSegments = 30000;
    int runs = 5;
    int bigRuns = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--digest") {
            withDigest = true;
            continue;
        }
        const std::size_t value = i + 1 < argc ? std::strtoull(argv[++i], nullptr, 10) : 0;
        if (option == "--points") {
            points = value;
        } else if (option == "--segments") {
            segments = value;
        } else if (option == "--boundary") {
            boundary = value;
        } else if (option == "--big") {
            bigPoints = value;
        } else if (option == "--big-segments") {
            bigSegments = value;
        } else if (option == "--big-runs") {
            bigRuns = std::max(1, static_cast<int>(value));
        } else if (option == "--runs") {
            runs = std::max(1, static_cast<int>(value));
        } else {
            std::printf(
                "Usage: cdt_bench [--digest] [--points N] [--segments N] [--boundary N] [--runs "
                "R]\n"
                "                 [--big N (0 skips)] [--big-segments N] [--big-runs R]\n");
            return 2;
        }
    }
    const Engine dct{"CDCT", RunEngine<geom::CDCT, Feed>};
    const Engine cdt{"CConstrainedDCT", RunEngine<geom::CConstrainedDCT, Feed>};
    const Engine clipOnly{"2D boundary", RunEngine<geom::CConstrainedDCT, FeedClipOnly>};
    const Engine snapped{"snap 1 mm", RunEngine<geom::CConstrainedDCT, FeedSnapped>};
    {
        const Site site = MakeSite(points, segments, boundary, 1);
        std::printf(
            "%zu points, %zu kerb lines of %zu segments in all, boundary of %zu vertices; "
            "%d runs each\n",
            points, site.kerbs.size(), SegmentCount(site), site.boundary.size(), runs);
#ifdef KAF_BENCH_WITH_CGAL
        const std::vector<Figures> f = Measure({dct, cdt, {"CGAL CDT", RunCgal}}, site, runs);
        Ratio("CConstrainedDCT / CDCT", f[1], f[0]);
        Ratio("CConstrainedDCT / CGAL CDT", f[1], f[2]);
#else
        const std::vector<Figures> f = Measure({dct, cdt}, site, runs);
        Ratio("CConstrainedDCT / CDCT", f[1], f[0]);
        std::printf("  (built without CGAL: no reference)\n");
#endif
        // The options' costs: a boundary drawn in 2D, a snap tolerance.
        std::printf(
            "the same with the boundary drawn in 2D, and with a snap tolerance; %d runs "
            "each\n",
            runs);
        const std::vector<Figures> h = Measure({cdt, clipOnly, snapped}, site, runs);
        Ratio("2D boundary / CConstrainedDCT", h[1], h[0]);
        Ratio("snap 1 mm / CConstrainedDCT", h[2], h[0]);
        // The same without the boundary: every triangle is listed, as CDCT lists them.
        Site open = site;
        open.boundary.clear();
        std::printf("the same points and kerb lines without the boundary; %d runs each\n", runs);
        const std::vector<Figures> g = Measure({dct, cdt}, open, runs);
        Ratio("CConstrainedDCT / CDCT", g[1], g[0]);
    }
    if (bigPoints > 0) {
        const Site site = MakeSite(bigPoints, bigSegments, boundary, 2);
        std::printf(
            "%zu points, %zu kerb lines of %zu segments in all, boundary of %zu vertices; "
            "%d runs each\n",
            bigPoints, site.kerbs.size(), SegmentCount(site), site.boundary.size(), bigRuns);
        const std::vector<Figures> f = Measure({dct, cdt}, site, bigRuns);
        Ratio("CConstrainedDCT / CDCT", f[1], f[0]);
    }
    return 0;
}
