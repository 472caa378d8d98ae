#include "transfer/transfer_file.h"

#include "platform/file_ops.h"

namespace corvane {

TransferResult TransferFile(const std::string& source, const std::string& target, TransferMode mode)
{
    if (!CopyFileAtomic(source, target, CopyMode::Replace).ok)
        return TransferResult::Failed;
    if (mode == TransferMode::Move && !DeleteFile(source).ok)
        return TransferResult::SourceKept;
    return TransferResult::Done;
}

void LogTransferred(TransferContext& context, TransferResult result, const std::string& name,
                    const std::string& source, bool existed)
{
    const bool moved = context.mode == TransferMode::Move && result == TransferResult::Done;
    std::string line = (moved ? "Moved: " : "Copied: ") + name;
    if (existed)
        line += "\tOverwritten";
    context.log.append(std::move(line));
    if (result == TransferResult::SourceKept)
        context.log.append("   Could not delete source: " + source);
}

void TransferAndReport(TransferContext& context, const std::string& source, const std::string& target,
                       const std::string& name, bool existed)
{
    const TransferResult result = TransferFile(source, target, context.mode);
    if (result == TransferResult::Failed)
        CopyFailureReport(context, source);
    else
        LogTransferred(context, result, name, source, existed);
}

void CopyFailureReport(TransferContext& context, const std::string& source)
{
    const std::string label = context.mode == TransferMode::Move ? "Failed move: " : "Failed copy:  ";
    context.log.appendReport(label, source);
    context.host.alert(AlertSound::Error);
    context.host.messageBox({label + "\n   " + "   " + source, "Error in source .map file",
                             MessageIcon::Warning, {MessageButton::Ok}});
}

}  // namespace corvane
