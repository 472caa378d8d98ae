#pragma once
// Finding a file whose name is written in another letter case. Levels made
// where the file system ignores case write names in any case ("E1U2/BASIC1_7");
// here such a name is found when exactly one entry matches it, folder by
// folder, with ASCII letters compared without regard to case.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

struct CaseMatch {
    enum class Kind {
        Exact,      // the name is there as written
        Unique,     // one entry matches it ignoring case: `path`
        None,       // nothing matches
        Ambiguous,  // two or more entries match in one folder: `candidates`
    };
    Kind kind = Kind::None;
    std::string path;                     // the full path found (Exact, Unique)
    std::vector<std::string> candidates;  // the names below the root that match (Ambiguous), sorted
};

// True when two names are equal with ASCII letters compared without regard to case.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// Looks names up below one root folder, keeping each folder's listing for the
// next name, so a level of many names in a few folders lists each folder once.
// Listings are taken as they are the first time; a lookup object belongs to
// one plan or one transfer.
class CaseLookup {
public:
    // Finds `relative` ("/" between its parts; empty parts are skipped) below
    // `root`. In each folder an entry of exactly the part's name wins;
    // otherwise the one entry that matches it ignoring case is taken; no entry
    // or more than one ends the search. Entries are taken as what they name
    // (a link to a folder is a folder).
    CaseMatch find(const std::string& root, std::string_view relative);

    // The names of the folder `relative` below `root` (found as find() finds
    // it), by their lower-case spelling; nullptr when the folder is not there
    // or cannot be listed. For asking after many names in one folder at once.
    using Spellings = std::unordered_map<std::string, std::vector<std::string>>;
    const Spellings* namesIn(const std::string& root, std::string_view relative);

private:
    // A folder's names by their lower-case spelling. A folder that cannot be
    // listed (one that may be searched but not read, say) answers only to
    // names that are there exactly.
    struct Folder {
        bool listed = false;
        Spellings spellings;
    };
    const Folder& folder(const std::string& path);

    std::unordered_map<std::string, Folder> listings_;
};

// The parts of a relative name split at "/" (and "\" where that separates too), empty parts left out.
std::vector<std::string_view> NameParts(std::string_view relative);

}  // namespace corvane
