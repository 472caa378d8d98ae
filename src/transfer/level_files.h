#pragma once
// Placing the level's .map and compiled .bsp into the target's "maps" folder.

#include <string>

#include "transfer/transfer_file.h"

namespace corvane {

// `targPath` + "/maps/" + the level file's name.
std::string TargetMapPath(const std::string& mapPath, const std::string& targPath);

// The compiled level beside a level path: the file name's extension replaced
// by "bsp", or ".bsp" appended to a name without one.
std::string BspPath(const std::string& mapPath);

// Copies the .map, then copies or moves the .bsp. The .map is asked about
// first, and only when the target's copy differs from the source; the .bsp
// whenever the target has one. Both questions are Yes or No, captioned "File
// Exists!". False when the source has no .bsp but the target has one (after
// telling the user); true otherwise, failures included.
// `targetMapPath` receives the level's path in the target.
bool TransferLevelFiles(TransferContext& context, const std::string& mapPath,
                        const std::string& targPath, std::string& targetMapPath);

// Tells the user the target has a .bsp the source lacks.
void BspNotice(Host& host, const std::string& sourceBsp, const std::string& targetBsp);

}  // namespace corvane
