#pragma once
// The byte total of a directory tree.

#include <cstdint>
#include <string>
#include <string_view>

#include "transfer/host.h"

namespace corvane {

// Puts a comma before every group of three digits from the right.
std::string FormatByteCount(std::string_view digits);

// "Total Bytes:  " + the formatted count, as the status bar shows it.
std::string TotalBytesText(std::uint64_t total);

// Adds up the sizes of the regular files in the tree below `dir`, without
// entering folders whose names begin with "." or linked folders. At the end
// of each folder, deepest first, it shows the running total in status panel 1
// and sets the caption to "Corvane - " + `targetMapPath`. A folder that cannot
// be listed is reported with a box naming `targPath`. Returns the total.
std::uint64_t TotalDirectoryBytes(Host& host, const std::string& dir, const std::string& targPath,
                                  const std::string& targetMapPath);

}  // namespace corvane
