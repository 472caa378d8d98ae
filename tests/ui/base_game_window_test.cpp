// The window's level lists follow the base game set in Configure: what the
// base game has is the game's own and is not listed, whatever its folder.

#include <filesystem>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "archive/archive_bytes.h"
#include "support/game_files.h"
#include "transfer_fixture.h"
#include "ui_fixture.h"

namespace corvane::ui::test {
namespace {

namespace fs = std::filesystem;

class BaseGameWindow : public UiTest {
protected:
    // The small level (town/wall, town/floor, e1u1/metal; town/bell.wav) and
    // a base game that has town/floor (in a pak) and not e1u1/metal.
    void startWith(const std::string& baseGame)
    {
        maps = tree.dir("src/maps");
        tree.file("src/maps/small.map", kSmallLevel);
        base = tree.dir("game/baseq2");
        tree.file("game/baseq2/pak0.pak", corvane::test::PakBytes({{"textures/town/FLOOR.wal", "floor"},
                                                                   {"textures/e1u1/floor1_3.wal", "stock"}}));
        tree.file("game/baseq2/Sound/Town/Bell.wav", "bell");
        storeSettings(maps, tree.path("target"), "", "", baseGame);
        start();
        doubleClickEntry("small.map");
    }
    void configureBaseGame(const std::string& folder)
    {
        modals.then([folder](QDialog& dialog) {
            Control<QLineEdit>(dialog, "Edit5")->setText(QString::fromStdString(folder));
            Press(dialog, QStringLiteral("OK"));
        });
        ui().mnuConfigSetPaths->trigger();
    }

    std::string maps;
    std::string base;
};

TEST_F(BaseGameWindow, aCustomTextureInAnE1u1FolderIsListedWithABaseGame)
{
    startWith(tree.path("game/baseq2"));
    EXPECT_EQ(Entries(*ui().listWals), (QStringList{"e1u1/metal.wal", "town/wall.wal"}));
    EXPECT_EQ(Entries(*ui().listWavs), (QStringList{"No custom wavs"}));
    EXPECT_EQ(ui().lblWalCount->text(), QStringLiteral("2"));
    EXPECT_EQ(ui().lblWavCount->text(), QStringLiteral("0"));
    EXPECT_EQ(ui().level.StockTextures.entries(), (std::vector<std::string>{"town/floor.wal"}));
}

TEST_F(BaseGameWindow, configureSplitsTheLoadedLevelAgain)
{
    startWith("");
    EXPECT_EQ(Entries(*ui().listWals), (QStringList{"town/floor.wal", "town/wall.wal"}));
    EXPECT_EQ(Entries(*ui().listWavs), (QStringList{"town/bell.wav"}));

    configureBaseGame(base);
    EXPECT_EQ(Entries(*ui().listWals), (QStringList{"e1u1/metal.wal", "town/wall.wal"}));
    EXPECT_EQ(Entries(*ui().listWavs), (QStringList{"No custom wavs"}));

    configureBaseGame("");
    EXPECT_EQ(Entries(*ui().listWals), (QStringList{"town/floor.wal", "town/wall.wal"}));
    EXPECT_EQ(Entries(*ui().listWavs), (QStringList{"town/bell.wav"}));
}

TEST_F(BaseGameWindow, aBaseGameThatCannotBeReadIsSaidOnceAndTheFolderNamesDecide)
{
    SeenBox seen;
    modals.answerBox(QStringLiteral("OK"), &seen);
    startWith(tree.path("no baseq2"));
    EXPECT_EQ(seen.caption, QStringLiteral("Base game"));
    EXPECT_TRUE(seen.text.startsWith(QStringLiteral("Can't read the base game:"))) << seen.text.toStdString();
    EXPECT_EQ(Entries(*ui().listWals), (QStringList{"town/floor.wal", "town/wall.wal"}));

    // Loading the level again says nothing more.
    doubleClickEntry("small.map");
    EXPECT_TRUE(modals.done());
    EXPECT_EQ(Entries(*ui().listWals), (QStringList{"town/floor.wal", "town/wall.wal"}));
}

// The transfer takes the base game too: what it has is not shipped, the sky
// included.
TEST_F(TransferWindow, theTransferLeavesOutWhatTheBaseGameHas)
{
    makeWorkingTree();
    const std::string base = tree.dir("baseq2");
    tree.file("baseq2/pak0.pak", corvane::test::PakBytes({{"env/DUSKBK.PCX", "the game's sky"}}));
    tree.file("baseq2/patch.pk3", corvane::test::ZipBytes({{"textures/Town/Floor.wal", "the game's floor"},
                                                                      {"TEXTURES/E1U1/METAL.WAL", "metal"}}));
    storeSettings(maps, target, "", pellark, base);
    start();
    doubleClickEntry("town.map");
    ASSERT_EQ(main().mode(), WindowMode::MapLoaded);
    EXPECT_EQ(Entries(*ui().listWals), (QStringList{"dock/rope.wal", "town/wall.wal"}));
    useTarget(true, false);

    SeenBox sky;
    modals.answerBox(QStringLiteral("OK"), &sky);
    QStringList log;
    readLog(&log);
    ui().btnCreate->click();
    EXPECT_EQ(sky.text, QStringLiteral("Can't copy internal env file: dusk"));
    EXPECT_TRUE(fs::exists(tree.path("game/textures/town/wall.wal")));
    EXPECT_TRUE(fs::exists(tree.path("game/textures/dock/rope.wal")));
    EXPECT_FALSE(fs::exists(tree.path("game/textures/town/floor.wal")));
    EXPECT_FALSE(fs::exists(tree.path("game/env/duskbk.tga")));
    EXPECT_TRUE(log.contains(QStringLiteral("Copied: town/wall.wal"))) << log.join('\n').toStdString();
    EXPECT_FALSE(log.contains(QStringLiteral("Copied: town/floor.wal")));
}

}  // namespace
}  // namespace corvane::ui::test
