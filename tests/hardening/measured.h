#pragma once
// Runs a piece of work in a child process and measures what it cost, so a
// test can hold a hostile input to the memory and time a person would accept.

#include <cstdint>
#include <functional>

namespace corvane::test {

struct Measured {
    int status = -1;              // the child's exit status, or -1 when it did not exit normally
    std::uint64_t peakBytes = 0;  // the child's peak resident memory
    double seconds = 0;           // wall-clock time
};

// `work` runs in a forked child and returns its exit status. The child is
// stopped after a minute, and where the build allows it (not under the
// sanitizers) its address space is capped at `memoryCap` bytes (0: no cap),
// so that a run that has gone wrong fails instead of taking the machine's memory.
Measured RunMeasured(const std::function<int()>& work, std::uint64_t memoryCap = 0);

// How much slower and bigger the sanitizers make a run of this build.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kSanitizerFactor = 4;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr int kSanitizerFactor = 4;
#else
inline constexpr int kSanitizerFactor = 1;
#endif
#else
inline constexpr int kSanitizerFactor = 1;
#endif

}  // namespace corvane::test
