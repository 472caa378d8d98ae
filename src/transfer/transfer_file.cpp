#include "transfer/transfer_file.h"

#include "platform/file_ops.h"
#include "platform/shown_name.h"

namespace corvane {

FileTransfer TransferFile(const std::string& source, const std::string& target, TransferMode mode)
{
    const OpResult copied = CopyFileAtomic(source, target, CopyMode::Replace);
    if (!copied.ok)
        return {TransferResult::Failed, copied.error};
    if (mode == TransferMode::Move) {
        const OpResult deleted = DeleteFile(source);
        if (!deleted.ok)
            return {TransferResult::SourceKept, deleted.error};
    }
    return {TransferResult::Done, {}};
}

void LogTransferred(TransferContext& context, const FileTransfer& transfer, const std::string& name,
                    const std::string& source, bool existed)
{
    const TransferResult result = transfer.result;
    const bool moved = context.mode == TransferMode::Move && result == TransferResult::Done;
    std::string line = (moved ? "Moved: " : "Copied: ") + ShownName(name);
    if (existed)
        line += "\tOverwritten";
    context.log.append(std::move(line));
    if (result == TransferResult::SourceKept) {
        context.log.append("   Could not delete source: " + ShownName(source));
        context.log.recordFailure(source, transfer.error);
    }
}

void TransferAndReport(TransferContext& context, const std::string& source, const std::string& target,
                       const std::string& name, bool existed)
{
    const FileTransfer transfer = TransferFile(source, target, context.mode);
    if (transfer.result == TransferResult::Failed)
        CopyFailureReport(context, source, transfer.error);
    else
        LogTransferred(context, transfer, name, source, existed);
}

void CopyFailureReport(TransferContext& context, const std::string& source, const std::string& reason)
{
    context.log.recordFailure(source, reason);
    const std::string label = context.mode == TransferMode::Move ? "Failed move: " : "Failed copy:  ";
    const std::string shown = ShownName(source);
    context.log.appendReport(label, shown);
    context.host.alert(AlertSound::Error);
    context.host.messageBox({label + "\n   " + "   " + shown, "Error in source .map file",
                             MessageIcon::Warning, {MessageButton::Ok}});
}

}  // namespace corvane
