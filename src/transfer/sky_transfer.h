#pragma once
// Copying or moving the six images of a level's sky.

#include <string>

#include "transfer/transfer_file.h"

namespace corvane {

// The game's own skies, which are never copied.
bool IsStockSkyName(const std::string& name);

// Transfers the images of sky `skyName` from the working tree's "env" folder
// (below the parent of `srcPath`) into `targPath`/env.
void TransferSky(TransferContext& context, const std::string& skyName, const std::string& srcPath,
                 const std::string& targPath);

// Transfers the first two ordinary files of `sourceFolder` that match `pattern`
// into `targetFolder` below `into`.
void TransferSkyFace(TransferContext& context, const TargetFolder& into, const std::string& sourceFolder,
                     const std::string& targetFolder, const std::string& pattern);

}  // namespace corvane
