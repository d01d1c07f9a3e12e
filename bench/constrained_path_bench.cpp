// constrained_path_bench: the constrained point-file function against the plain one on the same
// survey file, through the loaded module; each call in a process of its own.
//
// Usage: constrained_path_bench [--before MODULE] [--rows N] [--runs R] [--lines L]
//   (defaults: 300,000 rows, 5 runs, 100 breaklines; --before names the module of another build,
//   which then runs every case too, alternated with this build's)
//
// The file: N rows "x y z" (millimetres) of a hilly 1.5 km square site, space-delimited. The
// drawing of the lines case: L long 3D polylines across the whole site, west to east, 150
// vertices each, none crossing another, their z on the terrain. The cases:
//   dct        kaf-dct-subdmesh-withloadcsv (file) " " nil 0.0 0.0 1.0
//   cdt        kaf-cdt-subdmesh-withloadcsv (file) "XYZ" " " nil nil nil 0.0 nil
//   cdt+lines  the same with the L polylines as breaklines
// all with the default split of 32767 vertices per mesh. A forked child loads the module, lays
// out the drawing, then measures the call alone: wall time, user and system time and minor page
// faults (getrusage before and after), and its phases from the moments the function prints its
// texts, in processor time (reading up to "Start Calculation", the triangulation up to "ready
// after", the writers after it). Cases and builds take turns, round after round.
//
// Output: every run, then per build and case the medians, and the ratios of the processor time
// (user + system) of cdt and cdt+lines to dct in the same build (goals: 1.05 and 1.2), and with
// --before of each case of this build to the other build's. Each run also gives a digest of the
// drawing as DXF text, taken after the measurement; the bench fails when a case's digests differ
// between runs or builds.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "kafhost/drawing_dxf.h"
#include "kafhost/host.h"
#include "kafhost/wide_to_utf8.h"

namespace {

using kafhost::LispValue;
using kafhost::Point3;

constexpr double kSide = 1500.0;

double Terrain(double x, double y) {
    return 450.0 + 40.0 * std::sin(x / 210.0) * std::cos(y / 170.0) + 0.02 * y;
}

void WritePoints(const std::filesystem::path& path, long rows) {
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr) {
        std::perror("fopen");
        std::exit(1);
    }
    std::mt19937_64 random(27);
    std::uniform_real_distribution<double> unit(0.0, kSide);
    for (long i = 0; i < rows; ++i) {
        const double x = unit(random);
        const double y = unit(random);
        std::fprintf(file, "%.3f %.3f %.3f\n", x, y, Terrain(x, y));
    }
    std::fclose(file);
}

// Wavy lines west to east, kSide / lines apart, swinging a quarter of that either way.
std::vector<std::vector<Point3>> MakeLines(int lines) {
    std::vector<std::vector<Point3>> all;
    const double gap = kSide / lines;
    for (int l = 0; l < lines; ++l) {
        std::vector<Point3> line;
        for (int k = 0; k < 150; ++k) {
            const double x = 1.0 + (kSide - 2.0) * k / 149.0;
            const double y = gap * (l + 0.5) + 0.25 * gap * std::sin(x / 41.0 + l);
            line.push_back({x, y, Terrain(x, y)});
        }
        all.push_back(line);
    }
    return all;
}

enum class Case { Dct, Cdt, CdtLines };
const char* const kCaseNames[] = {"dct", "cdt", "cdt+lines"};

struct Figures {
    double wall = 0, user = 0, sys = 0, read = 0, triangulate = 0, write = 0;
    long faults = 0;
    long handles = 0;
    std::uint64_t dxfDigest = 0;
    bool ok = false;
};

// FNV-1a of the drawing as DXF text: equal digests, byte-identical files.
std::uint64_t DxfDigest(const kafhost::Host& host) {
    std::uint64_t hash = 14695981039346656037u;
    for (const char c : kafhost::drawingToDxf(host.snapshot())) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    }
    return hash;
}

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec);
}

