#include "transfer/level_files.h"

#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/paths.h"
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
    const std::string text = label + ("\n" + source);
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
                                          {ExistsLabel(sourceBsp), sourceBsp, "  ", ExistsLabel(targetBsp),
                                           targetBsp, "  ", "Continue?"},
                                          true));
}

bool TransferLevelFiles(TransferContext& context, const std::string& mapPath,
                        const std::string& targPath, std::string& targetMapPath)
{
    targetMapPath = TargetMapPath(mapPath, targPath);
    const TargetFolder into(targPath);
    // The target's own .map is never replaced, and keeping it is not reported;
    // a copy that failed for any other reason (a full disk, an unreadable
    // level) leaves the target without its level, and that is reported.
    const CopyResult level = into.copyFile(mapPath, targetMapPath, {CopyMode::FailIfExists, false});
    if (!level.ok && !TargetOccupied(into, targetMapPath))
        ReportLevelFileFailure(context, "Failed copy: ", mapPath, level.error);

    const std::string sourceBsp = BspPath(mapPath);
    const std::string targetBsp = BspPath(targetMapPath);
    // A .bsp that cannot be told to be there (an unreadable folder) is no
    // missing one: its copy is tried, and fails with the reason.
    const PathKind source = ProbePath(sourceBsp).kind;
    if (source != PathKind::File && source != PathKind::Unknown && TargetOccupied(into, targetBsp)) {
        BspNotice(context.host, sourceBsp, targetBsp);
        return false;
    }
    const Placement placed = PlaceFile(into, sourceBsp, targetBsp, context.mode, [&] {
        return OverwritePrompt(context.host, targetBsp, sourceBsp, "File Exists!", PromptButtons::YesNo) !=
               OverwriteAnswer::No;
    });
    if (placed.kept) {
        context.log.append("Already exists: " + targetBsp);
        return true;
    }
    if (placed.transfer.result != TransferResult::Failed) {
        LogTransferred(context, placed.transfer, targetBsp, sourceBsp, placed.existed);
        return true;
    }
    ReportLevelFileFailure(context, context.mode == TransferMode::Move ? "Failed move: " : "Failed copy: ",
                           sourceBsp, placed.transfer.error);
    return true;
}

}  // namespace corvane
