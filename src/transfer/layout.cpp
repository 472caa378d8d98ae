#include "transfer/layout.h"

#include "platform/case_lookup.h"
#include "platform/file_ops.h"
#include "platform/paths.h"
#include "platform/shown_name.h"
#include "transfer/resource_names.h"

namespace corvane {

namespace {

enum class Folder { Existed, Created, Failed };

// Makes sure a folder below the target is there, without following a link:
// a link in the way is refused, said in the log, and noted with the failure;
// any other failure is noted with its reason.
Folder EnsureFolder(TransferContext& context, const TargetFolder& into, const std::string& path)
{
    const PathProbe found = into.probe(path);
    if (found.kind == PathKind::Directory || found.kind == PathKind::File)
        return Folder::Existed;
    OpResult made;
    if (found.kind == PathKind::Link) {
        made.error = found.error;
        made.cause = OpResult::Cause::Link;
    } else {
        made = into.createDirectory(path);
        if (made.ok)
            return Folder::Created;
        if (made.cause == OpResult::Cause::Exists && into.probe(path).kind == PathKind::Directory)
            return Folder::Existed;  // made meanwhile by someone else
    }
    if (made.cause == OpResult::Cause::Link)
        context.log.append("   Refused: " + ShownName(made.error));
    context.log.recordFailure(path, made.error);
    return Folder::Failed;
}

void ShowCreateFailure(Host& host, const std::string& path, const char* tail)
{
    host.messageBox({"Could not create: " + ShownName(path) + tail, "Error!", MessageIcon::Error,
                     {MessageButton::Ok}});
}

// The folders of a nested name below its resource folder: for "a/b/c/x.wal"
// the components "b" and "c".
std::vector<std::string> NestedFolders(std::string_view entry)
{
    std::vector<std::string> folders;
    const auto first = entry.find('/');
    if (first == std::string_view::npos)
        return folders;
    std::size_t start = first + 1;
    for (auto slash = entry.find('/', start); slash != std::string_view::npos;
         slash = entry.find('/', start)) {
        folders.emplace_back(entry.substr(start, slash - start));
        start = slash + 1;
    }
    return folders;
}

// Creates a resource root ("textures" or "sound") below the target.
bool CreateRoot(TransferContext& context, const TargetFolder& into, const std::string& root)
{
    switch (EnsureFolder(context, into, root)) {
    case Folder::Existed:
        context.log.append("Already exists: " + ShownName(root));
        return true;
    case Folder::Created:
        return true;
    case Folder::Failed:
        break;
    }
    ShowCreateFailure(context.host, root, ". \n Aborting");
    return false;
}

// One folder per resource folder of the list, in list order.
bool CreateFolders(TransferContext& context, const TargetFolder& into, const std::string& root,
                   const ResourceList& list, ResourceKind kind, const ResourcePlaces& places)
{
    const char* failureTail = kind == ResourceKind::Textures ? ". \nAborting" : ". Aborting";
    FolderScopes runs;
    for (const std::string& listed : list) {
        const ResourceEntry entry = ResolveEntry(kind, listed, places);
        if (!entry.refusal.empty())
            continue;
        const std::string& folder = entry.folder;
        std::string dir = folder.empty() ? root : root + Separator() + folder;
        if (runs.begins(folder) && !folder.empty()) {
            switch (EnsureFolder(context, into, dir)) {
            case Folder::Existed:
                context.log.append("Already exists: " + ShownName(dir));
                break;
            case Folder::Created:
                context.log.append("Created: " + ShownName(dir));
                break;
            case Folder::Failed:
                ShowCreateFailure(context.host, dir, failureTail);
                return false;
            }
        }
        for (const std::string& nested : NestedFolders(entry.name)) {
            dir = JoinPath(dir, nested);
            const Folder made = EnsureFolder(context, into, dir);
            if (made == Folder::Failed) {
                ShowCreateFailure(context.host, dir, failureTail);
                return false;
            }
            if (made == Folder::Created)
                context.log.append("Created: " + ShownName(dir));
        }
    }
    return true;
}

}  // namespace

bool PrepareTargetDirectory(TransferContext& context, const std::string& target)
{
    if (IsDriveRootTarget(target))
        return false;
    const std::string shown = ShownName(target);
    const auto askToContinue = [&] {
        context.log.append("Already exists: " + shown);
        context.host.alert(AlertSound::Exclamation);
        return context.host.showPrompt(PromptRequest::ContinueQuestion(
                   "File Exists!", {"Directory exists: ", shown, "  ", "Continue?"})) !=
               OverwriteAnswer::NoToAll;
    };
    if (DirectoryEntryExists(target))
        return askToContinue();
    const OpResult made = CreateDirectoryLevel(target);
    if (!made.ok) {
        // Made meanwhile by someone else: then it exists, as above.
        if (made.cause == OpResult::Cause::Exists && DirectoryEntryExists(target))
            return askToContinue();
        context.log.recordFailure(target, made.error);
        return false;
    }
    context.log.append("Created: " + shown);
    return true;
}

bool CreateTargetSubdirectory(TransferContext& context, const std::string& targPath,
                              const std::string& name)
{
    const std::string path = JoinPath(targPath, name);
    const TargetFolder into(targPath);
    switch (EnsureFolder(context, into, path)) {
    case Folder::Existed:
        context.log.append("Already Exists: " + ShownName(path));
        return true;
    case Folder::Created:
        context.log.append("Created: " + ShownName(path));
        return true;
    case Folder::Failed:
        break;
    }
    ShowCreateFailure(context.host, path, ". \nAborting!");
    return false;
}

bool CreateFoldersBelow(TransferContext& context, const TargetFolder& into, const std::string& targPath,
                        std::string_view folder)
{
    std::string dir = targPath;
    for (const std::string_view part : NameParts(folder)) {
        dir = JoinPath(dir, part);
        switch (EnsureFolder(context, into, dir)) {
        case Folder::Existed:
            break;
        case Folder::Created:
            context.log.append("Created: " + ShownName(dir));
            break;
        case Folder::Failed:
            return false;
        }
    }
    return true;
}

bool CreateResourceLayout(TransferContext& context, const std::string& target, const std::string& srcPath,
                          const ResourceList& textures, const ResourceList& sounds)
{
    const TargetFolder into(target);
    const std::string texturesRoot = JoinPath(target, "textures");
    if (!CreateRoot(context, into, texturesRoot) ||
        !CreateFolders(context, into, texturesRoot, textures, ResourceKind::Textures,
                       PlacesOf(ResourceKind::Textures, srcPath, target)))
        return false;
    const std::string soundRoot = JoinPath(target, "sound");
    return CreateRoot(context, into, soundRoot) &&
           CreateFolders(context, into, soundRoot, sounds, ResourceKind::Sounds,
                         PlacesOf(ResourceKind::Sounds, srcPath, target));
}

}  // namespace corvane
