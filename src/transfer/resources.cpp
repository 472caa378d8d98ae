#include "transfer/resources.h"

#include <cstdint>

#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "transfer/layout.h"
#include "transfer/overwrite.h"

namespace corvane {

void MissingFileNotice(TransferContext& context, const std::string& source, const std::string& target)
{
    const PromptRequest notice = PromptRequest::Notice(
        "File Does Not Exist!",
        {"DOES NOT EXIST:", source, "  ", FileExists(target) ? "EXISTS:" : "DOES NOT EXIST:", target, "  "},
        false, "&Ok");
    context.host.alert(AlertSound::Error);
    context.host.showPrompt(notice);
    context.log.appendReport("Does not exist:  ", source);
}

void TransferResources(TransferContext& context, ResourceKind kind, const ResourceList& list,
                       const std::string& srcPath, const std::string& targPath)
{
    const char* folderName = kind == ResourceKind::Textures ? "textures" : "sound";
    const char* captionPrefix =
        kind == ResourceKind::Textures ? "Textures dir exists! " : "Sounds dir exists! ";
    const std::string sourceFolder = JoinPath(SourceRoot(srcPath), folderName) + Separator();
    const std::string targetFolder = JoinPath(targPath, folderName) + Separator();

    const char* step = kind == ResourceKind::Textures ? "Transferring textures" : "Transferring sounds";
    const TargetFolder into(targPath);
    std::uint64_t done = 0;
    OverwritePolicy policy;
    std::string previousFolder;
    for (const std::string& listed : list) {
        context.host.progress(step, done++, list.size());
        const std::string entry = TransferName(kind, listed);
        if (IsUnsafeResourceName(entry)) {
            ReportUnsafeName(context.log, listed);
            continue;
        }
        const std::string folder = ResourceFolder(entry);
        if (folder != previousFolder)
            policy.reset();
        previousFolder = folder;

        const std::string relative = EntryRelativePath(entry);
        const std::string source = sourceFolder + relative;
        const std::string target = targetFolder + relative;
        const PathProbe found = ProbePath(source);
        if (found.kind == PathKind::Unknown) {
            // Not missing: it cannot be read (a folder without permission, say).
            CopyFailureReport(context, source, found.error);
            continue;
        }
        if (found.kind != PathKind::File) {
            MissingFileNotice(context, source, target);
            continue;
        }
        const auto mayReplace = [&] {
            return policy.allowsOverwrite([&] {
                return OverwritePrompt(context.host, target, source, captionPrefix + AsciiUpper(folder),
                                       PromptButtons::All);
            });
        };
        if (!TransferAndReport(context, into, source, target, relative, mayReplace))
            context.log.append("Already Exists: " + relative);
    }
    context.host.progress(step, done, list.size());
}

}  // namespace corvane