// The processor time of this process so far.
double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// In the child: loads the module, lays out the drawing and makes the call, measured.
Figures CallInChild(const std::string& module, Case which, const std::wstring& file,
                    const std::vector<std::vector<Point3>>& lines) {
    Figures figures;
    kafhost::Host& host = kafhost::Host::instance();
    std::string error;
    if (!host.loadModule(module, error)) {
        std::fprintf(stderr, "cannot load %s: %s\n", module.c_str(), error.c_str());
        return figures;
    }
    host.setMessageBoxEcho(true);
    std::vector<LispValue> handles;
    if (which == Case::CdtLines) {
        for (const std::vector<Point3>& line : lines) {
            handles.push_back(LispValue::string(host.add3dPolyline(line, false)));
        }
    }
    const LispValue files = LispValue::list({LispValue::string(file)});
    const LispValue nil = LispValue::nil();
    const std::vector<LispValue> args =
        which == Case::Dct
            ? std::vector<LispValue>{files,
                                     LispValue::string(L" "),
                                     nil,
                                     LispValue::real(0.0),
                                     LispValue::real(0.0),
                                     LispValue::real(1.0)}
            : std::vector<LispValue>{files,
                                     LispValue::string(L"XYZ"),
                                     LispValue::string(L" "),
                                     handles.empty() ? nil : LispValue::list(handles),
                                     nil,
                                     nil,
                                     LispValue::real(0.0),
                                     nil};
    const wchar_t* name =
        which == Case::Dct ? L"kaf-dct-subdmesh-withloadcsv" : L"kaf-cdt-subdmesh-withloadcsv";
    double calculating = 0.0;
    double calculated = 0.0;
    host.setPrintSink([&](const std::wstring& text) {
        if (text.rfind(L"\nStart Calculation", 0) == 0) {
            calculating = CpuSeconds();
        } else if (text.rfind(L"ready after ", 0) == 0) {
            calculated = CpuSeconds();
        }
    });
    rusage before{};
    rusage after{};
    getrusage(RUSAGE_SELF, &before);
    const double cpuStart = CpuSeconds();
    const bench::Clock::time_point start = bench::Clock::now();
    const kafhost::CallResult result = host.call(name, args);
    figures.wall = bench::SecondsSince(start);
    const double cpuEnd = CpuSeconds();
    getrusage(RUSAGE_SELF, &after);
    figures.read = calculating - cpuStart;
    figures.triangulate = calculated - calculating;
    figures.write = cpuEnd - calculated;
    figures.user = Seconds(after.ru_utime) - Seconds(before.ru_utime);
    figures.sys = Seconds(after.ru_stime) - Seconds(before.ru_stime);
    figures.faults = after.ru_minflt - before.ru_minflt;
    figures.handles = static_cast<long>(result.value.items().size());
    figures.ok = result.status == RSRSLT && figures.handles > 0;
    if (!figures.ok) {
        std::fprintf(stderr, "the call failed:\n%s\n", kafhost::wideToUtf8(result.printed).c_str());
    } else {
        figures.dxfDigest = DxfDigest(host);  // after the measurement
    }
    return figures;
}

Figures Run(const std::string& module, Case which, const std::wstring& file,
            const std::vector<std::vector<Point3>>& lines) {
    int ends[2];
    Figures figures;
    if (pipe(ends) != 0) {
        return figures;
    }
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(ends[0]);
        const Figures measured = CallInChild(module, which, file, lines);
        const ssize_t sent = write(ends[1], &measured, sizeof measured);
        _exit(sent == static_cast<ssize_t>(sizeof measured) ? 0 : 1);
    }
    close(ends[1]);
    const bool got =
        pid > 0 && read(ends[0], &figures, sizeof figures) == static_cast<ssize_t>(sizeof figures);
    close(ends[0]);
    int status = 0;
    if (pid > 0) {
        waitpid(pid, &status, 0);
    }
    figures.ok = figures.ok && got && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return figures;
}

struct Build {
    std::string label;
    std::string module;
    std::vector<Figures> runs[3];
};

Figures Medians(const std::vector<Figures>& runs) {
    const auto median = [&runs](double Figures::*field) {
        std::vector<double> values;
        for (const Figures& f : runs) {
            values.push_back(f.*field);
        }
        return bench::Median(values);
    };
    Figures m;
    m.wall = median(&Figures::wall);
    m.user = median(&Figures::user);
    m.sys = median(&Figures::sys);
    m.read = median(&Figures::read);
    m.triangulate = median(&Figures::triangulate);
    m.write = median(&Figures::write);
    std::vector<double> faults;
    for (const Figures& f : runs) {
        faults.push_back(static_cast<double>(f.faults));
    }
    m.faults = static_cast<long>(bench::Median(faults));
    return m;
}

double CpuMedian(const std::vector<Figures>& runs) {
    std::vector<double> cpu;
    for (const Figures& f : runs) {
        cpu.push_back(f.user + f.sys);
    }
    return bench::Median(cpu);
}

