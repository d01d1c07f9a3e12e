// pointfile_bench: the point-file path a user runs, kaf-dct-subdmesh-withloadcsv on a large
// semicolon-delimited file, through the loaded module in the stand-in host.
//
// Input: [rows] [runs] [readers] [huge] (default 1,000,000 rows, 5 runs). The file is generated
// into a folder of its own under the temporary folder (x, y and z with ten decimals, about 55
// bytes a row) and removed at the end. With "readers" only the readers run, each read in a forked
// child, on that file and on a space-delimited one with three decimals (as total stations write
// them, about 35 bytes a row): parseCSV, the survey reader (ReadSurveyPointFiles, layout "XYZ")
// parsing alone (every row handed on, as parseCSV does) and the survey reader as the
// constrained functions read (its CDCT drops the repeated positions in a sort that the
// triangulation then takes on, so that this read includes that sort), taking turns, each into a
// CDCT of its own. It prints user and system time and minor page faults of each read (getrusage),
// their medians, the per-row ratios to parseCSV (medians of the per-run ratios; goal for the
// parsing alone: at most 1) and what the drop adds (the median of the per-run differences).
//
// Output: per run, the times of reading the file (from "\nParsing ... " to "finished"),
// triangulating ("\nStart Calculation ... " to the timing line) and writing the mesh (the
// writer's "\nCreate Mesh ... " to the final "finished"), taken from the moments the function
// prints its own texts; then the medians and the ratio of reading to triangulating, which must
// be at most 0.5. A second measure times parseCSV and CDCT::Triangulate called directly on the
// same file, as a cross-check of the first, and the survey reader of the constrained functions
// (ReadSurveyPointFiles, layout "XYZ") feeding a CDCT of its own, against parseCSV per row in
// processor time (goal: at most parseCSV's).
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "child_process.h"
#include "geom/dct/dct.h"
#include "geom/kernel/large_allocation.h"
#include "input/parse_csv.h"
#include "input/survey_point_file.h"
#include "kafhost/host.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Writes the file folder/name of `rows` rows, each from writeRow(file, random).
template <typename WriteRow>
std::filesystem::path WriteRows(const std::filesystem::path& folder, const char* name, long rows,
                                WriteRow writeRow) {
    const std::filesystem::path path = folder / name;
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr) {
        std::perror("fopen");
        std::exit(1);
    }
    std::mt19937_64 random(42);
    for (long i = 0; i < rows; ++i) {
        writeRow(file, random);
    }
    std::fclose(file);
    return path;
}

// Survey-like points: x and y over a 10 km square at national-grid offsets, z from 100 to 1000.
std::filesystem::path WritePointFile(const std::filesystem::path& folder, long rows) {
    std::uniform_real_distribution<double> x(3500000.0, 3510000.0);
    std::uniform_real_distribution<double> y(5700000.0, 5710000.0);
    std::uniform_real_distribution<double> z(100.0, 1000.0);
    return WriteRows(folder, "points.csv", rows, [&](std::FILE* file, std::mt19937_64& random) {
        std::fprintf(file, "%.10f;%.10f;%.10f\n", x(random), y(random), z(random));
    });
}

// Points as a total station's export writes them: "x y z" in millimetres over a 1.5 km site.
std::filesystem::path WriteSurveyFile(const std::filesystem::path& folder, long rows) {
    std::uniform_real_distribution<double> plan(0.0, 1500.0);
    std::uniform_real_distribution<double> z(400.0, 500.0);
    return WriteRows(folder, "survey.txt", rows, [&](std::FILE* file, std::mt19937_64& random) {
        const double x = plan(random);
        const double y = plan(random);
        std::fprintf(file, "%.3f %.3f %.3f\n", x, y, z(random));
    });
}

// The moments at which the function printed the texts that open and close its stages.
struct StageClock {
    Clock::time_point parsing, parsed, calculating, calculated, writing, written;
};

struct StageTimes {
    double read = 0, triangulate = 0, write = 0, total = 0;
    // Direct runs, processor seconds: parseCSV, and ReadSurveyPointFiles into a CDCT.
    double parseCpu = 0, surveyCpu = 0;
};

