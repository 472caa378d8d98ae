// What is the game's own: the folder-name rules without a base game, the base
// game's files with one (ApplyStockRule, StockRule::sky, DecideSky).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/archive_bytes.h"
#include "archive/base_game.h"
#include "map/level_lines.h"
#include "map/loaded_level.h"
#include "map/scan.h"
#include "support/temp_tree.h"
#include "transfer/sky_transfer.h"
#include "transfer/stock.h"

namespace corvane {
namespace {

using test::PakBytes;
using test::ZipBytes;

// A level whose faces and noises name these textures and sounds.
LoadedLevel Scanned(const std::vector<std::string>& textures, const std::vector<std::string>& sounds)
{
    std::string text = "{\n\"classname\" \"worldspawn\"\n{\n";
    for (const std::string& texture : textures)
        text += "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) " + texture + " 0 0 0 1 1\n";
    text += "}\n}\n";
    for (const std::string& sound : sounds)
        text += "{\n\"classname\" \"target_speaker\"\n\"noise\" \"" + sound + "\"\n}\n";
    LoadedLevel level;
    level.MapLines = LevelLines::FromText(text);
    ScanTexturesAndSounds(level);
    return level;
}

const std::vector<std::string> kTextures = {"e1u1/floor1_3", "E1U2/BASIC1_7", "e1u1/mine", "town/wall",
                                            "town/Gate",     "e3u3/sky",      "e2u1/Mine2"};
const std::vector<std::string> kSounds = {"world/amb1.wav", "world/mine.wav", "misc/bell", "town/Horn.wav",
                                          "World/AMB2.wav"};

// loose files, a pak and a pk3, names in more than one case.
class StockWithBaseGame : public ::testing::Test {
protected:
    test::TempTree tree;
    std::string base = tree.dir("baseq2");

