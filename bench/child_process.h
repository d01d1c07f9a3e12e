// Benchmark runs in processes of their own (POSIX).
//
// TryInChild<Result>(work[, usage]): forks; the child runs work() and sends the Result it returns
// (a trivially copyable value) back through a pipe, then exits; the parent waits for it and gives
// that value, or nothing when the child cannot be made, sends nothing or fails. usage, when
// given, receives the child's resource use (wait4).
// InChild<Result>(work): the same, but exits the program with a message when no value came.
// Seconds(t): a timeval (getrusage's times) in seconds.
#pragma once

#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <type_traits>

namespace bench {

inline double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec);
}

template <typename Result, typename Work>
std::optional<Result> TryInChild(Work work, rusage* usage = nullptr) {
    static_assert(std::is_trivially_copyable<Result>::value, "sent as bytes");
    int channel[2];
    if (pipe(channel) != 0) {
        std::perror("pipe");
        return std::nullopt;
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        close(channel[0]);
        close(channel[1]);
        return std::nullopt;
    }
    if (child == 0) {
        close(channel[0]);
        const Result result = work();
        const bool sent = write(channel[1], &result, sizeof result) == sizeof result;
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    Result result{};
    const bool got = read(channel[0], &result, sizeof result) == sizeof result;
    close(channel[0]);
    int status = 0;
    rusage childUsage{};
    wait4(child, &status, 0, &childUsage);
    if (usage != nullptr) {
        *usage = childUsage;
    }
    if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return result;
}

template <typename Result, typename Work>
Result InChild(Work work) {
    const std::optional<Result> result = TryInChild<Result>(work);
    if (!result) {
        std::fprintf(stderr, "a child process sent no result\n");
        std::exit(1);
    }
    return *result;
}

}  // namespace bench
