#include "pool/pooling.h"

#include <utility>

#include "map/load.h"
#include "map/scan.h"
#include "platform/file_ops.h"
#include "platform/paths.h"

namespace corvane {

namespace {

void CantGroup(Host& host, const char* text)
{
    host.messageBox({text, "Can't group!", MessageIcon::Information, {MessageButton::Ok}});
}

// What the loads of a pooling would have left behind had each sorted and
// shown its lists: when a level stops the pooling with an error, the lists
// and list boxes are brought to that state before the error goes on.
class LoadTrail {
public:
    explicit LoadTrail(LoadedLevel& level) : level_(level) {}

    // A level has been loaded: its names are at the ends of the lists.
    void loaded() { sizes_.push_back({level_.TextureList.size(), level_.SoundList.size()}); }

    void replay()
    {
        for (const auto& [textures, sounds] : sizes_) {
            level_.lblWalCount = ShowList(SortedPrefix(level_.TextureList, textures), level_.listWals,
                                          kNoCustomTextures);
            level_.lblWavCount = ShowList(SortedPrefix(level_.SoundList, sounds), level_.listWavs,
                                          kNoCustomWavs);
        }
        sortLists();
    }

    // Sorts the lists as the last scan would have; with no level scanned
    // they stay as they were.
    void sortLists()
    {
        if (sizes_.empty())
            return;
        level_.TextureList.sort();
        level_.SoundList.sort();
    }

private:
    // The first `count` names in the order they were added, sorted.
    static std::vector<std::string> SortedPrefix(const ResourceList& list, std::size_t count)
    {
        std::vector<std::string> names(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(count));
        SortResourceList(names);
        return names;
    }

    LoadedLevel& level_;
    std::vector<std::pair<std::size_t, std::size_t>> sizes_;
};

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

    // Each load only adds its level's names; the lists are sorted once at the
    // end instead of after every level, which ends with the same lists.
    const std::string maps = JoinPath(targPath, "maps");
    LoadTrail trail(level);
    try {
        for (const std::string& name : PoolLevelFiles(targPath)) {
            if (!LoadMapFile(JoinPath(maps, name), ModeTransferred, level, host, nullptr, LoadLists::Collect))
                continue;
            trail.loaded();
            if (options.onLevelLoaded)
                options.onLevelLoaded();
        }
    } catch (...) {
        trail.replay();
        throw;
    }
    trail.sortLists();

    level.SoundList.removeAdjacentRepeats();
    level.TextureList.removeAdjacentRepeats();
    level.listWavs = level.SoundList.entries();
    level.listWals = level.TextureList.entries();
    level.lblWalCount = std::to_string(level.listWals.size());
    level.lblWavCount = std::to_string(level.listWavs.size());
    return PoolResult::Pooled;
}

}  // namespace corvane