// The median of the run-by-run ratios of a's processor time to b's (runs of one round paired).
double RatioMedian(const std::vector<Figures>& a, const std::vector<Figures>& b) {
    std::vector<double> ratios;
    for (std::size_t k = 0; k < a.size() && k < b.size(); ++k) {
        ratios.push_back((a[k].user + a[k].sys) / (b[k].user + b[k].sys));
    }
    return bench::Median(ratios);
}

}  // namespace

int main(int argc, char** argv) {
    long rows = 300000;
    int runs = 5;
    int lineCount = 100;
    std::vector<Build> builds = {{"this build", KAF_MODULE_PATH, {}}};
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--before") {
            builds.push_back({"before", argv[i + 1], {}});
        } else if (option == "--rows") {
            rows = std::atol(argv[i + 1]);
        } else if (option == "--runs") {
            runs = std::atoi(argv[i + 1]);
        } else if (option == "--lines") {
            lineCount = std::atoi(argv[i + 1]);
        } else {
            std::fprintf(stderr, "unknown option %s\n", option.c_str());
            return 2;
        }
    }
    std::random_device seed;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("kaf_constrained_path_bench_" + std::to_string(seed()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / "survey.xyz";
    WritePoints(path, rows);
    const std::vector<std::vector<Point3>> lines = MakeLines(lineCount);
    std::printf("survey file: %ld rows, %.1f MB; %d breaklines of 150 vertices\n", rows,
                static_cast<double>(std::filesystem::file_size(path)) / 1e6, lineCount);

    for (int round = 1; round <= runs; ++round) {
        for (int c = 0; c < 3; ++c) {
            for (Build& build : builds) {
                const Figures f = Run(build.module, static_cast<Case>(c), path.wstring(), lines);
                if (!f.ok) {
                    std::fprintf(stderr, "%s, %s: the run failed\n", build.label.c_str(),
                                 kCaseNames[c]);
                    std::filesystem::remove_all(folder);
                    return 1;
                }
                build.runs[c].push_back(f);
                std::printf(
                    "round %d %-10s %-9s: wall %.3f s, user %.3f s, sys %.3f s, faults %ld "
                    "(read %.3f, triangulate %.3f, write %.3f; %ld meshes, DXF %016llx)\n",
                    round, build.label.c_str(), kCaseNames[c], f.wall, f.user, f.sys, f.faults,
                    f.read, f.triangulate, f.write, f.handles,
                    static_cast<unsigned long long>(f.dxfDigest));
            }
        }
    }
    std::printf("\nmedians of %d runs:\n", runs);
    for (const Build& build : builds) {
        for (int c = 0; c < 3; ++c) {
            const Figures m = Medians(build.runs[c]);
            std::printf(
                "%-10s %-9s: user+sys %.3f s (user %.3f, sys %.3f), wall %.3f s, faults %ld; "
                "read %.3f, triangulate %.3f, write %.3f s\n",
                build.label.c_str(), kCaseNames[c], CpuMedian(build.runs[c]), m.user, m.sys, m.wall,
                m.faults, m.read, m.triangulate, m.write);
        }
        const double noLines = RatioMedian(build.runs[1], build.runs[0]);
        const double withLines = RatioMedian(build.runs[2], build.runs[0]);
        std::printf(
            "%-10s cdt / dct = %.3f (goal <= 1.05: %s), cdt+lines / dct = %.3f (goal <= "
            "1.2: %s)\n",
            build.label.c_str(), noLines, noLines <= 1.05 ? "met" : "NOT MET", withLines,
            withLines <= 1.2 ? "met" : "NOT MET");
    }
    // Every run of a case, in either build, must leave the same drawing.
    bool same = true;
    for (int c = 0; c < 3; ++c) {
        for (const Build& build : builds) {
            for (const Figures& f : build.runs[c]) {
                same = same && f.dxfDigest == builds[0].runs[c][0].dxfDigest;
            }
        }
    }
    std::printf("DXF of every case: %s\n",
                same ? "the same in every run and build" : "DIFFERS between runs or builds");
    if (builds.size() == 2) {
        for (int c = 0; c < 3; ++c) {
            std::printf("%-9s this build / before = %.3f (processor time)\n", kCaseNames[c],
                        RatioMedian(builds[0].runs[c], builds[1].runs[c]));
        }
    }
    std::filesystem::remove_all(folder);
    return same ? 0 : 1;
}