StageTimes RunThroughModule(const std::wstring& file) {
    kafhost::Host& host = kafhost::Host::instance();
    host.reset();
    StageClock at;
    int finishedSeen = 0;
    host.setPrintSink([&](const std::wstring& text) {
        const Clock::time_point now = Clock::now();
        if (text == L"\nParsing ... ") {
            at.parsing = now;
        } else if (text == L"finished") {
            (++finishedSeen == 1 ? at.parsed : at.written) = now;
        } else if (text == L"\nStart Calculation ... ") {
            at.calculating = now;
        } else if (text.rfind(L"ready after ", 0) == 0) {
            at.calculated = now;
        } else if (text == L"\nCreate Mesh ... ") {
            at.writing = now;
        }
    });
    using kafhost::LispValue;
    const Clock::time_point start = Clock::now();
    const kafhost::CallResult result =
        host.call(L"kaf-dct-subdmesh-withloadcsv",
                  {LispValue::list({LispValue::string(file)}), LispValue::string(L";"),
                   LispValue::nil(), LispValue::real(0.0), LispValue::real(0.0),
                   LispValue::real(1.0), LispValue::integer(3000000)});
    const Clock::time_point end = Clock::now();
    host.setPrintSink(nullptr);
    if (result.status != RSRSLT || result.value.items().size() != 1 || finishedSeen != 2) {
        std::fprintf(stderr, "the call failed:\n%ls\n", result.printed.c_str());
        std::exit(1);
    }
    StageTimes times;
    times.read = Seconds(at.parsing, at.parsed);
    times.triangulate = Seconds(at.calculating, at.calculated);
    times.write = Seconds(at.writing, at.written);
    times.total = Seconds(start, end);
    return times;
}

// The survey reader's options as the constrained functions read: the CDCT it fills drops the
// repeats itself, in the sort that its triangulation then takes on.
SurveyReadOptions DroppingInto(geom::CDCT& dct) {
    SurveyReadOptions options;
    options.dropRepeats = [&dct] { return dct.DropRepeatedPositions(0); };
    return options;
}

// parseCSV and the triangulation called directly, without the function around them.
StageTimes RunDirectly(const std::wstring& file) {
    kafhost::Host::instance().reset();
    geom::CDCT dct;
    const std::clock_t parseStart = std::clock();
    const Clock::time_point start = Clock::now();
    const std::int32_t rows = parseCSV({file}, L";", dct, 0.0, 0.0, 1.0);
    const Clock::time_point parsed = Clock::now();
    const double parseCpu = bench::CpuSecondsSince(parseStart);
    const std::vector<geom::CTriangle> triangles = dct.Triangulate();
    const std::vector<geom::CVertex> vertices = dct.GetVertices();
    const Clock::time_point triangulated = Clock::now();
    if (rows == 0 || triangles.empty() || vertices.empty()) {
        std::fprintf(stderr, "direct run failed\n");
        std::exit(1);
    }
    StageTimes times;
    times.read = Seconds(start, parsed);
    times.triangulate = Seconds(parsed, triangulated);
    times.total = Seconds(start, triangulated);
    times.parseCpu = parseCpu;

    geom::CDCT surveyed;
    SurveyColumns columns;
    ParseSurveyLayout(L"XYZ", columns);
    SurveyReadCounts counts;
    const std::clock_t surveyStart = std::clock();
    const bool read = ReadSurveyPointFiles(
        {file}, columns, L';', L"bench",
        [&surveyed](double x, double y, double z) { surveyed.AddPoint(x, y, z); }, counts,
        DroppingInto(surveyed));
    times.surveyCpu = bench::CpuSecondsSince(surveyStart);
    if (!read || counts.read + counts.duplicates != rows) {
        std::fprintf(stderr, "the survey reader read %d of %d rows\n", counts.read, rows);
        std::exit(1);
    }
    return times;
}

