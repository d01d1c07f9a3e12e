// pointcloud_bench: LAS reading against text reading of the same points, and thinning a DEM grid
// to a vertical tolerance against delatin (npm, run with node) on the same grid and maximum error.
//
// Input: [points] [side] [tolerance] [runs] (default 2,000,000 points, a 1025 x 1025 grid,
// 0.5 m, 3 runs). The cloud (terrain with noise, 10 % buildings classified 6) is written as a LAS
// 1.4 file (point format 6) and as an XYZ text file with two decimals into a folder of its own
// under the temporary folder, removed at the end. Every measure runs in a process of its own (this
// program again, with --read or --thin; node for delatin), runs alternating.
//
// pointcloud_bench --cloud <points> <tolerance> [budget]: the ground of a generated LAS cloud
// streamed through the thinning (at most `budget` points waiting at once; default the module's),
// in a child process: processor and wall seconds, passes, points kept, peak memory against the
// points kept and read at once. --cloud 100000000 0.1 is the 100-million-point run (about 3 GB of
// LAS in the temporary folder). pointcloud_bench --write-las <points> <file> writes such a cloud
// to keep; pointcloud_bench --thin-las <file> <tolerance> [budget] is the child on its own.
//
// Output: per run the processor seconds (the machine is shared: wall time would count the waits),
// peak resident memory and minor page faults of each child; then the medians and ratios (text /
// LAS; thinning / delatin, its triangles against delatin's). delatin runs when KAF_DELATIN_MODULES
// names a node_modules folder holding delatin (see bench/README lines in docs/functions.md);
// otherwise it is left out.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "geom/thinning/greedy_thinning.h"
#include "geom/thinning/stream_thinning.h"
#include "input/survey_point_file.h"
#include "kafhost/host.h"
#include "tests/support/las_file.h"

#if defined(__unix__)
#include <sys/resource.h>
#endif

namespace {

namespace fs = std::filesystem;

struct Usage {
    double maxResidentMb = 0.0;
    long minorFaults = 0;
};

Usage OwnUsage() {
    Usage usage;
#if defined(__unix__)
    rusage own{};
    getrusage(RUSAGE_SELF, &own);
    usage.maxResidentMb = static_cast<double>(own.ru_maxrss) / 1024.0;
    usage.minorFaults = own.ru_minflt;
#endif
    return usage;
}

double Terrain(double x, double y) {
    return 200.0 + 40.0 * std::sin(x / 180.0) * std::cos(y / 230.0) +
           8.0 * std::sin(x / 37.0 + y / 53.0) + 1.5 * std::cos(x / 7.0) * std::sin(y / 11.0);
}

// The cloud as a LAS 1.4 file (point format 6, written in blocks, so that clouds of any size fit
// in memory) and, when `text` is not empty, as an XYZ text file with two decimals.
void WriteCloud(std::int64_t count, const fs::path& las, const fs::path& text) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> position(0.0, 2000.0);
    std::normal_distribution<double> noise(0.0, 0.03);
    LasFileSpec spec;
    spec.minor = 4;
    spec.format = 6;
    spec.offset[0] = 500000.0;
    spec.offset[1] = 5400000.0;
    std::string header = LasFileBytes(spec, {});
    const std::size_t headerSize = header.size();
    las_file_detail::Put(header, 247, static_cast<std::uint64_t>(count), 8);
    std::ofstream lasFile(las, std::ios::binary);
    lasFile << header;
    std::ofstream textFile;
    if (!text.empty()) {
        textFile.open(text, std::ios::binary);
    }
    std::vector<LasRecord> records;
    std::string lines;
    char line[96];
    for (std::int64_t i = 0; i < count; ++i) {
        const double x = position(random);
        const double y = position(random);
        const bool building = i % 10 == 0;
        const double z = Terrain(x, y) + (building ? 12.0 : noise(random));
        LasRecord r;
        r.x = static_cast<std::int32_t>(std::lround(x * 100));
        r.y = static_cast<std::int32_t>(std::lround(y * 100));
        r.z = static_cast<std::int32_t>(std::lround(z * 100));
        r.classification = building ? 6 : 2;
        records.push_back(r);
        if (!text.empty()) {
            std::snprintf(line, sizeof line, "%.2f %.2f %.2f\n", 500000.0 + r.x * 0.01,
                          5400000.0 + r.y * 0.01, r.z * 0.01);
            lines += line;
        }
        if (records.size() == (1u << 20) || i + 1 == count) {
            lasFile << LasFileBytes(spec, records).substr(headerSize);
            textFile << lines;
            records.clear();
            lines.clear();
        }
    }
}

