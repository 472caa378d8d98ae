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
        if (!FileExists(source)) {
            MissingFileNotice(context, source, target);
            continue;
        }
        const bool existed = FileExists(target);
        if (existed && !policy.allowsOverwrite([&] {
                return OverwritePrompt(context.host, target, source,
                                       captionPrefix + AsciiUpper(folder), PromptButtons::All);
            })) {
            context.log.append("Already Exists: " + relative);
            continue;
        }
        TransferAndReport(context, source, target, relative, existed);
    }
    context.host.progress(step, done, list.size());
}

}  // namespace corvane
