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

// Creates one folder level; a failure is noted with its reason.
bool MakeFolder(TransferContext& context, const std::string& path)
{
    const OpResult made = CreateDirectoryLevel(path);
    if (!made.ok)
        context.log.recordFailure(path, made.error);
    return made.ok;
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
bool CreateRoot(TransferContext& context, const std::string& root)
{
    if (DirectoryEntryExists(root)) {
        context.log.append("Already exists: " + root);
        return true;
    }
    if (MakeFolder(context, root))
        return true;
    ShowCreateFailure(context.host, "Could not create: " + root + ". \n Aborting");
    return false;
}

// One folder per resource folder of the list, in list order.
bool CreateFolders(TransferContext& context, const std::string& root, const ResourceList& list,
                   ResourceKind kind)
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
            if (DirectoryEntryExists(dir)) {
                context.log.append("Already exists: " + dir);
            } else if (MakeFolder(context, dir)) {
                context.log.append("Created: " + dir);
            } else {
                ShowCreateFailure(context.host, "Could not create: " + dir + failureTail);
                return false;
            }
        }
        previous = folder;
        for (const std::string& nested : NestedFolders(entry)) {
            dir = JoinPath(dir, nested);
            if (DirectoryEntryExists(dir))
                continue;
            if (!MakeFolder(context, dir)) {
                ShowCreateFailure(context.host, "Could not create: " + dir + failureTail);
                return false;
            }
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
    if (DirectoryEntryExists(target)) {
        context.log.append("Already exists: " + target);
        context.host.alert(AlertSound::Exclamation);
        return context.host.showPrompt(PromptRequest::ContinueQuestion(
                   "File Exists!", {"Directory exists: ", target, "  ", "Continue?"})) !=
               OverwriteAnswer::NoToAll;
    }
    if (!MakeFolder(context, target))
        return false;
    context.log.append("Created: " + target);
    return true;
}

bool CreateTargetSubdirectory(TransferContext& context, const std::string& targPath,
                              const std::string& name)
{
    const std::string path = JoinPath(targPath, name);
    if (DirectoryEntryExists(path)) {
        context.log.append("Already Exists: " + path);
        return true;
    }
    if (MakeFolder(context, path)) {
        context.log.append("Created: " + path);
        return true;
    }
    ShowCreateFailure(context.host, "Could not create: " + path + ". \nAborting!");
    return false;
}

bool CreateResourceLayout(TransferContext& context, const std::string& target,
                          const ResourceList& textures, const ResourceList& sounds)
{
    const std::string texturesRoot = JoinPath(target, "textures");
    if (!CreateRoot(context, texturesRoot) ||
        !CreateFolders(context, texturesRoot, textures, ResourceKind::Textures))
        return false;
    const std::string soundRoot = JoinPath(target, "sound");
    return CreateRoot(context, soundRoot) &&
           CreateFolders(context, soundRoot, sounds, ResourceKind::Sounds);
}

}  // namespace corvane
