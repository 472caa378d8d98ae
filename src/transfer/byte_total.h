#pragma once
// The byte total of a directory tree.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "transfer/host.h"

namespace corvane {

// Puts a comma before every group of three digits from the right.
std::string FormatByteCount(std::string_view digits);

// "Total Bytes:  " + the formatted count, as the status bar shows it.
std::string TotalBytesText(std::uint64_t total);

struct ByteTotal {
    std::uint64_t bytes = 0;
    std::vector<std::string> unreadable;  // the folders that could not be listed
};

// What a walk tells as it goes, for a front end that shows it: a folder that
// cannot be listed (with the reason), and the running total at the end of
// each folder, deepest first (an unreadable folder ends at once).
struct ByteWalkWatch {
    std::function<void(const std::string& dir, const std::string& reason)> unreadable;
    std::function<void(std::uint64_t runningTotal)> folderDone;
};

// Adds up the sizes of the regular files in the tree below `dir`, without
// entering folders whose names begin with "." or linked folders.
ByteTotal TotalDirectoryBytes(const std::string& dir, const ByteWalkWatch& watch = {});

// The total as the Transfer command and preview show it: at the end of
// each folder the running total on the Total status line and the caption
// "Corvane - " + `targetMapPath`; a folder that cannot be listed sounds the
// stop alert and is reported with a box naming `targPath`.
ByteTotal ShowDirectoryBytes(Host& host, const std::string& dir, const std::string& targPath,
                             const std::string& targetMapPath);

}  // namespace corvane
