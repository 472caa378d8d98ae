// The views after a transfer: the size column and lblFsize, the comparison
// below texture and sound folders, the three tabs with their refusals,
// pooling the target's levels, and preview entered and left from each mode.

#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

#include "transfer/byte_total.h"
#include "ui/browser.h"
#include "transfer_fixture.h"

namespace corvane::ui::test {
namespace {

namespace fs = std::filesystem;

// What the user does: a click on a tab, which runs the tab handler.
void ClickTab(const MainWindowView& w, int index)
{
    w.TabControl1->setCurrentIndex(index);
}

// The left edge of a widget in the window, once the layout has settled.
int Left(const MainWindowView& w, QWidget* widget)
{
    w.window.centralWidget()->layout()->activate();
    QApplication::processEvents();
    return widget->mapTo(&w.window, QPoint(0, 0)).x();
}

using Views = TransferWindow;

TEST_F(Views, theFileListShowsASizeColumnAndLblFsizeTheirSixtyFourBitSum)
{
    const std::string folder = tree.dir("src/maps");
    tree.file("src/maps/a.wal", std::string(1234, 'a'));
    tree.file("src/maps/bbb.wal", "12345");
    tree.dir("src/empty");
    storeSettings(folder, "");
    start();
    const MainWindowView w = ui();
    EXPECT_EQ(Entries(*w.listFiles), (QStringList{"a.wal      1234", "bbb.wal       5"}));
    EXPECT_EQ(w.lblFsize->text(), QStringLiteral("1,239"));
    EXPECT_EQ(w.listFiles->currentRow(), 1);  // the last entry ends selected
    // The entries still name their files.
    EXPECT_EQ(w.listFiles->fileNames(), (std::vector<std::string>{"a.wal", "bbb.wal"}));

    // Beyond four gigabytes: nothing wraps, every group of three digits gets its comma.
    fs::resize_file(tree.path("src/maps/a.wal"), 5ull << 30);
    w.listDirs->setDirectory(tree.path("src/empty"));
    EXPECT_EQ(w.lblFsize->text(), QStringLiteral("0"));
    w.listDirs->setDirectory(folder);
    EXPECT_EQ(Entries(*w.listFiles), (QStringList{"a.wal  5368709120", "bbb.wal       5"}));
    EXPECT_EQ(w.lblFsize->text(), QStringLiteral("5,368,709,125"));
    // Outside the transferred state the comparison is left alone.
    EXPECT_EQ(w.TabControl1->tabText(1), QStringLiteral("N/A"));
}

TEST_F(Views, belowATextureFolderTheSecondTabComparesTheLevelsTexturesOfThatFolder)
{
    firstTransfer();
    const MainWindowView w = ui();
    tree.dir("game/textures/ow");
    w.listDirs->setDirectory(target + "/textures/town");
    EXPECT_TRUE(w.state.compareTextures);
    EXPECT_FALSE(w.state.compareSounds);
    EXPECT_EQ(w.TabControl1->tabText(1), QStringLiteral("Compare"));
    EXPECT_EQ(Entries(*w.listWals), (QStringList{"town/floor.wal", "town/wall.wal"}));
    EXPECT_EQ(w.lblWalCount->text(), QStringLiteral("2"));  // the files listed

    ClickTab(w, 1);
    EXPECT_EQ(w.state.lastTab, 1);
    EXPECT_TRUE(w.listWals->isVisible() && w.listDirs->isVisible() && w.lblWalCount->isVisible());
    EXPECT_TRUE(w.listFiles->isHidden() && w.cboDrive->isHidden() && w.lblFsize->isHidden());
    EXPECT_TRUE(w.listWavs->isHidden() && w.lblWavCount->isHidden());

    // A folder name matches anywhere in an entry. "N Files" counts the
    // entries it stands above, not the files of the (empty) folder.
    w.listDirs->setDirectory(target + "/textures/ow");
    EXPECT_EQ(Entries(*w.listWals), (QStringList{"town/floor.wal", "town/wall.wal"}));
    EXPECT_EQ(w.lblWalCount->text(), QStringLiteral("2"));
    w.listDirs->setDirectory(target + "/textures/dock");
    EXPECT_EQ(Entries(*w.listWals), QStringList{QStringLiteral("dock/rope.wal")});
    EXPECT_EQ(w.lblWalCount->text(), QStringLiteral("1"));

    // The textures folder itself has nothing to compare: back to the first
    // tab, which shows the browser again.
    w.listDirs->setDirectory(target + "/textures");
    EXPECT_EQ(w.TabControl1->tabText(1), QStringLiteral("N/A"));
    EXPECT_EQ(w.TabControl1->currentIndex(), 0);
    EXPECT_TRUE(w.listFiles->isVisible() && w.listWals->isHidden());
    EXPECT_EQ(w.lblWalCount->text(), QString::number(w.listFiles->count()));
    ClickTab(w, 2);
    ClickTab(w, 1);
    EXPECT_EQ(w.TabControl1->currentIndex(), 2);
    EXPECT_EQ(w.state.lastTab, 2);
    EXPECT_TRUE(w.listWals->isVisible() && w.listWavs->isVisible());
}

TEST_F(Views, belowASoundFolderTheSoundListMovesBesideTheTreeAndTheThirdTabPutsItBack)
{
    firstTransfer();
    const MainWindowView w = ui();
    w.listDirs->setDirectory(target + "/sound/town");
    EXPECT_TRUE(w.state.compareSounds);
    EXPECT_EQ(Entries(*w.listWavs), QStringList{QStringLiteral("town/bell.wav")});
    EXPECT_EQ(w.lblWavCount->text(), QStringLiteral("1"));
    EXPECT_EQ(w.TabControl1->tabText(1), QStringLiteral("Compare"));

    ClickTab(w, 1);
    EXPECT_TRUE(w.listWavs->isVisible() && w.lblWavCount->isVisible() && w.listDirs->isVisible());
    EXPECT_TRUE(w.listWals->isHidden() && w.lblWalCount->isHidden());
    EXPECT_GT(Left(w, w.listWavs), Left(w, w.listDirs));
    EXPECT_GT(Left(w, w.lblWavCount), Left(w, w.listDirs) + w.listDirs->width() / 2);

    // Another sound folder: its one file is not counted above the sounds.
    tree.file("game/sound/gulls/cry.wav", "RIFF");
    w.listDirs->setDirectory(target + "/sound/gulls");
    EXPECT_EQ(w.lblWavCount->text(), QStringLiteral("0"));
    EXPECT_TRUE(w.listWavs->isVisible() && w.lblWalCount->isHidden());
    w.listDirs->setDirectory(target + "/sound/town");

    // The level's lists, whole again, whatever the comparison filtered.
    ClickTab(w, 2);
    EXPECT_EQ(Entries(*w.listWals), (QStringList{"dock/rope.wal", "town/floor.wal", "town/wall.wal"}));
    EXPECT_EQ(Entries(*w.listWavs), QStringList{QStringLiteral("town/bell.wav")});
    EXPECT_EQ(w.lblWalCount->text(), QStringLiteral("3"));
    EXPECT_EQ(w.lblWavCount->text(), QStringLiteral("1"));
    EXPECT_TRUE(w.listDirs->isHidden() && w.listFiles->isHidden() && w.lblFsize->isHidden());
    EXPECT_TRUE(w.Label3->isVisible() && w.Label4->isVisible());
    EXPECT_LT(Left(w, w.listWavs), Left(w, w.listWals));
    EXPECT_LT(Left(w, w.lblWavCount), Left(w, w.listWals));

    // The first tab counts the files of the browsed folder.
    ClickTab(w, 0);
    EXPECT_EQ(w.lblWalCount->text(), QStringLiteral("1"));
    EXPECT_TRUE(w.listFiles->isVisible() && w.lblFsize->isVisible() && w.listWavs->isHidden());
}

TEST_F(Views, withALevelLoadedTheComparisonTabIsRefusedAndTheViewsStay)
{
    startWithTown();
    const MainWindowView w = ui();
    w.TabControl1->setTabText(1, QStringLiteral("Compare"));
    ClickTab(w, 1);
    EXPECT_EQ(w.TabControl1->currentIndex(), 0);  // LastTabIndex: nothing accepted yet
    EXPECT_EQ(w.state.lastTab, 0);
    EXPECT_TRUE(w.listWals->isVisible() && w.listFiles->isHidden());

    ClickTab(w, 2);
    ClickTab(w, 1);
    EXPECT_EQ(w.TabControl1->currentIndex(), 2);
}

TEST_F(Views, poolingGathersEveryLevelOfTheTargetAndNamesItInTheCaption)
{
    firstTransfer();
    const MainWindowView w = ui();
    const QString allCaption = "Corvane - " + S(target) + "/maps/ALL";
    tree.file("game/maps/quay.map",
              "{\n\"classname\" \"worldspawn\"\n{\n( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) town/wall 0 0 0\n"
              "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) quay/stone 0 0 0\n}\n}\n"
              "{\n\"classname\" \"target_speaker\"\n\"noise\" \"quay/gull.wav\"\n}\n");

    // No: only the caption changes.
    modals.answerBox(QStringLiteral("&No"));
    w.speedGroupMaps->click();
    EXPECT_EQ(w.windowTitle(), allCaption);
    EXPECT_EQ(w.TabControl1->tabText(2), QStringLiteral(".map"));
    EXPECT_EQ(w.level.TextureList.size(), 3u);

    SeenBox confirm;
    modals.answerBox(QStringLiteral("&Yes"), &confirm);
    w.speedGroupMaps->click();
    EXPECT_EQ(confirm.caption, QStringLiteral("Grouping cannot be undone!"));
    EXPECT_EQ(confirm.text, QStringLiteral("Group All Resources?"));
    EXPECT_EQ(confirm.icon, QMessageBox::Question);
    EXPECT_EQ(Entries(*w.listWals), (QStringList{"dock/rope.wal", "quay/stone.wal", "town/floor.wal", "town/wall.wal"}));
    EXPECT_EQ(Entries(*w.listWavs), (QStringList{"quay/gull.wav", "town/bell.wav"}));
    EXPECT_EQ(w.lblWalCount->text(), QStringLiteral("4"));
    EXPECT_EQ(w.lblWavCount->text(), QStringLiteral("2"));
    EXPECT_EQ(w.TabControl1->tabText(2), QStringLiteral(".maps"));
    EXPECT_EQ(w.TabControl1->currentIndex(), 2);
    EXPECT_EQ(w.windowTitle(), allCaption);
    EXPECT_EQ(w.state.mode, WindowMode::Transferred);
    EXPECT_EQ(w.level.CurrentMapPath, maps + "/town.map");
    EXPECT_EQ(w.statusText(0), QStringLiteral("Choose target directory"));
    EXPECT_TRUE(w.barProgress->isHidden());
    // The level view's switch lets Browse choose a target to preview.
    EXPECT_TRUE(w.btnBrowse->isEnabled());

    // One level is not enough; the caption is set all the same.
    fs::remove(tree.path("game/maps/quay.map"));
    w.window.setWindowTitle(QStringLiteral("elsewhere"));
    SeenBox one;
    modals.answerBox(QStringLiteral("OK"), &one);
    w.speedGroupMaps->click();
    EXPECT_EQ(one.caption, QStringLiteral("Can't group!"));
    EXPECT_EQ(one.text, QStringLiteral("Only one .map file found!"));
    EXPECT_EQ(w.windowTitle(), allCaption);
}

class PreviewMode : public TransferWindow {
protected:
    // A target from an earlier run: two files in maps, one texture.
    void makeOldTarget()
    {
        tree.file("game/maps/old.map", "{\n}\n");
        tree.file("game/maps/notes.txt", "1234567");
        tree.file("game/textures/old/a.wal", std::string(1000, 'w'));
    }
    // Preview, with the checks every mode shares.
    void enterPreview(WindowMode mode)
    {
        const MainWindowView w = ui();
        const QString panel0 = w.statusText(0);
        w.btnPreview->click();
        EXPECT_EQ(w.state.mode, WindowMode::Preview);
        EXPECT_EQ(w.state.modeBeforePreview, mode);
        EXPECT_EQ(w.listDirs->directory(), target + "/maps");
        EXPECT_EQ(w.listFiles->mask(), "*.*");
        EXPECT_TRUE(w.btnExitPreview->isVisible());
        EXPECT_EQ(w.TabControl1->currentIndex(), 0);
        EXPECT_TRUE(w.listFiles->isVisible());
        for (QWidget* off : std::initializer_list<QWidget*>{w.btnPreview, w.btnCreate, w.btnUseCurrent, w.btnBrowse})
            EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
        EXPECT_TRUE(w.barProgress->isHidden());
        EXPECT_EQ(w.statusText(0), panel0);  // the count's progress has gone again
    }
    void exitPreview()
    {
        const MainWindowView w = ui();
        w.btnExitPreview->click();
        EXPECT_TRUE(w.btnExitPreview->isHidden());
        EXPECT_EQ(w.listFiles->mask(), "*.map");
        EXPECT_EQ(w.listDirs->directory(), maps);
        EXPECT_EQ(w.statusText(1), QString());
        EXPECT_TRUE(w.btnBrowse->isEnabled());
    }
};

TEST_F(PreviewMode, fromTheStartItShowsTheTargetWithItsTotalAndReturnsToTheSource)
{
    makeWorkingTree();
    makeOldTarget();
    storeSettings(maps, target);
    start();
    const MainWindowView w = ui();
    ASSERT_TRUE(w.btnPreview->isEnabled());
    enterPreview(WindowMode::Idle);
    EXPECT_EQ(Entries(*w.listFiles), (QStringList{"notes.txt       7", "old.map         4"}));
    EXPECT_EQ(w.lblWalCount->text(), QStringLiteral("2"));
    EXPECT_EQ(w.lblFsize->text(), QStringLiteral("11"));
    EXPECT_EQ(w.statusText(1), QStringLiteral("Total Bytes:  1,011"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Corvane - "));  // no transfer yet
    EXPECT_FALSE(w.TabControl1->isEnabled());
    // The tree still looks into the target's other folders.
    w.listDirs->setDirectory(target + "/textures/old");
    EXPECT_EQ(w.lblFsize->text(), QStringLiteral("1,000"));

    exitPreview();
    EXPECT_EQ(w.state.mode, WindowMode::Idle);
    EXPECT_TRUE(w.btnPreview->isEnabled());
    EXPECT_FALSE(w.btnCreate->isEnabled());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Corvane - "));
}

TEST_F(PreviewMode, withALevelLoadedLeavingReloadsItAndUnlocksTheTransfer)
{
    makeWorkingTree();
    makeOldTarget();
    storeSettings(maps, target, "", pellark);
    start();
    doubleClickEntry("town.map");
    const MainWindowView w = ui();
    w.btnPreview->setEnabled(true);  // as Browse does when it picks an existing folder
    enterPreview(WindowMode::MapLoaded);
    EXPECT_TRUE(w.level.TextureList.size() == 3);

    exitPreview();
    EXPECT_EQ(w.state.mode, WindowMode::MapLoaded);
    EXPECT_TRUE(w.btnCreate->isEnabled() && w.btnUseCurrent->isEnabled());
    EXPECT_EQ(Entries(*w.listWals), (QStringList{"dock/rope.wal", "town/floor.wal", "town/wall.wal"}));
    EXPECT_EQ(w.windowTitle(), S("Pellark's Corvane - " + maps + "/town.map"));
    EXPECT_FALSE(w.btnPreview->isEnabled());
}

TEST_F(PreviewMode, afterATransferAndPoolingLeavingRestoresTheTransferredStateWithEmptyLists)
{
    firstTransfer();
    const MainWindowView w = ui();
    w.btnPreview->setEnabled(true);
    enterPreview(WindowMode::Transferred);
    EXPECT_EQ(w.statusText(1), QStringLiteral("Total Bytes:  862"));  // 346 + 469 + 6 * 2 + 28 + 7
    EXPECT_EQ(w.windowTitle(), S("Corvane - " + target + "/maps/town.map"));

    exitPreview();
    EXPECT_EQ(w.state.mode, WindowMode::Transferred);
    EXPECT_EQ(Entries(*w.listWals).size(), 0);
    EXPECT_TRUE(w.level.TextureList.empty() && w.level.MapLines.empty());
    EXPECT_FALSE(w.btnCreate->isEnabled());
}

TEST_F(PreviewMode, itShowsTheFolderTheFieldShowsWhichBecomesTheTarget)
{
    makeWorkingTree();
    makeOldTarget();
    tree.file("other/maps/quay.map", "{\n}\n");
    storeSettings(maps, target);
    start();
    const MainWindowView w = ui();
    w.editGameDir->setText(S(tree.path("other")));
    ASSERT_TRUE(w.btnPreview->isEnabled());
    w.btnPreview->click();
    EXPECT_EQ(w.listDirs->directory(), tree.path("other/maps"));
    EXPECT_EQ(w.statusText(1), QStringLiteral("Total Bytes:  4"));
    EXPECT_EQ(shell->settings.TargPath, tree.path("other"));
    exitPreview();

    w.editGameDir->setText(QStringLiteral("other"));
    w.btnPreview->setEnabled(true);
    modals.answerBox(QStringLiteral("OK"));
    w.btnPreview->click();
    EXPECT_EQ(w.state.mode, WindowMode::Idle);
    EXPECT_EQ(w.listDirs->directory(), maps);
    EXPECT_EQ(shell->settings.TargPath, tree.path("other"));
}

TEST_F(PreviewMode, aTargetWithoutMapsIsRefusedAndNothingChanges)
{
    makeWorkingTree();
    storeSettings(maps, target);
    start();
    SeenBox refused;
    modals.answerBox(QStringLiteral("OK"), &refused);
    ui().btnPreview->setEnabled(true);
    ui().btnPreview->click();
    EXPECT_EQ(refused.caption, QStringLiteral("Error"));
    EXPECT_EQ(refused.text, S("Directory does not exist:\n" + target + "/maps"));
    EXPECT_EQ(refused.icon, QMessageBox::Warning);
    EXPECT_EQ(main().mode(), WindowMode::Idle);
    EXPECT_TRUE(ui().btnExitPreview->isHidden());
    EXPECT_EQ(ui().listDirs->directory(), maps);
}

}  // namespace
}  // namespace corvane::ui::test
