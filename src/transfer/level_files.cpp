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
void TransferLevelMap(TransferContext& context, const TargetFolder& into, const std::string& source,
                      const std::string& target)
{
    const CopyResult placed = into.copyFile(source, target, {CopyMode::FailIfExists, false});
    if (placed.ok)
        return;
    if (!TargetOccupied(into, target)) {
        ReportLevelFileFailure(context, "Failed copy: ", source, placed.error);
        return;
    }
    if (SameContent(source, target))
        return;
    if (OverwritePrompt(context.host, target, source, "File Exists!", PromptButtons::YesNo) ==
        OverwriteAnswer::No) {
        context.log.append("Already exists: " + ShownName(target));
        return;
    }
    const CopyResult replaced = into.copyFile(source, target, {CopyMode::Replace, false});
    if (replaced.ok)
        context.log.append("Copied: " + ShownName(target) + "\tOverwritten");
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
    const TargetFolder into(targPath);
    // The .map comes first, as it always has: its question, when there is one,
    // is asked before the .bsp's, and each answer stands on its own.
    TransferLevelMap(context, into, mapPath, targetMapPath);

    const std::string sourceBsp = BspPath(mapPath);
    const std::string targetBsp = BspPath(targetMapPath);
    // A .bsp that cannot be told to be there (an unreadable folder) is no
    // missing one: its copy is tried, and fails with the reason.
    const PathKind source = ProbePath(sourceBsp).kind;
    if (source != PathKind::File && source != PathKind::Unknown && TargetOccupied(into, targetBsp)) {
        context.log.recordProblem(TransferProblem::Kind::Missing, sourceBsp);
        BspNotice(context.host, sourceBsp, targetBsp);
        return false;
    }
    const Placement placed = PlaceFile(into, sourceBsp, targetBsp, context.mode, [&] {
        return OverwritePrompt(context.host, targetBsp, sourceBsp, "File Exists!", PromptButtons::YesNo) !=
               OverwriteAnswer::No;
    });
    if (placed.kept) {
        context.log.append("Already exists: " + ShownName(targetBsp));
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
