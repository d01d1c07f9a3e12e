// Benchmark runs in processes of their own (POSIX).
//
// InChild<Result>(work): forks; the child runs work() and sends the Result it returns (a trivially
// copyable value) back through a pipe, then exits; the parent waits for it and gives that value.
// Exits the program with a message when the child cannot be made or sends nothing.
// Seconds(t): a timeval (getrusage's times) in seconds.
#pragma once

#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <type_traits>

namespace bench {

inline double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec);
}

template <typename Result, typename Work>
Result InChild(Work work) {
    static_assert(std::is_trivially_copyable<Result>::value, "sent as bytes");
    int channel[2];
    if (pipe(channel) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        std::exit(1);
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
    waitpid(child, nullptr, 0);
    if (!got) {
        std::fprintf(stderr, "a child process sent no result\n");
        std::exit(1);
    }
    return result;
}

}  // namespace bench
