#include "ui/level_model.h"

#include <algorithm>

#include "map/scan.h"
#include "map/sky.h"

namespace corvane::ui {

namespace {

// The first `count` names in the order they were added, sorted.
std::vector<std::string> SortedPrefix(const ResourceList& list, std::size_t count)
{
    std::vector<std::string> names(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(count));
    SortResourceList(names);
    return names;
}

}  // namespace

void EmptyWindowLevel(WindowLevel& level)
{
    EmptyLoadedLevel(level);
    level.listWals.clear();
    level.listWavs.clear();
}

std::string ShowList(const std::vector<std::string>& sorted, std::vector<std::string>& listBox,
                     const char* placeholder)
{
    listBox.insert(listBox.end(), sorted.begin(), sorted.end());
    const std::size_t shown = listBox.size();
    if (listBox.empty())
        listBox.emplace_back(placeholder);
    return std::to_string(shown);
}

void ShowTextureScan(WindowLevel& level)
{
    level.lblWalCount = ShowList(level.TextureList.entries(), level.listWals, kNoCustomTextures);
}

void ShowSoundScan(WindowLevel& level)
{
    level.lblWavCount = ShowList(level.SoundList.entries(), level.listWavs, kNoCustomWavs);
}

LevelLoad LoadLevelIntoWindow(const std::string& path, LoadNaming naming, WindowLevel& level, Host& host)
{
    if (naming == LoadNaming::NameLevel) {
        host.setCaption(kWindowTitlePrefix + path);
        level.CurrentMapPath = path;
    }
    const LevelLoad load = LoadMapFile(path, level, CantOpenFileQuestion(host));
    if (load.scanned) {
        ShowTextureScan(level);
        ShowSoundScan(level);
    }
    return load;
}

PoolResult PoolIntoWindow(const std::string& targPath, WindowLevel& level, Host& host, PoolOptions options)
{
    // Each load of a pooling only adds its names; when an error ends it, the
    // boxes show what loading level by level would have shown.
    options.onStopped = [&level](const std::vector<PooledLoad>& loads) {
        for (const PooledLoad& load : loads) {
            level.lblWalCount =
                ShowList(SortedPrefix(level.TextureList, load.textures), level.listWals, kNoCustomTextures);
            level.lblWavCount =
                ShowList(SortedPrefix(level.SoundList, load.sounds), level.listWavs, kNoCustomWavs);
        }
    };
    const PoolResult result = PoolTargetResources(targPath, level, host, options);
    if (result == PoolResult::Pooled) {
        level.listWavs = level.SoundList.entries();
        level.listWals = level.TextureList.entries();
        level.lblWalCount = std::to_string(level.listWals.size());
        level.lblWavCount = std::to_string(level.listWavs.size());
    }
    return result;
}

void ApplySkyChoice(WindowLevel& level, bool ticked)
{
    level.lblSky = ticked ? FindSkyCaption(level.MapLines) : std::string();
}

}  // namespace corvane::ui
