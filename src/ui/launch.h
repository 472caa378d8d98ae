#pragma once
// Starting other programs for the user: the pak utility and the desktop's file
// manager. What was started runs on its own; Corvane never stops it.

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::ui {

// What one launch started: the process id of a started program, or 0 when
// nothing could be started (or nothing is known of what was started).
using LaunchResult = std::int64_t;

// A launch: what it started, and when it started nothing, why, in words for
// the person who asked for it.
struct Launch {
    LaunchResult started = 0;
    std::string failure;  // empty when the launch went through

    bool failed() const { return !failure.empty(); }
};

// Starts a program detached, with its arguments and working directory ("" for
// the current one).
Launch LaunchProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingDirectory);

// Opens a folder in the desktop's file manager; `started` is 1 when the
// desktop took the request.
Launch ExploreFolder(const std::string& folder);

}  // namespace corvane::ui
