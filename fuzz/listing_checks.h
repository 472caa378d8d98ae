#pragma once
// What every archive listing promises, whatever bytes it was read from: a
// refused file lists nothing and says why once; a read one lists at most the
// entry limit, only under safe names, and sums up its warnings.
#include <cstdlib>
#include <string_view>

#include "archive/archive.h"

namespace corvane::fuzz {

inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

inline void CheckListing(const ArchiveListing& listing, std::string_view file)
{
    Check(!listing.ok ? listing.entries.empty() && listing.warnings.size() == 1
                      : listing.warnings.size() <= kMaxEntryWarnings + 1);
    Check(listing.entries.size() <= kMaxArchiveEntries);
    for (const ArchiveWarning& warning : listing.warnings)
        Check(warning.file == file && !warning.problem.empty());
    for (const ArchiveEntry& entry : listing.entries)
        Check(ArchiveNameProblem(entry.name).empty());
}

// A read either gives exactly the bytes asked for or nothing and a reason.
inline void CheckRead(const EntryBytes& read, std::uint64_t size)
{
    if (read.ok)
        Check(read.data.size() == size);
    else
        Check(read.data.empty() && !read.error.empty());
}

}  // namespace corvane::fuzz
