#include "pool/pooling.h"

#include <utility>

#include "map/load.h"
#include "platform/file_ops.h"
#include "platform/paths.h"

namespace corvane {

namespace {

void CantGroup(Host& host, const char* text)
{
    host.messageBox({text, "Can't group!", MessageIcon::Information, {MessageButton::Ok}});
}

// Sorts the lists as the last scan would have; with no level scanned they
// stay as they were.
void SortLists(LoadedLevel& level, const std::vector<PooledLoad>& loads)
{
    if (loads.empty())
        return;
    level.TextureList.sort();
    level.SoundList.sort();
}

}  // namespace

std::vector<std::string> PoolLevelFiles(const std::string& targPath)
{
    return FindFiles(JoinPath(targPath, "maps"), "*.map");
}

PoolResult PoolTargetResources(const std::string& targPath, LoadedLevel& level, Host& host,
                               const PoolOptions& options)
{
    const std::size_t count = PoolLevelFiles(targPath).size();
    if (count == 0) {
        CantGroup(host, "No .map files found!");
        return PoolResult::NoLevels;
    }
    if (count == 1) {
        CantGroup(host, "Only one .map file found!");
        return PoolResult::OneLevel;
    }
    if (options.confirm &&
        host.messageBox({"Group All Resources?", "Grouping cannot be undone!", MessageIcon::Question,
                         {MessageButton::Yes, MessageButton::No}}) != MessageButton::Yes)
        return PoolResult::Declined;
    if (options.onConfirmed)
        options.onConfirmed();
    host.setStatus(StatusLine::Activity, "Grouping all maps' resources...");

    // Each load only adds its level's names; the lists are sorted once at the
    // end instead of after every level, which ends with the same lists.
    const std::string maps = JoinPath(targPath, "maps");
    const ReadFailureHandler askAgain = CantOpenFileQuestion(host);
    std::vector<PooledLoad> loads;
    try {
        for (const std::string& name : PoolLevelFiles(targPath)) {
            if (!LoadMapFile(JoinPath(maps, name), level, askAgain, LoadLists::Collect).scanned)
                continue;
            loads.push_back({level.TextureList.size(), level.SoundList.size()});
            if (options.onLevelLoaded)
                options.onLevelLoaded();
        }
    } catch (...) {
        if (options.onStopped)
            options.onStopped(loads);
        SortLists(level, loads);
        throw;
    }
    SortLists(level, loads);

    level.SoundList.removeAdjacentRepeats();
    level.TextureList.removeAdjacentRepeats();
    return PoolResult::Pooled;
}

}  // namespace corvane
