#pragma once
// Copying or moving one file, and the log lines that report it.

#include <functional>
#include <string>

#include "platform/file_ops.h"
#include "transfer/host.h"
#include "transfer/transfer_log.h"

namespace corvane {

enum class TransferMode { Copy, Move };

// What one transfer step works with: the person, the log and the mode.
struct TransferContext {
    Host& host;
    TransferLog& log;
    TransferMode mode = TransferMode::Copy;
};

enum class TransferResult {
    Failed,        // nothing changed at the target; in move mode the source stays
    Done,          // copied, and in move mode the source deleted
    SourceKept,    // move mode: copied, but the source could not be deleted, or had changed
    TargetExists,  // a target taken for new was there when the copy was to take its name;
                   // nothing changed
};

struct FileTransfer {
    TransferResult result = TransferResult::Failed;
    std::string error;  // why the copy or the delete failed
};

// Copies `source` to `target` below `into` (the target's folder must exist).
// Without `replace` nothing at the target's name is replaced, also not what
// appears there while the data is copied. In move mode the copy is flushed to
// the disk and the source then deleted, if it is still the file that was
// copied. A failed copy deletes nothing.
FileTransfer TransferFile(const TargetFolder& into, const std::string& source, const std::string& target,
                          TransferMode mode, bool replace);

// True when something a copy would replace is at the target's name: a file, a
// link or a special file (a folder is not replaced, its copy fails).
bool TargetOccupied(const TargetFolder& into, const std::string& target);

// What became of a file that a step placed.
struct Placement {
    bool kept = false;     // the target existed and stays
    bool existed = false;  // the target existed (before the copy or when it was to take its name)
    FileTransfer transfer;
};

// Transfers `source` to `target` as every step does: when something is at the
// target, `mayReplace` decides whether it is replaced, also when it appeared
// between the check and the copy. A target that is not there is never
// replaced.
Placement PlaceFile(const TargetFolder& into, const std::string& source, const std::string& target,
                    TransferMode mode, const std::function<bool()>& mayReplace);

// Logs a transfer that did not fail: "Copied: " or "Moved: " + name, with
// "\tOverwritten" when the target existed. A move whose source could not be
// deleted is logged as a copy, followed by a line naming the source, and
// noted as a failure.
void LogTransferred(TransferContext& context, const FileTransfer& transfer, const std::string& name,
                    const std::string& source, bool existed);

// Places `source` at `target` (see PlaceFile) and logs the outcome: the
// success line with `name`, or the failure report. False when the target was
// kept; the caller logs that as its step does.
bool TransferAndReport(TransferContext& context, const TargetFolder& into, const std::string& source,
                       const std::string& target, const std::string& name,
                       const std::function<bool()>& mayReplace);

// Reports a failed transfer of `source`: five log lines, the error sound and a
// box; the reason is noted with the failure.
void CopyFailureReport(TransferContext& context, const std::string& source, const std::string& reason);

}  // namespace corvane
