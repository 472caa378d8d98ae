#pragma once
// What is the game's own, and so never shipped. Without a base game the
// folder names decide (the texture folders e1u1..e3u3, the sound folder
// "world", the game's sky names); with one, the base game's files decide:
// a file is the game's own exactly when the base game has a file of that
// name, letter case ignored.

#include <memory>
#include <string>
#include <string_view>

namespace corvane {

class BaseGameIndex;

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

}  // namespace corvane
