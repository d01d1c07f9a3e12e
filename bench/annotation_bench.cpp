// annotation_bench: the cost of writing contour labels and spot levels on the terrain sample
// (150,000 points), against the triangulation of the same points; each measured in a process
// of its own, run after run.
//
// Usage: annotation_bench [terrain.csv] [runs]   (defaults out/sample/terrain.csv, which
// run-sample.sh writes, and 5 runs)
//
// The reference process reads the file's points and times geom::CDCT on them (construct,
// AddPoint, Triangulate, GetVertices). The annotation process loads the module into the stand-in
// host, makes the sample's surface (kaf-dct-subdmesh-withloadcsv, meshes of at most 40,000
// vertices) and contours (every 5 m, every fifth a major on its own layer), then times, as the
// sample calls them, kaf-contourLabels on the majors (20 m high, every 400 m) and kaf-spotLevels
// on a 250 m grid, and, as harder cases, kaf-contourLabels on all contours (every 200 m) and
// kaf-spotLevels on a 10 m grid (22,500 positions).
// Prints each run's processor seconds and page faults of both processes, then the medians and
// the ratios to the triangulation (goal: the sample's labels and spot levels at most 0.3).
// Processor time is judged: other processes on a shared machine disturb it less than wall time.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "geom/dct/dct.h"
#include "kafhost/host.h"

