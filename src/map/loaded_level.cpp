#include "map/loaded_level.h"

namespace corvane {

void EmptyLoadedLevel(LoadedLevel& level)
{
    level.MapLines.clear();
    level.TextureList.clear();
    level.SoundList.clear();
    level.StockTextures.clear();
    level.StockSounds.clear();
}

}  // namespace corvane