void PrintSummary(const char* title, const std::vector<StageTimes>& runs, bool withWrite) {
    std::vector<double> read, triangulate, write, total, ratio;
    for (const StageTimes& t : runs) {
        read.push_back(t.read);
        triangulate.push_back(t.triangulate);
        write.push_back(t.write);
        total.push_back(t.total);
        ratio.push_back(t.read / t.triangulate);
    }
    std::printf("%s (median of %zu runs): read %.3f s, triangulate %.3f s", title, runs.size(),
                Median(read), Median(triangulate));
    if (withWrite) {
        std::printf(", write %.3f s", Median(write));
    }
    std::printf(", total %.3f s; read / triangulate = %.3f (required <= 0.5: %s)\n", Median(total),
                Median(ratio), Median(ratio) <= 0.5 ? "met" : "NOT MET");
}

// The processor time and minor page faults of one read in a forked child: parseCSV or the survey
// reader, each into a CDCT of its own.
struct ReadUsage {
    double user = 0, sys = 0;
    long faults = 0;
    double Cpu() const { return user + sys; }
};

enum class Reader { ParseCsv, SurveyParsing, SurveyDropping };
const char* const kReaderNames[] = {"parseCSV", "survey reader, parsing alone",
                                    "survey reader with the drop"};

// A point file of the comparison and its delimiter.
struct FileForm {
    const char* name;
    std::wstring file;
    wchar_t delimiter;
};

ReadUsage ReadInChild(const FileForm& form, Reader reader) {
    const ReadUsage usage = bench::InChild<ReadUsage>([&] {
        kafhost::Host::instance().reset();
        geom::CDCT dct;
        SurveyColumns columns;
        ParseSurveyLayout(L"XYZ", columns);
        SurveyReadCounts counts;
        SurveyReadOptions options;
        if (reader == Reader::SurveyDropping) {
            options = DroppingInto(dct);
        }
        rusage before{};
        rusage after{};
        getrusage(RUSAGE_SELF, &before);
        const std::int32_t rows =
            reader == Reader::ParseCsv
                ? parseCSV({form.file}, std::wstring(1, form.delimiter), dct, 0.0, 0.0, 1.0)
                : (ReadSurveyPointFiles(
                       {form.file}, columns, form.delimiter, L"bench",
                       [&dct](double x, double y, double z) { dct.AddPoint(x, y, z); }, counts,
                       options)
                       ? counts.read + counts.duplicates
                       : 0);
        getrusage(RUSAGE_SELF, &after);
        ReadUsage measured;
        measured.user = bench::Seconds(after.ru_utime) - bench::Seconds(before.ru_utime);
        measured.sys = bench::Seconds(after.ru_stime) - bench::Seconds(before.ru_stime);
        measured.faults = rows > 0 ? after.ru_minflt - before.ru_minflt : -1;
        return measured;
    });
    if (usage.faults < 0) {
        std::fprintf(stderr, "the %s read of the %s file failed\n",
                     kReaderNames[static_cast<int>(reader)], form.name);
        std::exit(1);
    }
    return usage;
}

