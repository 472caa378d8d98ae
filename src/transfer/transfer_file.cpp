#include "transfer/transfer_file.h"

#include "platform/file_ops.h"
#include "platform/shown_name.h"

namespace corvane {

FileTransfer TransferFile(const TargetFolder& into, const std::string& source, const std::string& target,
                          TransferMode mode, bool replace)
{
    // A move deletes the source, so its copy must be on the disk first: a
    // power cut after the delete must not lose both.
    const bool move = mode == TransferMode::Move;
    const CopyResult copied =
        into.copyFile(source, target, {replace ? CopyMode::Replace : CopyMode::FailIfExists, move});
    if (!copied.ok) {
        const bool taken = copied.cause == OpResult::Cause::Exists;
        return {taken ? TransferResult::TargetExists : TransferResult::Failed, copied.error};
    }
    if (move) {
        const OpResult deleted = DeleteCopiedFile(source, copied.source);
        if (!deleted.ok)
            return {TransferResult::SourceKept, deleted.error};
    }
    return {TransferResult::Done, {}};
}

bool TargetOccupied(const TargetFolder& into, const std::string& target)
{
    const PathKind kind = into.probe(target).kind;
    return kind == PathKind::File || kind == PathKind::Link || kind == PathKind::Other;
}

Placement PlaceFile(const TargetFolder& into, const std::string& source, const std::string& target,
                    TransferMode mode, const std::function<bool()>& mayReplace)
{
    Placement placed;
    placed.existed = TargetOccupied(into, target);
    if (placed.existed && !mayReplace()) {
        placed.kept = true;
        return placed;
    }
    placed.transfer = TransferFile(into, source, target, mode, placed.existed);
    if (placed.transfer.result == TransferResult::TargetExists) {
        // Something took the name between the check and the copy: it is
        // asked about like any file that was there.
        placed.existed = true;
        if (!mayReplace()) {
            placed.kept = true;
            return placed;
        }
        placed.transfer = TransferFile(into, source, target, mode, true);
    }
    return placed;
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

bool TransferAndReport(TransferContext& context, const TargetFolder& into, const std::string& source,
                       const std::string& target, const std::string& name,
                       const std::function<bool()>& mayReplace)
{
    const Placement placed = PlaceFile(into, source, target, context.mode, mayReplace);
    if (placed.kept)
        return false;
    if (placed.transfer.result == TransferResult::Failed)
        CopyFailureReport(context, source, placed.transfer.error);
    else
        LogTransferred(context, placed.transfer, name, source, placed.existed);
    return true;
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
