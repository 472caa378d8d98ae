#include "pool/pooling.h"

#include <utility>

#include "map/load.h"
#include "map/scan.h"
#include "platform/error.h"
#include "platform/file_ops.h"
#include "platform/paths.h"

namespace corvane {

namespace {

void CantGroup(Host& host, const char* text)
{
    host.messageBox({text, "Can't group!", MessageIcon::Information, {MessageButton::Ok}});
}

}  // namespace

std::string SkippedLevelText(const SkippedLevel& skipped)
{
    return "Skipped " + skipped.path + ": " + skipped.reason;
}

std::vector<std::string> PoolLevelFiles(const std::string& targPath)
{
    return FindFiles(JoinPath(targPath, "maps"), "*.map");
}

PoolReport PoolTargetResources(const std::string& targPath, LoadedLevel& level, Host& host,
                               const PoolOptions& options)
{
    const std::size_t count = PoolLevelFiles(targPath).size();
    if (count == 0) {
        CantGroup(host, "No .map files found!");
        return {PoolResult::NoLevels, {}};
    }
    if (count == 1) {
        CantGroup(host, "Only one .map file found!");
        return {PoolResult::OneLevel, {}};
    }
    if (options.confirm &&
        host.messageBox({"Group All Resources?", "Grouping cannot be undone!", MessageIcon::Question,
                         {MessageButton::Yes, MessageButton::No}}) != MessageButton::Yes)
        return {PoolResult::Declined, {}};
    if (options.onConfirmed)
        options.onConfirmed();
    host.setStatus(StatusLine::Activity, "Grouping all maps' resources...");

    // Each load only adds its level's names; the lists are sorted once at the
    // end instead of after every level, which ends with the same lists.
    const std::string maps = JoinPath(targPath, "maps");
    const ReadFailureHandler askAgain = CantOpenFileQuestion(host);
    PoolReport report;
    bool scanned = false;
    for (const std::string& name : PoolLevelFiles(targPath)) {
        const std::string path = JoinPath(maps, name);
        LevelLoad load;
        try {
            load = LoadMapFile(path, level, askAgain, LoadLists::Collect);
        } catch (const Error& error) {
            // The texture scan found no brush before it added anything.
            if (std::string_view(error.what()) != kListIndexOutOfBounds)
                throw;
            report.skipped.push_back({path, "no brush"});
            continue;
        }
        if (!load.scanned) {
            report.skipped.push_back({path, load.readError});
            continue;
        }
        scanned = true;
        if (options.onLevelLoaded)
            options.onLevelLoaded();
    }
    // With no level scanned the lists stay as they were, unsorted.
    if (scanned) {
        level.TextureList.sort();
        level.SoundList.sort();
    }

    level.SoundList.removeAdjacentRepeats();
    level.TextureList.removeAdjacentRepeats();
    return report;
}

}  // namespace corvane
