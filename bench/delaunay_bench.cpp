// delaunay_bench: times CDelaunay::Triangulate against CDCT::Triangulate on the same points, the
// two engines in turn round after round, and prints the medians of the wall and processor times
// and their ratios.
//
// Usage: delaunay_bench [runs] [sizes...]   (defaults: 3 runs; 100000 and 1000000 points)
// A size N stands for N uniform points, gN for an N x N grid, cN for N points in Gaussian
// clusters.
//
// It first checks on 20,000 uniform points, 20,000 clustered points and a 100 x 100 grid that the
// engine gives exactly the triangles of the plain list walk (the test reference), and times that
// walk's insertion phase as well. For every set it prints a digest of CDelaunay's whole result
// (every field of every triangle, in order), so that runs of two builds can be compared on sets
// too large for the plain walk. Beside the medians it prints each engine's median user and system
// time and minor page faults (getrusage around each call), so the cost of touched pages shows.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "delaunay_oracle.h"
#include "geom/dct/dct.h"
#include "geom/incremental/delaunay.h"

namespace {

struct Point {
    double x, y, z;
};

std::vector<Point> UniformPoints(int n, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> plan(0.0, 1000.0), height(100.0, 200.0);
    std::vector<Point> points(n);
    for (Point& p : points) {
        p.x = plan(rng);
        p.y = plan(rng);
        p.z = height(rng);
    }
    return points;
}

// A side x side grid with 1 m spacing, shuffled.
std::vector<Point> GridPoints(int side, unsigned seed) {
    std::vector<Point> points;
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            points.push_back({static_cast<double>(i), static_cast<double>(j), 100.0 + (i + j) % 7});
        }
    }
    std::shuffle(points.begin(), points.end(), std::mt19937_64(seed));
    return points;
}

// Gaussian clusters of varying spread around 100 centres spread over the square.
std::vector<Point> ClusterPoints(int n, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> gauss(0.0, 1.0);
    struct Cluster {
        double x, y, spread;
    };
    std::vector<Cluster> clusters(100);
    for (Cluster& c : clusters) {
        c.x = 1000.0 * unit(rng);
        c.y = 1000.0 * unit(rng);
        c.spread = 2.0 + 30.0 * unit(rng);
    }
    std::vector<Point> points(n);
    for (Point& p : points) {
        const Cluster& c = clusters[static_cast<std::size_t>(unit(rng) * clusters.size())];
        p.x = c.x + c.spread * gauss(rng);
        p.y = c.y + c.spread * gauss(rng);
        p.z = 100.0 * unit(rng);
    }
    return points;
}

// FNV-1a over the bytes of every field of every triangle, in list order.
class CDigest {
public:
    template <class T>
    void Add(const T& value) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (const unsigned char b : bytes) {
            hash_ = (hash_ ^ b) * 1099511628211ull;
        }
    }
    void Add(const geom::CVertex& v) {
        Add(v.x);
        Add(v.y);
        Add(v.z);
        Add(v.w);
    }
    unsigned long long Value() const { return hash_; }

private:
    unsigned long long hash_ = 14695981039346656037ull;
};

unsigned long long Digest(const std::vector<geom::CTriangle>& triangles) {
    CDigest digest;
    for (const geom::CTriangle& t : triangles) {
        digest.Add(t.i1);
        digest.Add(t.i2);
        digest.Add(t.i3);
        digest.Add(t.p1);
        digest.Add(t.p2);
        digest.Add(t.p3);
        digest.Add(t.circleKnown);
        digest.Add(t.complete);
        digest.Add(t.xc);
        digest.Add(t.yc);
        digest.Add(t.r);
    }
    return digest.Value();
}

template <class Engine>
void Feed(Engine& engine, const std::vector<Point>& points) {
    for (const Point& p : points) {
        engine.AddPoint(p.x, p.y, p.z);
    }
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct Timing {
    double wall;
    double cpu;
    double user;
    double system;
    double faults;
};

double TimeOf(const timeval& t) {
    return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec);
}

// Wall and processor seconds for Triangulate() on a freshly fed engine; the triangle count goes
// to `triangles` and the result's digest to `digest`.
template <class Engine>
Timing TimeTriangulate(const std::vector<Point>& points, std::size_t& triangles,
                       unsigned long long& digest) {
    Engine engine;
    Feed(engine, points);
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const std::clock_t cpuStart = std::clock();
    const auto start = std::chrono::steady_clock::now();
    const std::vector<geom::CTriangle> result = engine.Triangulate();
    const double wall = Seconds(start);
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    getrusage(RUSAGE_SELF, &after);
    const Timing timing{wall, cpu, TimeOf(after.ru_utime) - TimeOf(before.ru_utime),
                        TimeOf(after.ru_stime) - TimeOf(before.ru_stime),
                        static_cast<double>(after.ru_minflt - before.ru_minflt)};
    triangles = result.size();
    digest = Digest(result);
    return timing;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t m = values.size() / 2;
    return values.size() % 2 ? values[m] : 0.5 * (values[m - 1] + values[m]);
}

