#pragma once
// What is the game's own, and so never shipped. Without a base game the
// folder names decide (the texture folders e1u1..e3u3, the sound folder
// "world", the game's sky names); with one, the base game's files decide:
// a file is the game's own exactly when the base game has a file of that
// name, letter case ignored.
//
// A base game decides a sky by its images: the sky NAME is the game's own
// when the base game has env/NAMEbk, ft, lf, rt, dn or up as .pcx or .tga
// (any one of the twelve is enough: a sky is shipped whole or not at all).

#include <memory>
#include <string>
#include <string_view>

namespace corvane {

class BaseGameCache;
class BaseGameIndex;
struct LoadedLevel;

class StockRule {
public:
    // The folder-name rules.
    StockRule() = default;
    // The base game decides; a null index is the folder-name rules.
    explicit StockRule(std::shared_ptr<const BaseGameIndex> base);

    bool hasBaseGame() const { return base_ != nullptr; }
    const std::shared_ptr<const BaseGameIndex>& baseGame() const { return base_; }

    // A texture as the level's list names it ("e1u1/floor1_3.wal").
    bool texture(std::string_view listed) const;
    // A sound as the level's list names it ("world/amb1.wav", "misc/bell").
    bool sound(std::string_view listed) const;
    // A sky by its name ("unit1_"): without a base game, one of the game's
    // sky names (IsStockSkyName); with one, see above.
    bool sky(std::string_view name) const;
    // Any file by its path below the game folder ("textures/e1u1/floor1_3.wal",
    // "models/buoy/tris.md2"). Without a base game only textures and sounds
    // have rules; every other file is the level's own.
    bool gameFile(std::string_view path) const;

private:
    std::shared_ptr<const BaseGameIndex> base_;
};

// The rule for a job's base game folder: the folder-name rules when it is "",
// else its index, read once and kept (see BaseGameCache) until the folder or
// its archives change. A base game that cannot be read at all decides nothing:
// the folder-name rules hold.
StockRule StockRuleFor(const std::string& basePath);

// The one cache behind StockRuleFor, for whoever else reads the same base
// game (the window's texture pictures), so that it is indexed once.
BaseGameCache& SharedBaseGames();

// The index StockRuleFor reads for `basePath` ("" gives nullptr), for its
// warnings and for whether it could be read at all (BaseGameIndex::ok).
std::shared_ptr<const BaseGameIndex> SharedBaseGame(const std::string& basePath);

// Splits the level's names again by `stock`: every name of TextureList and
// StockTextures goes to StockTextures when stock.texture(name), else to
// TextureList; the sounds likewise with stock.sound. Each list ends sorted as
// the scan sorts it. With the folder-name rules (StockRule()) the lists come
// out exactly as the scan made them, so it may be applied whenever the rule
// changes: after a load with a base game, and again when the base game changes.
void ApplyStockRule(LoadedLevel& level, const StockRule& stock);

}  // namespace corvane
