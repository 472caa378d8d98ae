#pragma once
// Loading a level file into the LoadedLevel.

#include <string>

#include "map/loaded_level.h"
#include "platform/host.h"

namespace corvane {

inline constexpr const char* kCantOpenFile = "Can't open file!";
inline constexpr const char* kWindowTitlePrefix = "Pellark's Corvane - ";

// Reads the level file into MapLines and scans it for textures and sounds.
// In ModeMapLoaded the window caption becomes "Pellark's Corvane - " + path and
// CurrentMapPath the path; other modes leave both alone. A file that cannot be
// read sounds the error alert and asks "Can't open file!" (Abort, Retry,
// Ignore): Retry reads again, Abort returns false, Ignore scans the lines held
// before. Returns true when the lines were scanned. A scan failure is thrown
// (see ScanTextures). When `readError` is given it receives the reason of the
// last failed read.
//
// With LoadLists::Collect the scans only add the level's names to the lists
// (see CollectTextures); the caller sorts and shows them.
enum class LoadLists { ScanAndShow, Collect };
bool LoadMapFile(const std::string& path, MainMode mode, LoadedLevel& level, Host& host,
                 std::string* readError = nullptr, LoadLists lists = LoadLists::ScanAndShow);

}  // namespace corvane
