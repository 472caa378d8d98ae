#include "transfer/level_files.h"

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
    // The target's own .map is never replaced, and keeping it is not reported;
    // a copy that failed for any other reason (a full disk, an unreadable
    // level) leaves the target without its level, and that is reported.
    const OpResult level = CopyFileAtomic(mapPath, targetMapPath, CopyMode::FailIfExists);
    if (!level.ok && !FileExists(targetMapPath))
        ReportLevelFileFailure(context, "Failed copy: ", mapPath, level.error);

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