bool CheckAgainstPlainWalk(const char* name, const std::vector<Point>& points) {
    geom::CDelaunay engine;
    Feed(engine, points);
    auto start = std::chrono::steady_clock::now();
    const std::vector<geom::CTriangle> fast = engine.Triangulate();
    const double fastSeconds = Seconds(start);
    start = std::chrono::steady_clock::now();
    const std::vector<geom::CTriangle> plain = delaunay_oracle::ReplayWithOracle(engine);
    const double plainSeconds = Seconds(start);
    bool same = fast.size() == plain.size();
    for (std::size_t k = 0; same && k < fast.size(); ++k) {
        same = delaunay_oracle::SameTriangle(fast[k], plain[k]);
    }
    std::printf("%s: %s the plain walk (%zu triangles); engine %.3f s, plain walk %.3f s\n", name,
                same ? "identical to" : "DIFFERENT from", fast.size(), fastSeconds, plainSeconds);
    return same;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::vector<std::string> sizes;
    for (int a = 2; a < argc; ++a) {
        sizes.push_back(argv[a]);
    }
    if (sizes.empty()) {
        sizes = {"100000", "1000000"};
    }
    bool same = CheckAgainstPlainWalk("20000 uniform points", UniformPoints(20000, 7));
    same = CheckAgainstPlainWalk("20000 clustered points", ClusterPoints(20000, 7)) && same;
    same = CheckAgainstPlainWalk("100 x 100 grid", GridPoints(100, 7)) && same;
    std::printf("%10s %5s %10s %10s %7s %10s %10s %7s %15s %17s\n", "points", "runs", "CDel wall",
                "CDCT wall", "ratio", "CDel cpu", "CDCT cpu", "ratio", "triangles",
                "CDelaunay digest");
    for (const std::string& size : sizes) {
        const char kind = size[0] == 'g' || size[0] == 'c' ? size[0] : ' ';
        const int count = std::atoi(size.c_str() + (kind == ' ' ? 0 : 1));
        const int n = kind == 'g' ? count * count : count;
        const std::vector<Point> points = kind == 'g'   ? GridPoints(count, 99u)
                                          : kind == 'c' ? ClusterPoints(n, 4321u + n)
                                                        : UniformPoints(n, 1234u + n);
        std::vector<double> delaunay, dct, delaunayCpu, dctCpu;
        std::vector<double> usage[2][3];  // per engine: user, system, faults
        std::size_t delaunayTriangles = 0, dctTriangles = 0;
        unsigned long long delaunayDigest = 0, dctDigest = 0, firstDigest = 0;
        for (int r = 0; r < runs; ++r) {
            const Timing a =
                TimeTriangulate<geom::CDelaunay>(points, delaunayTriangles, delaunayDigest);
            const Timing b = TimeTriangulate<geom::CDCT>(points, dctTriangles, dctDigest);
            delaunay.push_back(a.wall);
            delaunayCpu.push_back(a.cpu);
            dct.push_back(b.wall);
            dctCpu.push_back(b.cpu);
            for (int e = 0; e < 2; ++e) {
                const Timing& t = e == 0 ? a : b;
                usage[e][0].push_back(t.user);
                usage[e][1].push_back(t.system);
                usage[e][2].push_back(t.faults);
            }
            if (r == 0) {
                firstDigest = delaunayDigest;
            }
            same = same && delaunayDigest == firstDigest;
        }
        const double a = Median(delaunay), b = Median(dct);
        const double ac = Median(delaunayCpu), bc = Median(dctCpu);
        std::printf("%9d%c %5d %10.3f %10.3f %7.2f %10.3f %10.3f %7.2f %7zu/%7zu %17llx\n", n, kind,
                    runs, a, b, a / b, ac, bc, ac / bc, delaunayTriangles, dctTriangles,
                    delaunayDigest);
        for (int e = 0; e < 2; ++e) {
            std::printf("%10s %-9s user %.3f s, system %.3f s, minor faults %.0f (medians)\n", "",
                        e == 0 ? "CDelaunay" : "CDCT", Median(usage[e][0]), Median(usage[e][1]),
                        Median(usage[e][2]));
        }
        std::fflush(stdout);
    }
    return same ? 0 : 1;
}
