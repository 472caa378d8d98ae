#pragma once
// What the archive readers share: an entry, a listing with its warnings, the
// bytes of one entry, and the rule for names an archive may hold.
//
// Archives come from other people. A reader never trusts a count, an offset or
// a size it finds: what it allocates is bounded by the file's real size, a
// damaged file is refused with a warning that names it and the fault, and an
// entry that cannot be used is left out with a warning.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Whether a symbolic link in the last component of a path is followed.
enum class Links { Follow, Refuse };

// A problem met in a file that was read anyway or left out: the file's path
// and what is wrong with it.
struct ArchiveWarning {
    std::string file;
    std::string problem;

    // "FILE: PROBLEM"
    std::string text() const { return file + ": " + problem; }
    bool operator==(const ArchiveWarning&) const = default;
};

struct ArchiveEntry {
    std::string name;          // relative, with "/" between folders, as the archive stores it
    std::uint64_t offset = 0;  // pak: where the entry's bytes begin; zip: its index in the archive
    std::uint64_t size = 0;    // its bytes (zip: as the archive states them)
};

struct ArchiveListing {
    bool ok = false;                       // false: the file is refused as a whole
    std::vector<ArchiveEntry> entries;     // in the archive's order, unusable entries left out
    std::vector<ArchiveWarning> warnings;  // the file refused, or entries left out
};

struct EntryBytes {
    bool ok = false;
    std::string data;
    std::string error;  // why not, when not ok
};

// The most entries one archive may hold; a directory that claims more is
// refused. The original engine held 4,096 in a pak, large zips a few ten
// thousand.
inline constexpr std::size_t kMaxArchiveEntries = 65536;

// Warnings about single entries of one archive beyond this many are summed up
// in one more warning, so a hostile archive cannot flood the user.
inline constexpr std::size_t kMaxEntryWarnings = 10;

// Why a name found in an archive (or below a base game folder) is not a safe
// relative name, or "" when it is: empty, a "/" at the start, a drive, a
// backslash, an empty, "." or ".." component, or a control character.
std::string ArchiveNameProblem(std::string_view name);

// The name as a warning shows it: as ShownName shows it, and a name longer
// than 200 bytes cut there and ending in "...".
std::string ShortShownName(std::string_view name);

}  // namespace corvane
