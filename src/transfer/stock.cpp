#include "transfer/stock.h"

#include "archive/base_game.h"
#include "map/loaded_level.h"
#include "map/scan.h"
#include "transfer/resource_names.h"
#include "transfer/sky_transfer.h"

namespace corvane {

namespace {

// The path's first component, ASCII case ignored, and what follows it.
bool StartsWithFolder(std::string_view path, std::string_view folder, std::string_view& rest)
{
    if (path.size() <= folder.size() || path[folder.size()] != '/')
        return false;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        const char c = path[i];
        if ((c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c) != folder[i])
            return false;
    }
    rest = path.substr(folder.size() + 1);
    return true;
}

}  // namespace

StockRule::StockRule(std::shared_ptr<const BaseGameIndex> base) : base_(std::move(base)) {}

bool StockRule::texture(std::string_view listed) const
{
    if (base_)
        return base_->Contains("textures/" + std::string(listed));
    return IsStockTexture(listed);
}

bool StockRule::sound(std::string_view listed) const
{
    if (base_)
        return base_->Contains("sound/" + TransferName(ResourceKind::Sounds, listed));
    return IsStockSound(listed);
}

bool StockRule::sky(std::string_view name) const
{
    if (!base_)
        return IsStockSkyName(std::string(name));
    for (const char* face : kSkyFaces) {
        for (const char* extension : {".pcx", ".tga"}) {
            if (base_->Contains("env/" + std::string(name) + face + extension))
                return true;
        }
    }
    return false;
}

bool StockRule::gameFile(std::string_view path) const
{
    if (base_)
        return base_->Contains(path);
    std::string_view rest;
    if (StartsWithFolder(path, "textures", rest))
        return IsStockTexture(rest);
    if (StartsWithFolder(path, "sound", rest))
        return IsStockSound(rest);
    return false;
}

StockRule StockRuleFor(const std::string& basePath)
{
    if (basePath.empty())
        return StockRule();
    std::shared_ptr<const BaseGameIndex> index = SharedBaseGame(basePath);
    if (!index || !index->ok())
        return StockRule();
    return StockRule(std::move(index));
}

BaseGameCache& SharedBaseGames()
{
    static BaseGameCache cache;
    return cache;
}

std::shared_ptr<const BaseGameIndex> SharedBaseGame(const std::string& basePath)
{
    if (basePath.empty())
        return nullptr;
    return SharedBaseGames().Get(basePath);
}

namespace {

template <typename IsStock>
void Split(ResourceList& custom, ResourceList& stock, IsStock isStock)
{
    ResourceList ours;
    ResourceList game;
    for (const ResourceList* list : {&custom, &stock}) {
        for (const std::string& name : *list)
            (isStock(name) ? game : ours).add(name);
    }
    ours.sort();
    game.sort();
    custom = std::move(ours);
    stock = std::move(game);
}

}  // namespace

void ApplyStockRule(LoadedLevel& level, const StockRule& stock)
{
    Split(level.TextureList, level.StockTextures, [&](const std::string& name) { return stock.texture(name); });
    Split(level.SoundList, level.StockSounds, [&](const std::string& name) { return stock.sound(name); });
}

}  // namespace corvane
