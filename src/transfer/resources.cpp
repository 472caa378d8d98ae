#include "transfer/resources.h"

#include <cstdint>

#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shown_name.h"
#include "transfer/overwrite.h"

namespace corvane {

void MissingFileNotice(TransferContext& context, const std::string& source, const std::string& target)
{
    const PromptRequest notice = PromptRequest::Notice(
        "File Does Not Exist!",
        {"DOES NOT EXIST:", ShownName(source), "  ", FileExists(target) ? "EXISTS:" : "DOES NOT EXIST:",
         ShownName(target), "  "},
        false, "&Ok");
    context.host.alert(AlertSound::Error);
    context.host.showPrompt(notice);
    context.log.recordProblem(TransferProblem::Kind::Missing, source);
    context.log.appendReport("Does not exist:  ", ShownName(source));
}

void TransferResources(TransferContext& context, ResourceKind kind, const ResourceList& list,
                       const std::string& srcPath, const std::string& targPath)
{
    const char* captionPrefix =
        kind == ResourceKind::Textures ? "Textures dir exists! " : "Sounds dir exists! ";
    const ResourcePlaces places = PlacesOf(kind, srcPath, targPath);

    const char* step = kind == ResourceKind::Textures ? "Transferring textures" : "Transferring sounds";
    const TargetFolder into(targPath);
    std::uint64_t done = 0;
    OverwritePolicy policy;
    FolderScopes scopes;
    for (const std::string& listed : list) {
        context.host.progress(step, done++, list.size());
        const ResourceEntry entry = ResolveEntry(kind, listed, places);
        if (!entry.refusal.empty()) {
            ReportRefusedName(context.log, listed, entry.refusal);
            continue;
        }
        if (scopes.begins(entry.folder))
            policy.reset();

        const PathProbe found = ProbePath(entry.source);
        if (found.kind == PathKind::Unknown) {
            // Not missing: it cannot be read (a folder without permission, say).
            CopyFailureReport(context, entry.source, found.error);
            continue;
        }
        if (found.kind != PathKind::File) {
            MissingFileNotice(context, entry.source, entry.target);
            continue;
        }
        const auto mayReplace = [&] {
            return policy.allowsOverwrite([&] {
                return OverwritePrompt(context.host, entry.target, entry.source,
                                       captionPrefix + AsciiUpper(entry.folder), PromptButtons::All);
            });
        };
        if (!TransferAndReport(context, into, entry.source, entry.target, entry.relative, mayReplace))
            context.log.append("Already Exists: " + entry.relative);
    }
    context.host.progress(step, done, list.size());
}

}  // namespace corvane