    void SetUp() override
    {
        tree.file("baseq2/pak0.pak", PakBytes({{"textures/e1u1/floor1_3.wal", "floor"},
                                                {"textures/e3u3/sky.wal", "sky"},
                                                {"sound/world/amb1.wav", "amb"},
                                                {"env/unit1_bk.pcx", "sky"}}));
        tree.file("baseq2/patch.pk3", ZipBytes({{"Textures/e1u2/basic1_7.wal", "basic"},
                                                {"ENV/DUSKUP.TGA", "dusk"}}));
        tree.file("baseq2/SOUND/Misc/BELL.WAV", "bell");
        tree.file("baseq2/sound/world/amb2.wav", "amb2");
        tree.file("baseq2/env/dawnrt.jpg", "not a sky image the rule looks at");
    }
};

TEST(StockFolderRules, splitTheListsExactlyAsTheScanDoes)
{
    LoadedLevel level = Scanned(kTextures, kSounds);
    const LoadedLevel scanned = level;
    ApplyStockRule(level, StockRule());
    EXPECT_EQ(level.TextureList.entries(), scanned.TextureList.entries());
    EXPECT_EQ(level.StockTextures.entries(), scanned.StockTextures.entries());
    EXPECT_EQ(level.SoundList.entries(), scanned.SoundList.entries());
    EXPECT_EQ(level.StockSounds.entries(), scanned.StockSounds.entries());
    EXPECT_EQ(level.StockTextures.entries(),
              (std::vector<std::string>{"e1u1/floor1_3.wal", "e1u1/mine.wal", "e2u1/Mine2.wal", "e3u3/sky.wal"}));
    EXPECT_EQ(level.StockSounds.entries(), (std::vector<std::string>{"world/amb1.wav", "world/mine.wav"}));

    // An empty path and an unreadable base game are the folder rules.
    EXPECT_FALSE(StockRuleFor("").hasBaseGame());
    test::TempTree tree;
    EXPECT_FALSE(StockRuleFor(tree.path("no such folder")).hasBaseGame());
    EXPECT_FALSE(SharedBaseGame(tree.path("no such folder"))->ok());
}

TEST(StockFolderRules, skiesByTheGamesNames)
{
    EXPECT_EQ(DecideSky("unit1_").verdict, SkyVerdict::Stock);
    EXPECT_EQ(DecideSky("space1").verdict, SkyVerdict::Stock);
    EXPECT_EQ(DecideSky("dusk").verdict, SkyVerdict::Transfer);
    EXPECT_EQ(DecideSky("").verdict, SkyVerdict::NotSpecified);
    EXPECT_EQ(DecideSky("a/b").verdict, SkyVerdict::NotAllowed);
}

TEST_F(StockWithBaseGame, whatTheBaseGameHasIsStockWhateverItsFolderOrCase)
{
    LoadedLevel level = Scanned(kTextures, kSounds);
    ApplyStockRule(level, StockRuleFor(base));

    // A custom texture in an e1u1 folder is shipped; E1U2/BASIC1_7 is the game's own.
    EXPECT_EQ(level.TextureList.entries(), (std::vector<std::string>{"e1u1/mine.wal", "e2u1/Mine2.wal",
                                                                     "town/Gate.wal", "town/wall.wal"}));
    EXPECT_EQ(level.StockTextures.entries(),
              (std::vector<std::string>{"E1U2/BASIC1_7.wal", "e1u1/floor1_3.wal", "e3u3/sky.wal"}));
    // "misc/bell" is sound/misc/bell.wav; a sound in world/ the base game lacks is shipped.
    EXPECT_EQ(level.SoundList.entries(), (std::vector<std::string>{"town/Horn.wav", "world/mine.wav"}));
    EXPECT_EQ(level.StockSounds.entries(),
              (std::vector<std::string>{"World/AMB2.wav", "misc/bell", "world/amb1.wav"}));

    // Split again without it: the folder rules, as the scan made the lists.
    ApplyStockRule(level, StockRule());
    const LoadedLevel scanned = Scanned(kTextures, kSounds);
    EXPECT_EQ(level.TextureList.entries(), scanned.TextureList.entries());
    EXPECT_EQ(level.StockTextures.entries(), scanned.StockTextures.entries());
    EXPECT_EQ(level.SoundList.entries(), scanned.SoundList.entries());
    EXPECT_EQ(level.StockSounds.entries(), scanned.StockSounds.entries());
}

TEST_F(StockWithBaseGame, aSkyIsStockWhenTheBaseGameHasAnImageOfIt)
{
    const StockRule stock = StockRuleFor(base);
    ASSERT_TRUE(stock.hasBaseGame());
    EXPECT_TRUE(stock.sky("unit1_"));  // env/unit1_bk.pcx in the pak
    EXPECT_TRUE(stock.sky("dusk"));    // ENV/DUSKUP.TGA in the pk3
    EXPECT_TRUE(stock.sky("Dusk"));
    EXPECT_FALSE(stock.sky("dawn"));   // only a .jpg
    EXPECT_FALSE(stock.sky("unit2_")); // a game sky name the base game lacks
    EXPECT_FALSE(stock.sky("unit1"));

    EXPECT_EQ(DecideSky("dusk", stock).verdict, SkyVerdict::Stock);
    EXPECT_EQ(DecideSky("unit2_", stock).verdict, SkyVerdict::Transfer);
    EXPECT_EQ(DecideSky("dawn", stock).verdict, SkyVerdict::Transfer);
    EXPECT_EQ(DecideSky("", stock).verdict, SkyVerdict::NotSpecified);
    EXPECT_EQ(DecideSky("../dusk", stock).verdict, SkyVerdict::NotAllowed);
}

TEST_F(StockWithBaseGame, gameFilesByTheirPath)
{
    const StockRule stock = StockRuleFor(base);
    EXPECT_TRUE(stock.texture("E1U2/BASIC1_7.wal"));
    EXPECT_FALSE(stock.texture("e1u1/mine.wal"));
    EXPECT_TRUE(stock.sound("misc/bell"));
    EXPECT_TRUE(stock.sound("MISC/bell.wav"));
    EXPECT_FALSE(stock.sound("world/mine.wav"));
    EXPECT_TRUE(stock.gameFile("textures/e1u1/floor1_3.wal"));
    EXPECT_FALSE(stock.gameFile("textures/e1u1/mine.wal"));
}

}  // namespace
}  // namespace corvane
