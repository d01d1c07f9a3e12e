// Times writing reals as the DXF writer does (shortestRealText) against std::to_chars on the same
// values, each way in a process of its own (fork, waitpid), alternated round by round. The values
// are those of the whole job's meshes: survey coordinates in millimetres less the origin the job
// shifts by (most need 17 digits) and elevations of a few decimal places, two coordinates to one
// elevation. Checks that both ways wrote the same text, and prints per round the processor time of
// each way, then the medians, the ratio, user and system time and page faults.
//
// Usage: shortest_real_bench [values] [rounds]   (defaults 3,000,000 and 7)
#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "child_process.h"
#include "platform/files/shortest_real.h"

namespace {

std::vector<double> JobValues(std::size_t count) {
    std::mt19937_64 random(27);
    std::uniform_int_distribution<std::int64_t> east(350000000, 351500000);
    std::uniform_int_distribution<std::int64_t> north(5800000000, 5801500000);
    std::uniform_int_distribution<std::int64_t> height(430000, 580000);
    std::vector<double> values;
    values.reserve(count);
    while (values.size() < count) {
        values.push_back(static_cast<double>(east(random)) / 1000.0 - 350000.0);
        values.push_back(static_cast<double>(north(random)) / 1000.0 - 5800000.0);
        values.push_back(static_cast<double>(height(random)) / 1000.0);
    }
    values.resize(count);
    return values;
}

// Writes every value one way into text (touched beforehand, so that its page faults are not
// counted); gives the end of the text.
char* WriteAll(const std::vector<double>& values, bool own, char* out) {
    for (const double value : values) {
        out = own ? kafhost::shortestRealText(out, value) : std::to_chars(out, out + 32, value).ptr;
        *out++ = '\n';
    }
    return out;
}

std::uint64_t Checksum(const char* first, const char* last) {
    std::uint64_t sum = 0;
    for (const char* c = first; c != last; ++c) {
        sum = sum * 1099511628211u + static_cast<unsigned char>(*c);
    }
    return sum;
}

struct Run {
    double user = 0.0;
    double system = 0.0;
    long faults = 0;
    std::uint64_t sum = 0;
};

// One way in a child process: the processor time and faults of writing the values.
Run RunInChild(std::size_t count, bool own) {
    return bench::InChild<Run>([&] {
        const std::vector<double> values = JobValues(count);
        std::vector<char> text(values.size() * 32, ' ');
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const char* end = WriteAll(values, own, text.data());
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        Run run;
        run.user = bench::Seconds(after.ru_utime) - bench::Seconds(before.ru_utime);
        run.system = bench::Seconds(after.ru_stime) - bench::Seconds(before.ru_stime);
        run.faults = after.ru_minflt - before.ru_minflt;
        run.sum = Checksum(text.data(), end);
        return run;
    });
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 3000000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 7;
    std::printf("%zu reals of the job's meshes (2 coordinates to 1 elevation), %d rounds\n", count,
                rounds);
    std::vector<Run> own;
    std::vector<Run> library;
    for (int round = 0; round < rounds; ++round) {
        // Alternated: which way goes first changes every round.
        const bool ownFirst = round % 2 == 0;
        const Run first = RunInChild(count, ownFirst);
        const Run second = RunInChild(count, !ownFirst);
        own.push_back(ownFirst ? first : second);
        library.push_back(ownFirst ? second : first);
        if (own.back().sum != library.back().sum) {
            std::printf("round %d: the two ways wrote DIFFERENT text\n", round + 1);
            return 1;
        }
        std::printf("round %d: shortestRealText %.3f s, std::to_chars %.3f s (user + system)\n",
                    round + 1, own.back().user + own.back().system,
                    library.back().user + library.back().system);
    }
    const auto report = [count](const char* name, const std::vector<Run>& runs) {
        std::vector<double> total;
        std::vector<double> user;
        std::vector<double> system;
        std::vector<double> faults;
        for (const Run& run : runs) {
            total.push_back(run.user + run.system);
            user.push_back(run.user);
            system.push_back(run.system);
            faults.push_back(static_cast<double>(run.faults));
        }
        std::printf("%-18s median %.3f s (user %.3f, system %.3f), %.1f ns a real, %.0f faults\n",
                    name, bench::Median(total), bench::Median(user), bench::Median(system),
                    1e9 * bench::Median(total) / static_cast<double>(count), bench::Median(faults));
        return bench::Median(total);
    };
    const double ownTime = report("shortestRealText", own);
    const double libraryTime = report("std::to_chars", library);
    std::printf("same text both ways; shortestRealText / std::to_chars: %.2f\n",
                ownTime / libraryTime);
    return 0;
}
