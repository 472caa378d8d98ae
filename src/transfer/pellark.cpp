#include "transfer/pellark.h"

#include <array>
#include <cstdint>

#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "transfer/layout.h"

namespace corvane {

namespace {

constexpr std::array<const char*, 4> kSkipWords = {"entitysets", "demomaps", "help", "save"};

bool IsSkipWord(const std::string& name)
{
    for (const char* word : kSkipWords) {
        if (name == word)
            return true;
    }
    return false;
}

bool ContainsSkipWord(const std::string& path)
{
    for (const char* word : kSkipWords) {
        if (path.find(word) != std::string::npos)
            return true;
    }
    return false;
}

struct PellarkWalk {
    TransferContext& context;
    const std::string& targPath;
    OverwritePolicy& policy;
    const TargetFolder into{targPath};
    std::uint64_t files = 0;  // files met so far, for the progress shown

    // `dir` is the folder's full path, `shown` its name as the failure box
    // gives it, `relative` its path below the root ("" at the root).
    void walk(const std::string& dir, const std::string& shown, const std::string& relative)
    {
        const Listing listing = ListDirectory(dir);
        if (!listing.ok) {
            context.log.recordFailure(dir, listing.error);
            context.host.alert(AlertSound::Stop);
            context.host.messageBox({"Failed to open Pellark directory\n" + shown, "Error",
                                     MessageIcon::Error, {MessageButton::Ok}});
            return;
        }
        for (const DirEntry& entry : listing.entries) {
            const std::string& name = entry.name;
            const std::string below = relative.empty() ? name : JoinPath(relative, name);
            const std::string full = JoinPath(dir, name);
            const bool folder = entry.type == EntryType::Directory || entry.type == EntryType::Unknown;
            if (folder) {
                if (entry.link || name.front() == '.' || IsSkipWord(name) || SameFile(full, targPath))
                    continue;
                context.log.append("  ");
                context.log.append("=========================");
                context.log.append("Pellark   " + below);
                context.log.append("=========================");
                CreateTargetSubdirectory(context, targPath, below);
                walk(full, name, below);
            } else {
                if (ContainsSkipWord(below) || name == "config.cfg")
                    continue;
                context.host.progress("Copying Pellark tree", files++, 0);
                CopyPellarkFile(context, into, full, JoinPath(targPath, below), policy);
            }
        }
    }
};

}  // namespace

void CopyPellarkTree(TransferContext& context, const std::string& pellarkPath,
                     const std::string& targPath, OverwritePolicy& policy)
{
    if (pellarkPath.empty())
        return;  // no tree, nothing to copy from anywhere
    PellarkWalk walk{context, targPath, policy};
    walk.walk(pellarkPath, pellarkPath, "");
}

void CopyPellarkFile(TransferContext& context, const TargetFolder& into, const std::string& source,
                     const std::string& target, OverwritePolicy& policy)
{
    const Placement placed = PlaceFile(into, source, target, TransferMode::Copy, [&] {
        return policy.allowsOverwrite([&] {
            return OverwritePrompt(context.host, target, source, "Pellark file exists! ", PromptButtons::All);
        });
    });
    if (placed.kept) {
        context.log.append("Already Exists: " + target);
        return;
    }
    if (placed.transfer.result == TransferResult::Done) {
        context.log.append("Copied: " + target + (placed.existed ? "\tOverwritten" : ""));
        return;
    }
    context.log.recordFailure(source, placed.transfer.error);
    context.log.appendReport("Failed copy:  ", source, TransferLog::Hint::None);
    context.host.alert(AlertSound::Stop);
    context.host.messageBox({"Failed copy:  \n      " + source, "Error", MessageIcon::Warning,
                             {MessageButton::Ok}});
}

}  // namespace corvane