void WriteGrid(int side, const fs::path& file) {
    std::vector<double> heights(static_cast<std::size_t>(side) * side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            heights[static_cast<std::size_t>(y) * side + x] =
                std::round(Terrain(x * 2.0, y * 2.0) * 100.0) / 100.0;
        }
    }
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(heights.data()),
               static_cast<std::streamsize>(heights.size() * sizeof(double)));
}

// Child: reads a point file with the survey reader (LAS or text) as the thinning streams it;
// prints seconds, points, usage.
int ReadChild(const std::string& file, const std::string& layout) {
    kafhost::Host::instance().reset();
    kafhost::Host::instance().setMessageBoxEcho(false);
    SurveyColumns columns;
    ParseSurveyLayout(std::wstring(layout.begin(), layout.end()), columns);
    std::size_t count = 0;
    double sum = 0.0;
    SurveyReadCounts counts;
    SurveyReadOptions options;  // as the thinning streams them: every row, nothing kept
    options.quiet = true;
    const std::clock_t start = std::clock();
    const bool read = ReadSurveyPointFiles(
        {std::wstring(file.begin(), file.end())}, columns, L' ', L"bench",
        [&](double, double, double z) {
            ++count;
            sum += z;
        },
        counts, options);
    const double seconds = bench::CpuSecondsSince(start);
    const Usage usage = OwnUsage();
    std::printf("%d %.4f %zu %.1f %ld\n", read ? 1 : 0, seconds, count, usage.maxResidentMb,
                usage.minorFaults);
    return read ? 0 : 1;
}

// Child: thins the grid; prints seconds, kept points, triangles, usage.
int ThinChild(const std::string& file, int side, double tolerance) {
    std::vector<double> heights(static_cast<std::size_t>(side) * side);
    std::ifstream(file, std::ios::binary)
        .read(reinterpret_cast<char*>(heights.data()),
              static_cast<std::streamsize>(heights.size() * sizeof(double)));
    std::vector<geom::ThinPoint> points;
    points.reserve(heights.size());
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            points.push_back({static_cast<double>(x), static_cast<double>(y),
                              heights[static_cast<std::size_t>(y) * side + x]});
        }
    }
    const std::clock_t start = std::clock();
    const geom::ThinningResult result = geom::ThinToVerticalTolerance(points, tolerance);
    const double seconds = bench::CpuSecondsSince(start);
    const Usage usage = OwnUsage();
    std::printf("%.4f %zu %zu %.1f %ld\n", seconds, result.kept.size(),
                result.surface.triangles.size(), usage.maxResidentMb, usage.minorFaults);
    return 0;
}

// Child: streams the ground (class 2) of a LAS cloud through the thinning, as
// kaf-thin-subdmesh-withloadcsv does; prints the processor and wall seconds, the passes, the
// points read and kept, the triangles and the usage.
int ThinCloudChild(const std::string& file, double tolerance, std::size_t budget) {
    kafhost::Host::instance().reset();
    kafhost::Host::instance().setMessageBoxEcho(false);
    SurveyColumns columns;
    ParseSurveyLayout(L"XYZ class=2", columns);
    const std::clock_t start = std::clock();
    const auto wallStart = std::chrono::steady_clock::now();
    geom::ThinOptions options;
    options.tolerance = tolerance;
    if (budget > 0) {
        options.budget = budget;
    }
    const geom::ThinStreamResult result = geom::ThinStream(
        [&](const geom::ThinPointSink& sink) {
            SurveyReadCounts counts;
            SurveyReadOptions read;
            read.quiet = true;
            return ReadSurveyPointFiles({std::wstring(file.begin(), file.end())}, columns, L' ',
                                        L"bench", sink, counts, read);
        },
        options);
    const double seconds = bench::CpuSecondsSince(start);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const Usage usage = OwnUsage();
    std::printf("%.3f %.3f %d %llu %llu %zu %.1f %ld %zu\n", seconds, wall, result.passes,
                static_cast<unsigned long long>(result.read),
                static_cast<unsigned long long>(result.kept), result.surface.triangles.size(),
                usage.maxResidentMb, usage.minorFaults, options.budget);
    return result.status == geom::ThinStreamResult::Status::Done ? 0 : 1;
}

