#pragma once
// The two kinds of resource, and what a transfer makes of a list entry: the
// name it works with, where the file comes from and goes, its prompt scope,
// and whether it is refused. The transfer steps and the plan both take these
// decisions from here, so that the plan predicts what the transfer does.

#include <string>
#include <string_view>

#include "platform/case_lookup.h"
#include "transfer/transfer_log.h"

namespace corvane {

enum class ResourceKind { Textures, Sounds };

// The name a transfer uses for a list entry. The game appends ".wav" to a sound
// name that does not contain it, so such a sound is looked for under that name;
// every other entry is used as listed.
std::string TransferName(ResourceKind kind, std::string_view entry);

// The text of a list entry before its first "/" ("" when it has none).
std::string ResourceFolder(std::string_view entry);

// Why a resource name is refused, or "" when it is not: it holds a control
// character, could reach outside its folder (a ".." component, split at "/"
// and "\", a drive letter, a network path of two separators in front), or has
// a component longer than a file name may be. A single "/" in front is no
// network path: the name then lies directly in its kind's folder.
std::string ResourceNameRefusal(std::string_view name);

// The five log lines that report a refused name (shown with ShownName); the
// refusal is noted with its reason.
void ReportRefusedName(TransferLog& log, std::string_view listed, std::string reason);

// The working tree's and the target's folder of one kind.
struct ResourcePlaces {
    std::string sourceFolder;  // "textures" or "sound" beside the source folder, with a separator at the end
    std::string targetFolder;  // the same below the target, with a separator at the end
};

// The places of `kind` for resources taken from below the parent of `srcPath`
// into `targPath`.
ResourcePlaces PlacesOf(ResourceKind kind, const std::string& srcPath, const std::string& targPath);

// A list entry as a transfer takes it.
struct ResourceEntry {
    std::string name;      // the name the transfer works with (TransferName)
    std::string folder;    // its resource folder: its prompt scope and the folder made for it
    std::string relative;  // its path below the kind's folder, as the log names it
    std::string source;    // the file in the working tree
    std::string target;    // the file in the target
    std::string refusal;   // why the entry is refused; "" when it is taken
};

// Resolves a listed name. Besides the name's own faults, a source or target
// path longer than the file system allows refuses it.
ResourceEntry ResolveEntry(ResourceKind kind, std::string_view listed, const ResourcePlaces& places);

// When no file is at `entry.source` as written: the one file below its kind's
// folder that matches the entry ignoring ASCII case, folder by folder, becomes
// its source (the target keeps the name as the level writes it). When several
// match, the source stays and the note returned names them ("matches
// w/A.wal, w/a.WAL ignoring case"); "" otherwise.
std::string FindSourceIgnoringCase(ResourceEntry& entry, const ResourcePlaces& places, CaseLookup& lookup);

// The prompt scopes of one pass over a list: a new scope begins at every
// entry whose folder differs from the folder of the entry before it (exact,
// case-sensitive). Refused entries are not passed in.
class FolderScopes {
public:
    // Takes the next entry's folder; true when it begins a new scope.
    bool begins(const std::string& folder)
    {
        const bool fresh = folder != previous_;
        previous_ = folder;
        return fresh;
    }

private:
    std::string previous_;
};

}  // namespace corvane
