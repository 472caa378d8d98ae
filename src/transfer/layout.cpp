#include "transfer/layout.h"

#include "platform/file_ops.h"
#include "platform/paths.h"
#include "transfer/resource_names.h"

namespace corvane {

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

enum class Folder { Existed, Created, Failed };

// Makes sure a folder below the target is there, without following a link:
// a link in the way is refused, said in the log, and noted with the failure.
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
        context.log.append("   Refused: " + made.error);
    context.log.recordFailure(path, made.error);
    return Folder::Failed;
}

void ShowCreateFailure(Host& host, const std::string& text)
{
    host.messageBox({text, "Error!", MessageIcon::Error, {MessageButton::Ok}});
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
        context.log.append("Already exists: " + root);
        return true;
    case Folder::Created:
        return true;
    case Folder::Failed:
        break;
    }
    ShowCreateFailure(context.host, "Could not create: " + root + ". \n Aborting");
    return false;
}

// One folder per resource folder of the list, in list order.
bool CreateFolders(TransferContext& context, const TargetFolder& into, const std::string& root,
                   const ResourceList& list, ResourceKind kind)
{
    const char* failureTail = kind == ResourceKind::Textures ? ". \nAborting" : ". Aborting";
    std::string previous;
    for (const std::string& listed : list) {
        const std::string entry = TransferName(kind, listed);
        if (IsUnsafeResourceName(entry))
            continue;
        const std::string folder = ResourceFolder(entry);
        std::string dir = folder.empty() ? root : root + Separator() + folder;
        if (folder != previous && !folder.empty()) {
            switch (EnsureFolder(context, into, dir)) {
            case Folder::Existed:
                context.log.append("Already exists: " + dir);
                break;
            case Folder::Created:
                context.log.append("Created: " + dir);
                break;
            case Folder::Failed:
                ShowCreateFailure(context.host, "Could not create: " + dir + failureTail);
                return false;
            }
        }
        previous = folder;
        for (const std::string& nested : NestedFolders(entry)) {
            dir = JoinPath(dir, nested);
            const Folder made = EnsureFolder(context, into, dir);
            if (made == Folder::Failed) {
                ShowCreateFailure(context.host, "Could not create: " + dir + failureTail);
                return false;
            }
            if (made == Folder::Created)
                context.log.append("Created: " + dir);
        }
    }
    return true;
}

}  // namespace

std::string ResourceFolder(std::string_view entry)
{
    const auto slash = entry.find('/');
    return std::string(slash == std::string_view::npos ? std::string_view() : entry.substr(0, slash));
}

bool IsUnsafeResourceName(std::string_view entry)
{
    if (entry.size() >= 2 && entry[1] == ':')
        return true;  // a drive designator
    if (entry.size() >= 2 && IsSeparator(entry[0]) && IsSeparator(entry[1]))
        return true;  // a network path
    std::size_t start = 0;
    while (start <= entry.size()) {
        std::size_t end = start;
        while (end < entry.size() && !IsSeparator(entry[end]))
            ++end;
        if (entry.substr(start, end - start) == "..")
            return true;
        start = end + 1;
    }
    return false;
}

void ReportUnsafeName(TransferLog& log, const std::string& entry)
{
    log.appendReport("Unsafe name refused:  ", entry);
}

bool PrepareTargetDirectory(TransferContext& context, const std::string& target)
{
    if (IsDriveRootTarget(target))
        return false;
    const auto askToContinue = [&] {
        context.log.append("Already exists: " + target);
        context.host.alert(AlertSound::Exclamation);
        return context.host.showPrompt(PromptRequest::ContinueQuestion(
                   "File Exists!", {"Directory exists: ", target, "  ", "Continue?"})) !=
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
    context.log.append("Created: " + target);
    return true;
}

bool CreateTargetSubdirectory(TransferContext& context, const std::string& targPath,
                              const std::string& name)
{
    const std::string path = JoinPath(targPath, name);
    const TargetFolder into(targPath);
    switch (EnsureFolder(context, into, path)) {
    case Folder::Existed:
        context.log.append("Already Exists: " + path);
        return true;
    case Folder::Created:
        context.log.append("Created: " + path);
        return true;
    case Folder::Failed:
        break;
    }
    ShowCreateFailure(context.host, "Could not create: " + path + ". \nAborting!");
    return false;
}

bool CreateResourceLayout(TransferContext& context, const std::string& target,
                          const ResourceList& textures, const ResourceList& sounds)
{
    const TargetFolder into(target);
    const std::string texturesRoot = JoinPath(target, "textures");
    if (!CreateRoot(context, into, texturesRoot) ||
        !CreateFolders(context, into, texturesRoot, textures, ResourceKind::Textures))
        return false;
    const std::string soundRoot = JoinPath(target, "sound");
    return CreateRoot(context, into, soundRoot) &&
           CreateFolders(context, into, soundRoot, sounds, ResourceKind::Sounds);
}

}  // namespace corvane
