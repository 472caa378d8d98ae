#include "transfer/pellark.h"

#include <array>
#include <cstdint>

#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shown_name.h"
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
    const std::string& targPath;
    const PellarkVisitor& visit;

    // `dir` is the folder's full path, `shown` its name as the failure box
    // gives it, `relative` its path below the root ("" at the root).
    void walk(const std::string& dir, const std::string& shown, const std::string& relative)
    {
        const Listing listing = ListDirectory(dir);
        if (!listing.ok) {
            visit.unreadable(dir, shown, listing.error);
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
                visit.folder(below);
                walk(full, name, below);
            } else if (!ContainsSkipWord(below) && name != "config.cfg") {
                visit.file(full, JoinPath(targPath, below), below);
            }
        }
    }
};

}  // namespace

void WalkPellarkTree(const std::string& pellarkPath, const std::string& targPath, const PellarkVisitor& visit)
{
    if (pellarkPath.empty())
        return;  // no tree, nothing to walk anywhere
    PellarkWalk walk{targPath, visit};
    walk.walk(pellarkPath, pellarkPath, "");
}

void CopyPellarkTree(TransferContext& context, const std::string& pellarkPath,
                     const std::string& targPath, OverwritePolicy& policy)
{
    std::uint64_t files = 0;  // files met so far, for the progress shown
    const TargetFolder into(targPath);
    PellarkVisitor visit;
    visit.unreadable = [&](const std::string& dir, const std::string& shown, const std::string& error) {
        context.log.recordFailure(dir, error);
        context.host.alert(AlertSound::Stop);
        context.host.messageBox({"Failed to open Pellark directory\n" + ShownName(shown), "Error",
                                 MessageIcon::Error, {MessageButton::Ok}});
    };
    visit.folder = [&](const std::string& relative) {
        context.log.append("  ");
        context.log.append("=========================");
        context.log.append("Pellark   " + ShownName(relative));
        context.log.append("=========================");
        CreateTargetSubdirectory(context, targPath, relative);
    };
    visit.file = [&](const std::string& source, const std::string& target, const std::string&) {
        context.host.progress("Copying Pellark tree", files++, 0);
        CopyPellarkFile(context, into, source, target, policy);
    };
    WalkPellarkTree(pellarkPath, targPath, visit);
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
        context.log.append("Already Exists: " + ShownName(target));
        return;
    }
    if (placed.transfer.result == TransferResult::Done) {
        context.log.append("Copied: " + ShownName(target) + (placed.existed ? "\tOverwritten" : ""));
        return;
    }
    const std::string shown = ShownName(source);
    context.log.recordFailure(source, placed.transfer.error);
    context.log.appendReport("Failed copy:  ", shown, TransferLog::Hint::None);
    context.host.alert(AlertSound::Stop);
    context.host.messageBox({"Failed copy:  \n      " + shown, "Error", MessageIcon::Warning,
                             {MessageButton::Ok}});
}

}  // namespace corvane
