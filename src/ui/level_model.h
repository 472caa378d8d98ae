#pragma once
// What the main window shows of the level: the two list boxes with their
// count labels and the sky label, kept beside the level's data. Plain C++, so
// that the rules of these texts are tested without a display.

#include <string>
#include <vector>

#include "map/load.h"
#include "map/loaded_level.h"
#include "pool/pooling.h"
#include "transfer/host.h"
#include "transfer/stock.h"

namespace corvane::ui {

inline constexpr const char* kNoCustomTextures = "No custom textures";
inline constexpr const char* kNoCustomWavs = "No custom wavs";
inline constexpr const char* kWindowTitlePrefix = "Pellark's Corvane - ";

// The level as the window holds it. The scans only ever append to the list
// boxes; commands that begin a new level empty them first.
struct WindowLevel : LoadedLevel {
    std::vector<std::string> listWals;
    std::vector<std::string> listWavs;
    std::string lblWalCount;
    std::string lblWavCount;
    std::string lblSky;
};

// Empties the level's data and both list boxes (the labels keep their text).
void EmptyWindowLevel(WindowLevel& level);

// Appends a sorted list to its list box, adds the placeholder when the box
// stays empty, and returns the count its label shows (the placeholder
// uncounted, one left from an earlier scan counted).
std::string ShowList(const std::vector<std::string>& sorted, std::vector<std::string>& listBox,
                     const char* placeholder);

// What a scan adds to the window: the level's sorted list appended to its box.
void ShowTextureScan(WindowLevel& level);
void ShowSoundScan(WindowLevel& level);

// Whether a load names the level in the caption and makes it the current one
// (a level the user loads does; the levels pooling reads do not).
enum class LoadNaming { NameLevel, Quiet };

// Loads a level file as the window does: with NameLevel the caption becomes
// "Pellark's Corvane - " + path and CurrentMapPath the path first; a file
// that cannot be read asks "Can't open file!"; what was scanned is appended
// to the list boxes. A scan failure is thrown, with the boxes unchanged.
// With a base game, `stock` splits the level's lists first (ApplyStockRule).
LevelLoad LoadLevelIntoWindow(const std::string& path, LoadNaming naming, WindowLevel& level, Host& host,
                              const StockRule& stock = StockRule());

// Splits the level's lists again by `stock` and shows them anew in the list
// boxes, with their counts (the base game changed while a level is loaded).
void ResplitWindowLevel(WindowLevel& level, const StockRule& stock);

// Pools the levels of `targPath`/maps (see PoolTargetResources); pooled, the
// list boxes and counts show the pooled lists, and the levels that were
// skipped are named in one box ("Skipped PATH: no brush", a line each).
PoolResult PoolIntoWindow(const std::string& targPath, WindowLevel& level, Host& host,
                          const PoolOptions& options = {});

// What ticking or unticking "Include sky" does to the sky label: ticked, it
// shows the level's sky caption; unticked, it is empty.
void ApplySkyChoice(WindowLevel& level, bool ticked);

}  // namespace corvane::ui
