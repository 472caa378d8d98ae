#pragma once
// Copying or moving one file, and the log lines that report it.

#include <string>

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
    Failed,      // nothing changed at the target; in move mode the source stays
    Done,        // copied, and in move mode the source deleted
    SourceKept,  // move mode: copied, but the source could not be deleted
};

struct FileTransfer {
    TransferResult result = TransferResult::Failed;
    std::string error;  // why the copy or the delete failed
};

// Copies `source` over `target` (whose folder must exist); in move mode then
// deletes the source. A failed copy deletes nothing.
FileTransfer TransferFile(const std::string& source, const std::string& target, TransferMode mode);

// Logs a transfer that did not fail: "Copied: " or "Moved: " + name, with
// "\tOverwritten" when the target existed. A move whose source could not be
// deleted is logged as a copy, followed by a line naming the source, and
// noted as a failure.
void LogTransferred(TransferContext& context, const FileTransfer& transfer, const std::string& name,
                    const std::string& source, bool existed);

// Transfers `source` to `target` and logs the outcome: the success line with
// `name`, or the failure report.
void TransferAndReport(TransferContext& context, const std::string& source, const std::string& target,
                       const std::string& name, bool existed);

// Reports a failed transfer of `source`: five log lines, the error sound and a
// box; the reason is noted with the failure.
void CopyFailureReport(TransferContext& context, const std::string& source, const std::string& reason);

}  // namespace corvane
