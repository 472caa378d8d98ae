#include "transfer/layout.h"

#include "platform/file_ops.h"
#include "platform/paths.h"
#include "platform/shown_name.h"
#include "transfer/resource_names.h"

namespace corvane {

namespace {

// Creates one folder level; a failure is noted with its reason.
bool MakeFolder(TransferContext& context, const std::string& path)
{
    const OpResult made = CreateDirectoryLevel(path);
    if (!made.ok)
        context.log.recordFailure(path, made.error);
    return made.ok;
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
bool CreateRoot(TransferContext& context, const std::string& root)
{
    if (DirectoryEntryExists(root)) {
        context.log.append("Already exists: " + ShownName(root));
        return true;
    }
    if (MakeFolder(context, root))
        return true;
    ShowCreateFailure(context.host, root, ". \n Aborting");
    return false;
}

// One folder per resource folder of the list, in list order.
bool CreateFolders(TransferContext& context, const std::string& root, const ResourceList& list,
                   ResourceKind kind, const ResourcePlaces& places)
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
            if (DirectoryEntryExists(dir)) {
                context.log.append("Already exists: " + ShownName(dir));
            } else if (MakeFolder(context, dir)) {
                context.log.append("Created: " + ShownName(dir));
            } else {
                ShowCreateFailure(context.host, dir, failureTail);
                return false;
            }
        }
        for (const std::string& nested : NestedFolders(entry.name)) {
            dir = JoinPath(dir, nested);
            if (DirectoryEntryExists(dir))
                continue;
            if (!MakeFolder(context, dir)) {
                ShowCreateFailure(context.host, dir, failureTail);
                return false;
            }
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
    if (DirectoryEntryExists(target)) {
        context.log.append("Already exists: " + shown);
        context.host.alert(AlertSound::Exclamation);
        return context.host.showPrompt(PromptRequest::ContinueQuestion(
                   "File Exists!", {"Directory exists: ", shown, "  ", "Continue?"})) !=
               OverwriteAnswer::NoToAll;
    }
    if (!MakeFolder(context, target))
        return false;
    context.log.append("Created: " + shown);
    return true;
}

bool CreateTargetSubdirectory(TransferContext& context, const std::string& targPath,
                              const std::string& name)
{
    const std::string path = JoinPath(targPath, name);
    if (DirectoryEntryExists(path)) {
        context.log.append("Already Exists: " + ShownName(path));
        return true;
    }
    if (MakeFolder(context, path)) {
        context.log.append("Created: " + ShownName(path));
        return true;
    }
    ShowCreateFailure(context.host, path, ". \nAborting!");
    return false;
}

bool CreateResourceLayout(TransferContext& context, const std::string& target, const std::string& srcPath,
                          const ResourceList& textures, const ResourceList& sounds)
{
    const std::string texturesRoot = JoinPath(target, "textures");
    if (!CreateRoot(context, texturesRoot) ||
        !CreateFolders(context, texturesRoot, textures, ResourceKind::Textures,
                       PlacesOf(ResourceKind::Textures, srcPath, target)))
        return false;
    const std::string soundRoot = JoinPath(target, "sound");
    return CreateRoot(context, soundRoot) &&
           CreateFolders(context, soundRoot, sounds, ResourceKind::Sounds,
                         PlacesOf(ResourceKind::Sounds, srcPath, target));
}

}  // namespace corvane