#if defined(_WIN32)
FILE* OpenPipe(const char* command) {
    return _popen(command, "r");
}
int ClosePipe(FILE* pipe) {
    return _pclose(pipe);
}
#else
FILE* OpenPipe(const char* command) {
    return popen(command, "r");
}
int ClosePipe(FILE* pipe) {
    return pclose(pipe);
}
#endif

// Runs a command; gives what it printed.
std::string Run(const std::string& command) {
    std::string output;
    if (FILE* pipe = OpenPipe(command.c_str())) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            output += buffer;
        }
        ClosePipe(pipe);
    }
    return output;
}

std::vector<double> Numbers(const std::string& line) {
    std::istringstream stream(line);
    std::vector<double> values;
    std::string word;
    while (stream >> word) {
        char* end = nullptr;
        const double value = std::strtod(word.c_str(), &end);
        if (end != word.c_str()) {
            values.push_back(value);
        }
    }
    return values;
}

// The cloud of `count` points as LAS, its ground thinned to the tolerance in a child process
// (/usr/bin/time -v gives the child's own figures too).
int CloudToGround(const char* self, std::int64_t count, double tolerance,
                  const std::string& budget) {
    const fs::path folder = fs::temp_directory_path() /
                            ("kaf_pointcloud_bench_" + std::to_string(std::random_device()()));
    fs::create_directories(folder);
    const fs::path las = folder / "cloud.las";
    WriteCloud(count, las, fs::path());
    const std::uint64_t bytes = fs::file_size(las);
    const std::string command = fs::absolute(self).string() + " --thin-las " + las.string() + " " +
                                std::to_string(tolerance) + " " + budget;
    const std::vector<double> figures = Numbers(Run(command));
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    if (figures.size() != 9) {
        std::printf("the child failed\n");
        return 1;
    }
    // What must be in memory: the points kept and the points read at once (all of them when they
    // fit the budget), 24 bytes each (x, y, z).
    const double kept = figures[4] * 24.0;
    const double waiting = std::min(figures[3], figures[8]) * 24.0;
    std::printf(
        "cloud of %lld points (LAS %.0f MB): ground %.0f points thinned to %g in %.2f s wall "
        "(%.2f s processor), %.0f passes: %.0f kept, %.0f triangles; peak %.0f MB = %.2f x "
        "(points kept %.0f MB + points read at once %.0f MB), %.0f minor faults\n",
        static_cast<long long>(count), bytes / 1e6, figures[3], tolerance, figures[1], figures[0],
        figures[2], figures[4], figures[5], figures[6], figures[6] * 1048576.0 / (kept + waiting),
        kept / 1048576.0, waiting / 1048576.0, figures[7]);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "--read") {
        return ReadChild(args[1], args[2]);
    }
    if ((args.size() == 3 || args.size() == 4) && args[0] == "--thin-las") {
        return ThinCloudChild(args[1], std::atof(args[2].c_str()),
                              args.size() == 4 ? std::strtoull(args[3].c_str(), nullptr, 10) : 0);
    }
    if ((args.size() == 3 || args.size() == 4) && args[0] == "--cloud") {
        return CloudToGround(argv[0], std::atoll(args[1].c_str()), std::atof(args[2].c_str()),
                             args.size() == 4 ? args[3] : "");
    }
    if (args.size() == 3 && args[0] == "--write-las") {
        WriteCloud(std::atoll(args[1].c_str()), args[2], fs::path());
        return 0;
    }
    if (args.size() == 4 && args[0] == "--thin") {
        return ThinChild(args[1], std::atoi(args[2].c_str()), std::atof(args[3].c_str()));
    }
    const int count = args.size() > 0 ? std::atoi(args[0].c_str()) : 2000000;
    const int side = args.size() > 1 ? std::atoi(args[1].c_str()) : 1025;
    const double tolerance = args.size() > 2 ? std::atof(args[2].c_str()) : 0.5;
    const int runs = args.size() > 3 ? std::atoi(args[3].c_str()) : 3;
    const fs::path folder = fs::temp_directory_path() /
                            ("kaf_pointcloud_bench_" + std::to_string(std::random_device()()));
    fs::create_directories(folder);
    const fs::path las = folder / "cloud.las";
    const fs::path text = folder / "cloud.xyz";
    const fs::path grid = folder / "grid.f64";
    WriteCloud(count, las, text);
    WriteGrid(side, grid);
    const std::string self = fs::absolute(argv[0]).string();
    std::printf("cloud: %d points, LAS %.1f MB, text %.1f MB; grid %d x %d, tolerance %g\n", count,
                fs::file_size(las) / 1e6, fs::file_size(text) / 1e6, side, side, tolerance);
    std::printf("(a shared machine: expect noise; each figure from a process of its own)\n");

    std::vector<double> lasSeconds, textSeconds, thinSeconds, delatinSeconds;
    std::vector<double> last;
    const char* modules = std::getenv("KAF_DELATIN_MODULES");
    const fs::path script = fs::path(KAF_BENCH_DIR) / "delatin_reference.mjs";
    double thinTriangles = 0.0, delatinTriangles = 0.0;
    for (int run = 0; run < runs; ++run) {
        last = Numbers(Run(self + " --read " + las.string() + " XYZ"));
        std::printf("LAS   run %d: %.3f s, %.0f points, peak %.0f MB, %.0f minor faults\n", run,
                    last.at(1), last.at(2), last.at(3), last.at(4));
        lasSeconds.push_back(last.at(1));
        last = Numbers(Run(self + " --read " + text.string() + " XYZ"));
        std::printf("text  run %d: %.3f s, %.0f points, peak %.0f MB, %.0f minor faults\n", run,
                    last.at(1), last.at(2), last.at(3), last.at(4));
        textSeconds.push_back(last.at(1));
        last = Numbers(Run(self + " --thin " + grid.string() + " " + std::to_string(side) + " " +
                           std::to_string(tolerance)));
        std::printf(
            "thin  run %d: %.3f s, %.0f kept, %.0f triangles, peak %.0f MB, %.0f minor "
            "faults\n",
            run, last.at(0), last.at(1), last.at(2), last.at(3), last.at(4));
        thinSeconds.push_back(last.at(0));
        thinTriangles = last.at(2);
        if (modules != nullptr) {
            last = Numbers(Run("node " + script.string() + " " + modules + " " + grid.string() +
                               " " + std::to_string(side) + " " + std::to_string(tolerance)));
            if (last.size() == 4) {
                std::printf("delatin run %d: %.3f s, %.0f vertices, %.0f triangles, rss %.0f MB\n",
                            run, last[0], last[1], last[2], last[3] / 1e6);
                delatinSeconds.push_back(last[0]);
                delatinTriangles = last[2];
            }
        }
    }
    const double lasMedian = bench::Median(lasSeconds);
    const double textMedian = bench::Median(textSeconds);
    std::printf("median LAS %.3f s (%.1f M points/s), text %.3f s: text / LAS = %.2f\n", lasMedian,
                count / lasMedian / 1e6, textMedian, textMedian / lasMedian);
    std::printf("median thinning %.3f s, %.0f triangles\n", bench::Median(thinSeconds),
                thinTriangles);
    if (!delatinSeconds.empty()) {
        std::printf(
            "median delatin %.3f s, %.0f triangles: time thinning / delatin = %.2f, "
            "triangles thinning / delatin = %.3f\n",
            bench::Median(delatinSeconds), delatinTriangles,
            bench::Median(thinSeconds) / bench::Median(delatinSeconds),
            thinTriangles / delatinTriangles);
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return 0;
}
