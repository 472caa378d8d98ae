#pragma once
// corvane-cli: Corvane's jobs for scripts and terminals.

#include <iosfwd>
#include <string>
#include <vector>

namespace corvane::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitProblems = 3;  // transfer: ran through, but a file failed, was missing or refused

// Runs one command line (without the program name) and returns the exit status.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

}  // namespace corvane::cli
