#include "measured.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace corvane::test {

Measured RunMeasured(const std::function<int()>& work, std::uint64_t memoryCap)
{
    Measured measured;
    std::fflush(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(60);
        if (memoryCap != 0 && kSanitizerFactor == 1) {
            const struct rlimit cap {memoryCap, memoryCap};
            ::setrlimit(RLIMIT_AS, &cap);
        }
        int status = 1;
        try {
            status = work();
        } catch (...) {
            status = 99;
        }
        ::_exit(status);
    }
    if (child < 0)
        return measured;
    int status = 0;
    struct rusage usage {};
    if (::wait4(child, &status, 0, &usage) != child)
        return measured;
    measured.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    measured.peakBytes = static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;
    if (WIFEXITED(status))
        measured.status = WEXITSTATUS(status);
    return measured;
}

}  // namespace corvane::test
