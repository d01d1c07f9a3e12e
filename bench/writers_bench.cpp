// Times the mesh writers on the triangulation of 1,000,000 uniform points and gives each as a
// ratio to the triangulation time (construct, AddPoint, Triangulate, GetVertices) of the same run:
// the single subdivision mesh, split subdivision meshes of at most 50,000 vertices and split
// polyface meshes of at most 32767 vertices, each into a fresh drawing. Prints per-run figures and
// the medians over the runs.
//
// Usage: writers_bench [points] [runs]   (defaults 1000000 and 3)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "geom/dct/dct.h"
#include "kafhost/host.h"
#include "output/create_splitted_pface_mesh.h"
#include "output/create_splitted_subd_mesh.h"
#include "output/create_subd_mesh.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

struct Point {
    double x, y, z;
};

std::vector<Point> UniformPoints(std::size_t count) {
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> plan(0.0, 10000.0);
    std::uniform_real_distribution<double> height(100.0, 200.0);
    std::vector<Point> points(count);
    for (Point& p : points) {
        p.x = plan(random);
        p.y = plan(random);
        p.z = height(random);
    }
    return points;
}

struct Writer {
    const char* name;
    double limit;  // the largest ratio to the triangulation time that is acceptable
    int (*write)(const std::vector<geom::CTriangle>&, const std::vector<geom::CVertex>&,
                 std::vector<std::wstring>&);
};

const Writer kWriters[] = {
    {"single subdivision mesh", 0.5,
     [](const std::vector<geom::CTriangle>& t, const std::vector<geom::CVertex>& v,
        std::vector<std::wstring>& h) { return CreateSubDMesh(t, v, nullptr, h); }},
    {"split subdivision meshes (50000)", 0.5,
     [](const std::vector<geom::CTriangle>& t, const std::vector<geom::CVertex>& v,
        std::vector<std::wstring>& h) { return CreateSplittedSubDMesh(t, v, nullptr, 50000, h); }},
    {"split polyface meshes (32767)", 1.0,
     [](const std::vector<geom::CTriangle>& t, const std::vector<geom::CVertex>& v,
        std::vector<std::wstring>& h) { return CreateSplittedPFaceMesh(t, v, nullptr, 32767, h); }},
};
constexpr std::size_t kWriterCount = sizeof kWriters / sizeof kWriters[0];

}  // namespace

int main(int argc, char** argv) {
    const std::size_t pointCount = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::vector<Point> points = UniformPoints(pointCount);

    kafhost::Host& host = kafhost::Host::instance();
    std::vector<double> triangulationTimes;
    std::vector<std::vector<double>> writerTimes(kWriterCount), ratios(kWriterCount);
    std::printf("mesh writers on %zu uniform points, %d runs\n", pointCount, runs);
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        std::vector<geom::CTriangle> triangles;
        std::vector<geom::CVertex> vertices;
        {
            geom::CDCT dct;
            for (const Point& p : points) {
                dct.AddPoint(p.x, p.y, p.z);
            }
            triangles = dct.Triangulate();
            vertices = dct.GetVertices();
        }
        const double triangulation = SecondsSince(start);
        triangulationTimes.push_back(triangulation);
        std::printf("run %d: triangulation %.3f s (%zu triangles)", run + 1, triangulation,
                    triangles.size());
        for (std::size_t w = 0; w < kWriterCount; ++w) {
            host.resetDrawing();
            host.clearCommandLine();
            std::vector<std::wstring> handles;
            const Clock::time_point writeStart = Clock::now();
            const int status = kWriters[w].write(triangles, vertices, handles);
            const double seconds = SecondsSince(writeStart);
            if (status != 5100) {
                std::printf("\n%s failed with status %d\n", kWriters[w].name, status);
                return 1;
            }
            writerTimes[w].push_back(seconds);
            ratios[w].push_back(seconds / triangulation);
            std::printf(", %s %.3f s (%zu meshes)", kWriters[w].name, seconds, handles.size());
        }
        std::printf("\n");
    }
    std::printf("median triangulation: %.3f s\n", Median(triangulationTimes));
    bool allWithin = true;
    for (std::size_t w = 0; w < kWriterCount; ++w) {
        const double ratio = Median(ratios[w]);
        const bool within = ratio <= kWriters[w].limit;
        allWithin = allWithin && within;
        std::printf("%-34s median %.3f s, ratio to triangulation %.3f (limit %.1f) %s\n",
                    kWriters[w].name, Median(writerTimes[w]), ratio, kWriters[w].limit,
                    within ? "ok" : "TOO SLOW");
    }
    return allWithin ? 0 : 2;
}
