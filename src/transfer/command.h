#pragma once
// The Transfer command: the level, its sky, its resources and optionally the
// Pellark tree into the target, in one fixed order.

#include <optional>
#include <string>
#include <vector>

#include "map/loaded_level.h"
#include "map/resource_list.h"
#include "transfer/byte_total.h"
#include "transfer/overwrite.h"
#include "transfer/transfer_file.h"

namespace corvane {

// What one run reads.
struct TransferJob {
    std::string target;          // the target field's text
    std::string targPath;        // the stored target path (normally the same)
    std::string srcPath;         // the source directory; resources lie below its parent
    std::string currentMapPath;  // the loaded level file
    TransferMode mode = TransferMode::Copy;
    bool includeSky = false;
    std::string skyName;         // the sky to copy ("not found" when the level names none)
    bool includePellark = false;
    std::string pellarkPath;
    // Ships what the game loads beyond the classic lists: animation frames,
    // true-colour images and sidecars, models, skins, entity sounds and pictures.
    bool complete = false;
    // The base game's folder; "" when not set (the folder-name rules decide what is stock).
    std::string basePath;
};

// What outlives one run: the level's path in the target, shown in the caption
// later. Every answer that covers "all" belongs to its run and ends with it.
struct TransferSession {
    std::string targetMapPath;
};

enum class TransferOutcome {
    RanThrough,         // every step ran; the log is complete
    TargetNotPrepared,  // ended early: the target directory was not prepared
    LayoutFailed,       // ended early: a resource folder could not be created
    TargetBusy,         // did not start: another transfer into the target was running
};

// What one run did.
struct TransferReport {
    TransferOutcome outcome = TransferOutcome::RanThrough;
    std::string targetMapPath;            // where the level goes in the target
    std::optional<ByteTotal> byteTotal;   // the target's total, counted when the run ran through
    std::vector<TransferFailure> failures;  // every step that failed, with its reason
    std::vector<TransferProblem> problems;  // every file missing and every name refused
    // What the compiled level says against its source (Plan::warnings): shown
    // after the problems, never a reason to stop.
    std::vector<std::string> warnings;

    // True when a file failed, was missing or was refused.
    bool hasProblems() const { return !failures.empty() || !problems.empty(); }
};

// What went wrong in a transfer, for after its log: a heading with the counts
// ("Problems: 1 failed, 2 missing, 1 refused"), then one line for each failure
// with its reason ("Failed: PATH: REASON"), each missing file ("Missing:
// PATH", and " (matches A, B ignoring case)" where several files match its
// name in another letter case) and each refused name ("Refused: NAME: REASON", "Refused sky: NAME:
// REASON"); names are shown with ShownName. No lines when nothing went wrong.
std::vector<std::string> ProblemSummary(const TransferReport& report);

// The report's warnings as they follow the problem summary, one line each:
// "Warning: " and the warning.
std::vector<std::string> WarningLines(const TransferReport& report);

// Runs the transfer with `log` emptied first. Ends early only when the target
// cannot be prepared or the resource folders cannot be created, after telling
// the user. On running through, the Total status line and the caption show the
// target's byte total as it is counted.
//
// The run holds an exclusive lock on the target folder from its start to its
// end, so that two transfers never decide about the same files at once. When
// another transfer holds it, the Host decides (Host::waitForTarget): wait for
// it, or end with TargetBusy before anything is done.
TransferReport RunTransferCommand(const TransferJob& job, const ResourceList& textures,
                                  const ResourceList& sounds, TransferSession& session, TransferLog& log,
                                  Host& host);

// The transfer of a loaded level: its lists as above, and besides, read
// before anything is written, the compiled level's warnings (in the report)
// and, when the job is a complete one, what a complete release adds
// (FindExtras), transferred after the sounds.
TransferReport RunTransferCommand(const TransferJob& job, const LoadedLevel& level, TransferSession& session,
                                  TransferLog& log, Host& host);

}  // namespace corvane
