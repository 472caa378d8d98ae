#pragma once
// The plan of a transfer: one item for every file the transfer would touch,
// in the order it would touch it, with what would become of it, worked out
// without writing anything. The plan takes each decision where the transfer
// steps take theirs (ResolveEntry and FolderScopes for the resources,
// DecideSky and SkyFaceImages for the sky, TargetMapPath and BspPath for the
// level's files, WalkPellarkTree for the Pellark tree, FileExists for "is it
// there", as FileFactsReader reads it), so that its statuses predict the
// transfer's log, and its Missing and Refused items the problems the
// transfer reports after the log (ProblemSummary):
//
//   New      "Copied: " (or "Moved: ") without "\tOverwritten", no question
//   Replace  an overwrite question; Yes gives "...\tOverwritten", No keeps it
//   Same     asked about like Replace (the transfer asks for any file the
//            target has); whatever the answer, the target's bytes stay the same
//   Missing  the missing-file notice and its log lines (the .bsp: its failed
//            copy, or the notice that the target has one the source lacks; a
//            sky face without an image: nothing)
//   Stock    nothing: the game's own are left out
//   Refused  the refusal's log lines (a sky: its "not allowed" message)
//
// The level's .map is New when the target lacks it; a .map the target has is
// Same (kept quietly, scope None) or Replace (asked about alone, Yes or No).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "map/loaded_level.h"
#include "transfer/command.h"

namespace corvane {

// What an item is.
// Frame, Image, Model and Skin are what a complete release adds: the further
// frames of an animated texture, a texture's true-colour images and sidecars
// (and the pictures entities name), the models entities name, and a model's
// skins. The sounds entities name (noise_start, ...) are Sound items that
// need an entity.
enum class PlanKind { Level, Bsp, Sky, Texture, Sound, Pellark, Frame, Image, Model, Skin };

// What would become of an item (see above).
// NotIncluded: a file a complete release would add, left out because the
// transfer is not a complete one.
enum class PlanStatus { New, Replace, Same, Missing, Stock, Refused, NotIncluded };

inline constexpr std::size_t kPlanStatusCount = 7;

// The names corvane-cli check prints: "level", "bsp", "sky", "texture",
// "sound", "pellark", "frame", "image", "model", "skin"; "new", "replace",
// "same", "missing", "stock", "refused", "not-included".
std::string_view PlanKindName(PlanKind kind);
std::string_view PlanStatusName(PlanStatus status);

// How the transfer asks before it replaces an item's target.
enum class PlanScope {
    None,     // it does not ask: the item is new, missing, stock or refused, or the level's .map
    Alone,    // Yes or No for this file alone: the level's .map (when it differs), the .bsp, each sky image
    Folder,   // Yes, No, Yes to All, No to All: a "to All" answer holds for the
              // following items of the same scopeId (one run of a resource folder)
    Pellark,  // the same four buttons: a "to All" answer holds for the
              // following Pellark items
};

struct PlanItem {
    PlanKind kind = PlanKind::Texture;
    PlanStatus status = PlanStatus::New;
    // As the level writes it; for a sky image the image's file name (for a
    // face without one, the pattern looked for); for the Pellark tree the
    // path below its root; for the level and the .bsp their file names.
    std::string name;
    std::string source;  // full paths; empty for a sky that is stock or refused as a whole
    std::string target;
    std::string reason;         // why a refused item is refused ("" otherwise)
    std::uint64_t bytes = 0;    // the source's size (0 when it is not there)
    std::optional<std::int64_t> sourceModified;  // last writes, ns since 1970 UTC,
    std::optional<std::int64_t> targetModified;  // where the file is there (a Missing
                                                 // item's target too, when it has one)
    // Grouping: the resource folder of a texture or sound, the folder of a
    // Pellark file below the tree's root; "" for the rest.
    std::string folder;
    PlanScope scope = PlanScope::None;
    // Textures and sounds that are not refused: the run of one resource folder
    // the item belongs to (1, 2, ... in plan order); a Folder question's
    // "to All" answer covers the items of its run.
    std::size_t scopeId = 0;
    bool movesSource = false;  // in move mode, the source is deleted once it is copied
    // Same by its size alone, its bytes not read yet (PlanBytes::Later):
    // CompareBytes tells Same from Replace.
    bool bytesPending = false;
    // What a complete release's item is shipped for, as the level or the
    // model writes it: the texture whose frame or image it is, the model whose
    // skin it is, "entity" for a file an entity key names; "" for the rest.
    std::string neededBy;
    // More about a Missing item: the candidates when its name matches more
    // than one file ignoring letter case. "" otherwise.
    std::string note;
};

// What becomes of the target folder itself.
enum class PlanTarget {
    Create,       // the transfer makes it
    Exists,       // the transfer asks whether to go on into it
    Refused,      // a whole drive: the transfer refuses it and stops
    Unreachable,  // its parent does not exist, so it cannot be made: the transfer stops
};

struct Plan {
    PlanTarget target = PlanTarget::Create;
    std::vector<PlanItem> items;
    // What the compiled level says against its source (older than it, other
    // textures, damaged): shown, never a reason to stop.
    std::vector<std::string> warnings;
};

struct PlanSummary {
    std::array<std::size_t, kPlanStatusCount> counts{};
    std::uint64_t bytes = 0;  // what would be written: the sources of the New and Replace items

    std::size_t count(PlanStatus status) const { return counts[static_cast<std::size_t>(status)]; }
    // True when something the release needs is missing or refused.
    bool hasProblems() const { return count(PlanStatus::Missing) + count(PlanStatus::Refused) > 0; }
};

PlanSummary Summarize(const Plan& plan);

// What a complete release would add, as one line: "4 animation frames and
// 2 images not included" (frames, images, models, skins, sounds, in that
// order, each only when there are some; "1 animation frame", "1 image" ...).
// "" when the plan has no NotIncluded items.
std::string NotIncludedLine(const Plan& plan);

// When PlanTransfer reads the bytes of a file the target has with the
// source's size, to tell Same from Replace.
enum class PlanBytes {
    Now,    // while it plans
    Later,  // not at all: such an item is Same with bytesPending set, for
            // CompareBytes (the level's .map excepted: its question hangs on it)
};

// The plan of RunTransferCommand(job, level.TextureList, level.SoundList, ...);
// the level's stock lists give the Stock items, which follow each kind's
// custom items in byte order. Reads the working tree, the target and the
// Pellark tree; writes nothing. Whether an item is asked about, and in which
// scope, does not hang on its bytes, so a plan made with PlanBytes::Later has
// every item's scope already.
Plan PlanTransfer(const TransferJob& job, const LoadedLevel& level, PlanBytes bytes = PlanBytes::Now);

// Settles an item whose bytes are pending: Same when the source and the
// target hold the same bytes, else Replace. Other items stay as they are.
void CompareBytes(PlanItem& item);

// One file the transfer takes from `source` to `target`: Missing when no
// regular file is at `source`, else New, Replace or Same by the target, with
// the bytes and the times read (the target's also when the source is
// missing). The comparison view asks the same of one file.
PlanItem PlanFile(PlanKind kind, std::string name, std::string source, std::string target);

}  // namespace corvane