namespace {

using kafhost::LispValue;

constexpr double kOriginEast = 350000.0;
constexpr double kOriginNorth = 5800000.0;

struct ChildRun {
    double cpu[4] = {0.0, 0.0, 0.0, 0.0};  // the figures the child printed
    long minorFaults = 0;
    long maxResidentKb = 0;
};

int TimeTriangulation(const std::string& path) {
    std::ifstream file(path);
    std::vector<double> xyz;
    std::string line;
    while (std::getline(file, line)) {
        double x = 0.0, y = 0.0, z = 0.0;
        if (std::sscanf(line.c_str(), "%lf;%lf;%lf", &x, &y, &z) == 3) {
            xyz.insert(xyz.end(), {x - kOriginEast, y - kOriginNorth, z});
        }
    }
    const std::clock_t start = std::clock();
    geom::CDCT dct;
    for (std::size_t i = 0; i < xyz.size(); i += 3) {
        dct.AddPoint(xyz[i], xyz[i + 1], xyz[i + 2]);
    }
    const std::vector<geom::CTriangle> triangles = dct.Triangulate();
    const std::vector<geom::CVertex> vertices = dct.GetVertices();
    const double cpu = bench::CpuSecondsSince(start);
    std::printf("%.6f %zu %zu\n", cpu, vertices.size(), triangles.size());
    return triangles.empty() ? 1 : 0;
}

kafhost::CallResult Call(const std::wstring& name, const std::vector<LispValue>& arguments) {
    const kafhost::CallResult result = kafhost::Host::instance().call(name, arguments);
    if (result.status != RSRSLT) {
        std::fprintf(stderr, "%ls failed:\n%ls\n", name.c_str(), result.printed.c_str());
        std::exit(1);
    }
    return result;
}

template <typename Step>
double CpuSeconds(Step step) {
    const std::clock_t start = std::clock();
    step();
    return bench::CpuSecondsSince(start);
}

int TimeAnnotations(const std::string& path) {
    kafhost::Host& host = kafhost::Host::instance();
    std::string error;
    if (!host.loadModule(KAF_MODULE_PATH, error)) {
        std::fprintf(stderr, "cannot load the module: %s\n", error.c_str());
        return 1;
    }
    host.addLayer(L"MAJOR");
    std::wstring file(path.begin(), path.end());
    const LispValue meshes =
        Call(L"kaf-dct-subdmesh-withloadcsv",
             {LispValue::list({LispValue::string(file)}), LispValue::string(L";"), LispValue::nil(),
              LispValue::real(-kOriginEast), LispValue::real(-kOriginNorth), LispValue::real(1.0),
              LispValue::integer(40000)})
            .value;
    const LispValue contours =
        Call(L"kaf-contours", {meshes, LispValue::real(5.0), LispValue::real(0.0), LispValue::nil(),
                               LispValue::integer(5), LispValue::string(L"MAJOR")})
            .value;
    const double labels = CpuSeconds([&] {
        Call(L"kaf-contourLabels",
             {contours, LispValue::nil(), LispValue::real(20.0), LispValue::integer(0),
              LispValue::real(400.0), LispValue::string(L"MAJOR")});
    });
    const double spots = CpuSeconds([&] {
        Call(L"kaf-spotLevels", {meshes, LispValue::nil(), LispValue::real(15.0),
                                 LispValue::integer(1), LispValue::real(250.0)});
    });
    const double allLabels = CpuSeconds([&] {
        Call(L"kaf-contourLabels", {contours, LispValue::nil(), LispValue::real(20.0),
                                    LispValue::integer(0), LispValue::real(200.0)});
    });
    const double denseSpots = CpuSeconds([&] {
        Call(L"kaf-spotLevels", {meshes, LispValue::nil(), LispValue::real(1.0),
                                 LispValue::integer(1), LispValue::real(10.0)});
    });
    std::printf("%.6f %.6f %.6f %.6f\n", labels, spots, allLabels, denseSpots);
    return 0;
}

// Runs this program again as a child in the mode and reads the figures it prints.
ChildRun RunChild(const char* self, const char* mode, const std::string& path) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], 1);
        close(pipeEnds[0]);
        execl(self, self, "--child", mode, path.c_str(), static_cast<char*>(nullptr));
        std::perror("execl");
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string output;
    char buffer[256];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the %s run failed\n", mode);
        std::exit(1);
    }
    ChildRun run;
    std::istringstream figures(output);
    figures >> run.cpu[0] >> run.cpu[1] >> run.cpu[2] >> run.cpu[3];
    run.minorFaults = usage.ru_minflt;
    run.maxResidentKb = usage.ru_maxrss;
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--child") {
        return std::string(argv[2]) == "triangulate" ? TimeTriangulation(argv[3])
                                                     : TimeAnnotations(argv[3]);
    }
    const std::string path = argc > 1 ? argv[1] : "out/sample/terrain.csv";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    if (!std::ifstream(path)) {
        std::fprintf(stderr, "no point file %s (run-sample.sh writes it)\n", path.c_str());
        return 1;
    }
    std::vector<double> triangulation, labels, spots, allLabels, denseSpots, sampleRatio, allRatio;
    for (int run = 1; run <= runs; ++run) {
        const ChildRun reference = RunChild(argv[0], "triangulate", path);
        const ChildRun annotated = RunChild(argv[0], "annotate", path);
        triangulation.push_back(reference.cpu[0]);
        labels.push_back(annotated.cpu[0]);
        spots.push_back(annotated.cpu[1]);
        allLabels.push_back(annotated.cpu[2]);
        denseSpots.push_back(annotated.cpu[3]);
        sampleRatio.push_back((annotated.cpu[0] + annotated.cpu[1]) / reference.cpu[0]);
        allRatio.push_back(annotated.cpu[2] / reference.cpu[0]);
        std::printf(
            "run %d: triangulation %.3f s (%ld page faults, %ld MB); labels of the majors %.3f s, "
            "spot levels %.3f s, labels of all contours %.3f s, spot levels every 10 m %.3f s "
            "(process: %ld page faults, %ld MB)\n",
            run, reference.cpu[0], reference.minorFaults, reference.maxResidentKb / 1024,
            annotated.cpu[0], annotated.cpu[1], annotated.cpu[2], annotated.cpu[3],
            annotated.minorFaults, annotated.maxResidentKb / 1024);
    }
    const double ratio = bench::Median(sampleRatio);
    std::printf(
        "medians of %d runs (processor time): triangulation %.3f s, labels of the majors %.3f s, "
        "spot levels %.3f s, labels of all contours %.3f s, spot levels every 10 m %.3f s\n",
        runs, bench::Median(triangulation), bench::Median(labels), bench::Median(spots),
        bench::Median(allLabels), bench::Median(denseSpots));
    std::printf(
        "(labels + spot levels) / triangulation = %.3f (goal <= 0.3: %s); all contours "
        "labelled / triangulation = %.3f\n",
        ratio, ratio <= 0.3 ? "met" : "NOT MET", bench::Median(allRatio));
    return 0;
}
