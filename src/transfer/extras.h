#pragma once
// What a complete release adds to the classic lists: everything the game
// loads with the level that the level's texture and sound lists do not name.
//
//   frames  an animated texture names its next frame in its header; the
//           chain is followed through the working tree's .wal files (names
//           compared ignoring case) until it returns to a frame already seen,
//           meets a missing, unreadable or stock frame, or has 64 frames
//   images  NAME.png, .tga, .jpg, NAME_glow.png, .tga, .jpg, .pcx, NAME.mat
//           and NAME.wal_json beside a custom texture or frame, where the
//           working tree has them
//   models  the files entity "model" keys name, and the skins an .md2 names
//   sounds  the files "noise_start", "noise_middle" and "noise_end" name
//           (below sound/, as written), unless the sound list has them
//   images  the pictures "image" keys name (below pics/, ".pcx" added)
//
// Every name passes the same safety rules as a listed resource; a name not in
// the working tree as written is looked for ignoring case (CaseLookup).

#include <string>
#include <vector>

#include "map/loaded_level.h"
#include "platform/case_lookup.h"
#include "transfer/plan.h"
#include "transfer/stock.h"

namespace corvane {

struct ExtraFile {
    PlanKind kind = PlanKind::Frame;  // Frame, Image, Model, Skin or Sound
    // The path below the game folder as the level, the texture or the model
    // writes it ("textures/w/water2.wal", "models/buoy/tris.md2"); the target
    // gets this name.
    std::string name;
    std::string neededBy;  // the texture or model it belongs to, or "entity"
    std::string source;    // the working tree's file (as found), or where it was looked for
    std::string target;    // the target's file
    std::string folder;    // the folder part of `name` ("textures/w"): its question scope
    std::string refusal;   // why the name is refused; "" when it is taken
    std::string note;      // the candidates, when several files match it ignoring case
    bool stock = false;    // the game's own: left out
};

// How many frames an animation chain is followed for, the first included.
inline constexpr int kMaxAnimationFrames = 64;

// The sibling files of a texture a complete release ships, in the order they
// are looked for ("NAME" + each).
inline constexpr const char* kTextureSiblings[] = {".png",      ".tga",      ".jpg",      "_glow.png", "_glow.tga",
                                                   "_glow.jpg", "_glow.pcx", ".mat",      ".wal_json"};

// The files a complete release of `level` adds, each once (names compared
// ignoring case, and none that the level's lists name already), in this
// order: for each custom texture its images, then each further frame followed
// by its images; the models with their skins; the entity sounds; the entity
// pictures. Reads the headers of the textures and models it meets; writes
// nothing. Resources lie below the parent of `srcPath`; targets below `targPath`.
std::vector<ExtraFile> FindExtras(const LoadedLevel& level, const std::string& srcPath, const std::string& targPath,
                                  const StockRule& stock, CaseLookup& lookup);

// What the compiled level beside `mapPath` says against its source, whose
// textures are the level's lists (custom and stock): that it is older than
// the source (by more than two seconds: a copy or checkout writes both at
// once, in any order), that it uses textures in a folder the source does not
// or the reverse (names compared ignoring case, without ".wal"; a name in no
// folder, such as "clip", is never listed), that it cannot be read. Nothing
// when the level has no .bsp.
std::vector<std::string> CompiledLevelWarnings(const std::string& mapPath, const LoadedLevel& level);

// The text of the question that may replace an extra's target: "Textures dir
// exists! W", "Sounds dir exists! DOORS", "Models dir exists! BUOY".
std::string ExtraQuestionCaption(const std::string& folder);

}  // namespace corvane
