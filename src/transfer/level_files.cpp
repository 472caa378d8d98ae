#include "transfer/level_files.h"

#include "platform/file_facts.h"
#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shown_name.h"
#include "transfer/overwrite.h"

namespace corvane {

namespace {

const char* ExistsLabel(const std::string& path)
{
    return FileExists(path) ? "EXISTS:" : "DOES NOT EXIST:";
}

// Logs "Failed copy: " or "Failed move: ", a line feed and the source as one
// line, and shows the same text after the error sound.
void ReportLevelFileFailure(TransferContext& context, const char* label, const std::string& source,
                            const std::string& reason)
{
    context.log.recordFailure(source, reason);
    const std::string text = label + ("\n" + ShownName(source));
    context.log.append(text);
    context.host.alert(AlertSound::Error);
    context.host.messageBox({text, "Error in source file", MessageIcon::Warning, {MessageButton::Ok}});
}

// The level's own file. A target without it gets it quietly; a target whose
// copy holds the same bytes keeps it quietly; a target whose copy differs (the
// level was edited since) is asked about as the .bsp is, and replaced only on
// Yes. It is always copied, never moved: the working tree keeps its level.
void TransferLevelMap(TransferContext& context, const std::string& source, const std::string& target)
{
    const OpResult placed = CopyFileAtomic(source, target, CopyMode::FailIfExists);
    if (placed.ok)
        return;
    if (!FileExists(target)) {
        ReportLevelFileFailure(context, "Failed copy: ", source, placed.error);
        return;
    }
    if (SameContent(source, target))
        return;
    if (OverwritePrompt(context.host, target, source, "File Exists!", PromptButtons::YesNo) ==
        OverwriteAnswer::No) {
        context.log.append("Already exists: " + target);
        return;
    }
    const OpResult replaced = CopyFileAtomic(source, target, CopyMode::Replace);
    if (replaced.ok)
        context.log.append("Copied: " + target + "\tOverwritten");
    else
        ReportLevelFileFailure(context, "Failed copy: ", source, replaced.error);
}

}  // namespace

std::string TargetMapPath(const std::string& mapPath, const std::string& targPath)
{
    const char separator = Separator();
    return targPath + separator + "maps" + separator + std::string(FileName(mapPath));
}

std::string BspPath(const std::string& mapPath)
{
    if (FileName(mapPath).find('.') == std::string_view::npos)
        return mapPath + ".bsp";
    return mapPath.substr(0, mapPath.size() - FileExtension(mapPath).size()) + "bsp";
}

void BspNotice(Host& host, const std::string& sourceBsp, const std::string& targetBsp)
{
    host.showPrompt(PromptRequest::Notice("BSP file exists!",
                                          {ExistsLabel(sourceBsp), ShownName(sourceBsp), "  ",
                                           ExistsLabel(targetBsp), ShownName(targetBsp), "  ", "Continue?"},
                                          true));
}

bool TransferLevelFiles(TransferContext& context, const std::string& mapPath,
                        const std::string& targPath, std::string& targetMapPath)
{
    targetMapPath = TargetMapPath(mapPath, targPath);
    // The .map comes first, as it always has: its question, when there is one,
    // is asked before the .bsp's, and each answer stands on its own.
    TransferLevelMap(context, mapPath, targetMapPath);

    const std::string sourceBsp = BspPath(mapPath);
    const std::string targetBsp = BspPath(targetMapPath);
    const bool existed = FileExists(targetBsp);
    if (!FileExists(sourceBsp) && existed) {
        context.log.recordProblem(TransferProblem::Kind::Missing, sourceBsp);
        BspNotice(context.host, sourceBsp, targetBsp);
        return false;
    }
    if (existed && OverwritePrompt(context.host, targetBsp, sourceBsp, "File Exists!",
                                   PromptButtons::YesNo) == OverwriteAnswer::No) {
        context.log.append("Already exists: " + ShownName(targetBsp));
        return true;
    }
    const FileTransfer transfer = TransferFile(sourceBsp, targetBsp, context.mode);
    if (transfer.result != TransferResult::Failed) {
        LogTransferred(context, transfer, targetBsp, sourceBsp, existed);
        return true;
    }
    ReportLevelFileFailure(context, context.mode == TransferMode::Move ? "Failed move: " : "Failed copy: ",
                           sourceBsp, transfer.error);
    return true;
}

}  // namespace corvane