// parseCSV and the survey reader alone, alternated, each read in a process of its own.
void CompareReaders(const FileForm& form, long rows, int runs) {
    constexpr int kReaders = 3;
    std::vector<ReadUsage> reads[kReaders];
    std::vector<double> parsingRatios, droppingRatios, dropCpu, dropFaults;
    for (int i = 0; i < runs; ++i) {
        std::printf("%s file, run %d:", form.name, i + 1);
        for (int k = 0; k < kReaders; ++k) {
            reads[k].push_back(ReadInChild(form, static_cast<Reader>(k)));
            const ReadUsage& u = reads[k].back();
            std::printf("%s %s user %.3f sys %.3f s, %ld faults", k == 0 ? "" : ";",
                        kReaderNames[k], u.user, u.sys, u.faults);
        }
        std::printf("\n");
        const ReadUsage& parse = reads[0].back();
        const ReadUsage& parsing = reads[1].back();
        const ReadUsage& dropping = reads[2].back();
        parsingRatios.push_back(parsing.Cpu() / parse.Cpu());
        droppingRatios.push_back(dropping.Cpu() / parse.Cpu());
        dropCpu.push_back(dropping.Cpu() - parsing.Cpu());
        dropFaults.push_back(static_cast<double>(dropping.faults - parsing.faults));
    }
    const double perRow = 1e9 / static_cast<double>(rows);
    std::printf("%s file, medians of %d runs:", form.name, runs);
    for (int k = 0; k < kReaders; ++k) {
        std::vector<double> cpu, user, sys, faults;
        for (const ReadUsage& u : reads[k]) {
            cpu.push_back(u.Cpu());
            user.push_back(u.user);
            sys.push_back(u.sys);
            faults.push_back(static_cast<double>(u.faults));
        }
        std::printf("%s %s %.0f ns a row (user %.3f, sys %.3f s, %.0f faults)", k == 0 ? "" : ";",
                    kReaderNames[k], perRow * Median(cpu), Median(user), Median(sys),
                    Median(faults));
    }
    std::printf("\n");
    std::printf(
        "%s file: survey reader / parseCSV per row: parsing alone %.3f (goal <= 1: %s), with the "
        "drop %.3f; the drop (the sort the triangulation takes on) %.1f ns a row, %.0f faults "
        "(medians of the per-run ratios and differences)\n",
        form.name, Median(parsingRatios), Median(parsingRatios) <= 1.0 ? "met" : "NOT MET",
        Median(droppingRatios), perRow * Median(dropCpu), Median(dropFaults));
}

}  // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const bool readersOnly = argc > 3 && std::string(argv[3]) == "readers";
    geom::SetHugePagesWanted(argc > 4 && std::string(argv[4]) == "huge");

    std::random_device seed;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kaf_pointfile_bench_" + std::to_string(seed()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = WritePointFile(folder, rows);
    const std::wstring file = path.wstring();
    std::printf("point file: %ld rows, %.1f MB\n", rows,
                static_cast<double>(std::filesystem::file_size(path)) / 1e6);

    if (readersOnly) {
        const std::filesystem::path spaced = WriteSurveyFile(folder, rows);
        std::printf("space-delimited point file: %ld rows, %.1f MB\n", rows,
                    static_cast<double>(std::filesystem::file_size(spaced)) / 1e6);
        for (const FileForm& form :
             {FileForm{"semicolon", file, L';'}, FileForm{"space", spaced.wstring(), L' '}}) {
            CompareReaders(form, rows, runs);
        }
        std::filesystem::remove_all(folder);
        return 0;
    }
    kafhost::Host& host = kafhost::Host::instance();
    std::string error;
    if (!host.loadModule(KAF_MODULE_PATH, error)) {
        std::fprintf(stderr, "cannot load the module: %s\n", error.c_str());
        return 1;
    }
    host.setMessageBoxEcho(true);

    std::vector<StageTimes> module;
    std::vector<StageTimes> direct;
    for (int i = 0; i < runs; ++i) {
        module.push_back(RunThroughModule(file));
        const StageTimes& t = module.back();
        std::printf(
            "run %d through the module: read %.3f s, triangulate %.3f s, write %.3f s, "
            "call %.3f s\n",
            i + 1, t.read, t.triangulate, t.write, t.total);
        direct.push_back(RunDirectly(file));
        std::printf(
            "run %d direct: parseCSV %.3f s, Triangulate + GetVertices %.3f s, "
            "ReadSurveyPointFiles %.3f s (processor)\n",
            i + 1, direct.back().read, direct.back().triangulate, direct.back().surveyCpu);
    }
    host.reset();
    PrintSummary("kaf-dct-subdmesh-withloadcsv", module, true);
    PrintSummary("parseCSV and CDCT directly", direct, false);
    std::vector<double> parsed, surveyed, ratios;
    for (const StageTimes& t : direct) {
        parsed.push_back(t.parseCpu);
        surveyed.push_back(t.surveyCpu);
        ratios.push_back(t.surveyCpu / t.parseCpu);
    }
    std::printf(
        "per row (median processor time): parseCSV %.0f ns, ReadSurveyPointFiles %.0f ns; "
        "survey reader / "
        "parseCSV = %.3f (goal <= 1: %s)\n",
        1e9 * Median(parsed) / rows, 1e9 * Median(surveyed) / rows, Median(ratios),
        Median(ratios) <= 1.0 ? "met" : "NOT MET");

    std::filesystem::remove_all(folder);
    return 0;
}
