#include "transfer/resources.h"

#include <cstdint>

#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shown_name.h"
#include "transfer/layout.h"
#include "transfer/overwrite.h"

namespace corvane {

void MissingFileNotice(TransferContext& context, const std::string& source, const std::string& target,
                       std::string note)
{
    const PromptRequest notice = PromptRequest::Notice(
        "File Does Not Exist!",
        {"DOES NOT EXIST:", ShownName(source), "  ", FileExists(target) ? "EXISTS:" : "DOES NOT EXIST:",
         ShownName(target), "  "},
        false, "&Ok");
    context.host.alert(AlertSound::Error);
    context.host.showPrompt(notice);
    context.log.recordProblem(TransferProblem::Kind::Missing, source, std::move(note));
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
    CaseLookup lookup;
    for (const std::string& listed : list) {
        context.host.progress(step, done++, list.size());
        ResourceEntry entry = ResolveEntry(kind, listed, places);
        if (!entry.refusal.empty()) {
            ReportRefusedName(context.log, listed, entry.refusal);
            continue;
        }
        if (scopes.begins(entry.folder))
            policy.reset();

        PathProbe found = ProbePath(entry.source);
        std::string note;
        if (found.kind == PathKind::Missing) {
            // Not there as written: perhaps in another letter case.
            note = FindSourceIgnoringCase(entry, places, lookup);
            if (note.empty())
                found = ProbePath(entry.source);
        }
        if (found.kind == PathKind::Unknown) {
            // Not missing: it cannot be read (a folder without permission, say).
            CopyFailureReport(context, entry.source, found.error);
            continue;
        }
        if (found.kind != PathKind::File) {
            MissingFileNotice(context, entry.source, entry.target, std::move(note));
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

namespace corvane {

void TransferExtras(TransferContext& context, const std::vector<ExtraFile>& extras, const std::string& targPath)
{
    const char* step = "Transferring frames, images and models";
    const TargetFolder into(targPath);
    std::uint64_t done = 0;
    OverwritePolicy policy;
    FolderScopes scopes;
    for (const ExtraFile& file : extras) {
        context.host.progress(step, done++, extras.size());
        if (!file.refusal.empty()) {
            ReportRefusedName(context.log, file.name, file.refusal);
            continue;
        }
        if (file.stock)
            continue;
        if (scopes.begins(file.folder))
            policy.reset();
        const PathProbe found = ProbePath(file.source);
        if (found.kind == PathKind::Unknown) {
            CopyFailureReport(context, file.source, found.error);
            continue;
        }
        if (found.kind != PathKind::File) {
            MissingFileNotice(context, file.source, file.target, file.note);
            continue;
        }
        if (!CreateFoldersBelow(context, into, targPath, file.folder))
            continue;
        const auto mayReplace = [&] {
            return policy.allowsOverwrite([&] {
                return OverwritePrompt(context.host, file.target, file.source, ExtraQuestionCaption(file.folder),
                                       PromptButtons::All);
            });
        };
        if (!TransferAndReport(context, into, file.source, file.target, file.name, mayReplace))
            context.log.append("Already Exists: " + ShownName(file.name));
    }
    context.host.progress(step, done, extras.size());
}

}  // namespace corvane
