#include "ui/level_model.h"

#include <algorithm>

#include "map/scan.h"
#include "map/sky.h"

namespace corvane::ui {

namespace {

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

LevelLoad LoadLevelIntoWindow(const std::string& path, LoadNaming naming, WindowLevel& level, Host& host,
                              const StockRule& stock)
{
    if (naming == LoadNaming::NameLevel) {
        host.setCaption(kWindowTitlePrefix + path);
        level.CurrentMapPath = path;
    }
    const LevelLoad load = LoadMapFile(path, level, CantOpenFileQuestion(host));
    if (load.scanned) {
        if (stock.hasBaseGame())
            ApplyStockRule(level, stock);
        ShowTextureScan(level);
        ShowSoundScan(level);
    }
    return load;
}

void ResplitWindowLevel(WindowLevel& level, const StockRule& stock)
{
    ApplyStockRule(level, stock);
    level.listWals.clear();
    level.listWavs.clear();
    ShowTextureScan(level);
    ShowSoundScan(level);
}

PoolResult PoolIntoWindow(const std::string& targPath, WindowLevel& level, Host& host, const PoolOptions& options)
{
    const PoolReport report = PoolTargetResources(targPath, level, host, options);
    if (report.result == PoolResult::Pooled) {
        level.listWavs = level.SoundList.entries();
        level.listWals = level.TextureList.entries();
        level.lblWalCount = std::to_string(level.listWals.size());
        level.lblWavCount = std::to_string(level.listWavs.size());
    }
    if (!report.skipped.empty()) {
        std::string text;
        for (const SkippedLevel& skipped : report.skipped)
            text += (text.empty() ? "" : "\n") + SkippedLevelText(skipped);
        host.messageBox({text, "Corvane", MessageIcon::Information, {MessageButton::Ok}});
    }
    return report.result;
}

void ApplySkyChoice(WindowLevel& level, bool ticked)
{
    level.lblSky = ticked ? FindSkyCaption(level.MapLines) : std::string();
}

}  // namespace corvane::ui
