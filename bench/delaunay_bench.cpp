// delaunay_bench: times CDelaunay::Triangulate against CDCT::Triangulate on the same uniform
// random points and prints the medians and their ratio.
//
// Usage: delaunay_bench [runs] [sizes...]   (defaults: 3 runs; 100000 and 1000000 points)
// A size written gN stands for an N x N grid instead of N uniform points.
//
// It first checks on 20,000 points that the engine gives exactly the triangles of the plain list
// walk (the test reference) and times that walk's insertion phase as well.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "delaunay_oracle.h"
#include "geom/dct.h"
#include "geom/delaunay.h"

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

template <class Engine>
void Feed(Engine& engine, const std::vector<Point>& points) {
    for (const Point& p : points) {
        engine.AddPoint(p.x, p.y, p.z);
    }
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Seconds for Triangulate() on a freshly fed engine; the triangle count goes to `triangles`.
template <class Engine>
double TimeTriangulate(const std::vector<Point>& points, std::size_t& triangles) {
    Engine engine;
    Feed(engine, points);
    const auto start = std::chrono::steady_clock::now();
    triangles = engine.Triangulate().size();
    return Seconds(start);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t m = values.size() / 2;
    return values.size() % 2 ? values[m] : 0.5 * (values[m - 1] + values[m]);
}

bool CheckAgainstPlainWalk() {
    const std::vector<Point> points = UniformPoints(20000, 7);
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
    std::printf(
        "20000 points: %s the plain walk (%zu triangles); engine %.3f s, plain walk %.3f s\n",
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
    const bool same = CheckAgainstPlainWalk();
    std::printf("%10s %6s %14s %14s %8s %12s\n", "points", "runs", "CDelaunay [s]", "CDCT [s]",
                "ratio", "triangles");
    for (const std::string& size : sizes) {
        const bool grid = size[0] == 'g';
        const int side = grid ? std::atoi(size.c_str() + 1) : 0;
        const int n = grid ? side * side : std::atoi(size.c_str());
        const std::vector<Point> points =
            grid ? GridPoints(side, 99u) : UniformPoints(n, 1234u + n);
        std::vector<double> delaunay, dct;
        std::size_t delaunayTriangles = 0, dctTriangles = 0;
        for (int r = 0; r < runs; ++r) {
            delaunay.push_back(TimeTriangulate<geom::CDelaunay>(points, delaunayTriangles));
            dct.push_back(TimeTriangulate<geom::CDCT>(points, dctTriangles));
        }
        const double a = Median(delaunay), b = Median(dct);
        std::printf("%9d%s %6d %14.3f %14.3f %8.2f %5zu/%zu\n", n, grid ? "g" : " ", runs, a, b,
                    a / b, delaunayTriangles, dctTriangles);
    }
    return same ? 0 : 1;
}
