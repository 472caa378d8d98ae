#pragma once
// Copying or moving the six images of a level's sky.

#include <array>
#include <string>
#include <vector>

#include "transfer/resource_names.h"
#include "transfer/stock.h"
#include "transfer/transfer_file.h"

namespace corvane {

// The game's own skies, which are never copied.
bool IsStockSkyName(const std::string& name);

// What the sky step does with a sky name.
enum class SkyVerdict {
    Transfer,      // its images are transferred
    NotSpecified,  // the name is empty
    Stock,         // the game's own sky
    NotAllowed,    // a name that could reach other files: `reason` says why
};

struct SkyDecision {
    SkyVerdict verdict = SkyVerdict::Transfer;
    std::string reason;
};

// Decides what becomes of the sky `name`. A name that holds a path separator,
// "..", a wildcard ("*", "?", "[") or a control character is not allowed.
// Whether it is the game's own is `stock.sky(name)`: without a base game a
// game's sky name is Stock before its name is looked at (they are all
// harmless); with one, a name not allowed is refused before the base game is
// asked.
SkyDecision DecideSky(const std::string& name, const StockRule& stock = StockRule());

// The face codes of the sky cube, in the order their images are transferred.
inline constexpr std::array<const char*, 6> kSkyFaces = {"bk", "ft", "lf", "rt", "dn", "up"};

// The working tree's and the target's "env" folder.
ResourcePlaces SkyPlaces(const std::string& srcPath, const std::string& targPath);

// The images of one face that a transfer takes: the first two ordinary files
// of `sourceFolder` that match `pattern` (the sky name, the face code and
// ".*"), in listing order.
std::vector<std::string> SkyFaceImages(const std::string& sourceFolder, const std::string& pattern);

// Transfers the images of sky `skyName` from the working tree's "env" folder
// (below the parent of `srcPath`) into `targPath`/env.
// `stock` decides whether it is the game's own (DecideSky).
void TransferSky(TransferContext& context, const std::string& skyName, const std::string& srcPath,
                 const std::string& targPath, const StockRule& stock = StockRule());

// Transfers the first two ordinary files of `sourceFolder` that match
// `pattern` into `targetFolder` below `into`; when none does, nothing is
// shown or logged, and the face is noted as missing.
void TransferSkyFace(TransferContext& context, const TargetFolder& into, const std::string& sourceFolder,
                     const std::string& targetFolder, const std::string& pattern);

}  // namespace corvane
