#include "pool/pooling.h"

#include "map/load.h"
#include "platform/file_ops.h"
#include "platform/paths.h"

namespace corvane {

namespace {

void CantGroup(Host& host, const char* text)
{
    host.messageBox({text, "Can't group!", MessageIcon::Information, {MessageButton::Ok}});
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
    host.setStatus(0, "Grouping all maps' resources...");

    const std::string maps = JoinPath(targPath, "maps");
    for (const std::string& name : PoolLevelFiles(targPath)) {
        if (LoadMapFile(JoinPath(maps, name), ModeTransferred, level, host) && options.onLevelLoaded)
            options.onLevelLoaded();
    }

    level.SoundList.removeAdjacentRepeats();
    level.TextureList.removeAdjacentRepeats();
    level.listWavs = level.SoundList.entries();
    level.listWals = level.TextureList.entries();
    level.lblWalCount = std::to_string(level.listWals.size());
    level.lblWavCount = std::to_string(level.listWavs.size());
    return PoolResult::Pooled;
}

}  // namespace corvane
