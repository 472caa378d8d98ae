// Loading a level from the window: the double-click in the browser, File >
// Open, the read-failure box, the switch to the level view, the pak hand-off,
// and File > New back to the start.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QAction>
#include <QLabel>
#include <QCheckBox>
#include <QRadioButton>

#include "ui/browser.h"
#include "ui_fixture.h"

namespace corvane::ui::test {
namespace {

namespace fs = std::filesystem;

// Waits until a file has content, for what a started program writes.
std::string AwaitFile(const std::string& path)
{
    for (int i = 0; i < 200; ++i) {
        std::ifstream file(path);
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (!text.empty() && text.back() == '\n')
            return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return "<nothing>";
}

class LevelLoading : public UiTest {
protected:
    // A pak utility that writes its working directory and arguments to a file.
    std::string fakePakUtility()
    {
        const std::string script = tree.file("bin/paked", "#!/bin/sh\n{ pwd; echo \"$@\"; } > \"" +
                                                              tree.path("paked.out") + "\"\n");
        fs::permissions(script, fs::perms::owner_all);
        return script;
    }
};

TEST_F(LevelLoading, doubleClickLoadsTheEntrysOwnFileWhateverBlanksItsPathHolds)
{
    const std::string maps = tree.dir("my maps/town hall");
    tree.file("my maps/town hall/start level.map", kSmallLevel);
    tree.file("my maps/town hall/notes.txt", "not listed");
    storeSettings(maps, tree.dir("game"));
    start();
    EXPECT_EQ(ui().listFiles->fileNames(), std::vector<std::string>{"start level.map"});
    shell->settings.SrcPath = "/elsewhere";
    doubleClickEntry("start level.map");

    const MainWindowView w = ui();
    const std::string path = maps + "/start level.map";
    EXPECT_EQ(w.state.mode, WindowMode::MapLoaded);
    EXPECT_EQ(shell->settings.SrcPath, maps);
    EXPECT_EQ(w.level.CurrentMapPath, path);
    EXPECT_EQ(w.windowTitle(), QString::fromStdString("Pellark's Corvane - " + path));
    // The level view.
    EXPECT_EQ(Entries(*w.listWals), (QStringList{QStringLiteral("town/floor.wal"), QStringLiteral("town/wall.wal")}));
    EXPECT_EQ(Entries(*w.listWavs), QStringList{QStringLiteral("town/bell.wav")});
    EXPECT_EQ(w.lblWalCount->text(), QStringLiteral("2"));
    EXPECT_EQ(w.lblWavCount->text(), QStringLiteral("1"));
    EXPECT_FALSE(w.listWals->isHidden() || w.listWavs->isHidden() || w.Label3->isHidden() || w.Label4->isHidden());
    EXPECT_TRUE(w.listFiles->isHidden() && w.listDirs->isHidden() && w.cboDrive->isHidden());
    EXPECT_TRUE(w.TabControl1->isEnabled());
    EXPECT_EQ(w.TabControl1->currentIndex(), 2);
    EXPECT_EQ(w.statusText(0), QStringLiteral("Choose target directory"));
    EXPECT_EQ(w.editGameDir->text(), QString::fromStdString(tree.path("game")));
    EXPECT_TRUE(w.btnUseCurrent->isEnabled());
    EXPECT_FALSE(w.btnPreview->isEnabled());
}

TEST_F(LevelLoading, aLevelWithoutCustomResourcesShowsThePlaceholders)
{
    const std::string maps = tree.dir("maps");
    tree.file("maps/stock.map", "{\n\"classname\" \"worldspawn\"\n{\n( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) e1u1/metal 0 0 0\n}\n}\n");
    storeSettings(maps, "");
    start();
    doubleClickEntry("stock.map");
    EXPECT_EQ(Entries(*ui().listWals), QStringList{QStringLiteral("No custom textures")});
    EXPECT_EQ(Entries(*ui().listWavs), QStringList{QStringLiteral("No custom wavs")});
    EXPECT_EQ(ui().lblWalCount->text(), QStringLiteral("0"));
    EXPECT_EQ(ui().lblWavCount->text(), QStringLiteral("0"));
    EXPECT_TRUE(ui().btnUseCurrent->isEnabled() == false);
}

TEST_F(LevelLoading, aFailedReadAsksAbortRetryIgnoreAndRetryReadsAgain)
{
    const std::string maps = tree.dir("maps");
    const std::string level = tree.file("maps/late.map", kSmallLevel);
    storeSettings(maps, "");
    start();
    fs::rename(level, tree.path("late.map.away"));

    SeenBox failure;
    modals.then([&](QDialog& dialog) {
        auto& box = static_cast<QMessageBox&>(dialog);
        failure = {box.windowTitle(), box.text(), box.icon(), {}};
        for (QAbstractButton* button : box.buttons())
            failure.buttons << button->text();
        fs::rename(tree.path("late.map.away"), level);  // the file is back
        Press(box, QStringLiteral("&Retry"));
    });
    const std::size_t beeps = shell->host.alertCount();
    doubleClickEntry("late.map");

    EXPECT_EQ(shell->host.alertCount(), beeps + 1);
    EXPECT_EQ(failure.caption, QStringLiteral("Error"));
    EXPECT_EQ(failure.text, QStringLiteral("Can't open file!"));
    EXPECT_EQ(failure.icon, QMessageBox::NoIcon);
    EXPECT_EQ(failure.buttons.size(), 3);
    EXPECT_TRUE(failure.buttons.contains(QStringLiteral("&Abort")) && failure.buttons.contains(QStringLiteral("&Ignore")));
    EXPECT_EQ(ui().lblWalCount->text(), QStringLiteral("2"));
    EXPECT_EQ(main().statusText(0), QStringLiteral("Choose target directory"));
}

TEST_F(LevelLoading, abortLeavesTheBrowserAndTheEmptiedListsButKeepsTheMode)
{
    const std::string maps = tree.dir("maps");
    const std::string level = tree.file("maps/gone.map", kSmallLevel);
    storeSettings(maps, "");
    start();
    fs::remove(level);
    modals.answerBox(QStringLiteral("&Abort"));
    doubleClickEntry("gone.map");
    EXPECT_EQ(main().mode(), WindowMode::MapLoaded);
    EXPECT_EQ(main().windowTitle(), QString::fromStdString("Pellark's Corvane - " + level));
    EXPECT_FALSE(ui().listFiles->isHidden());
    EXPECT_TRUE(ui().listWals->isHidden());
    EXPECT_EQ(Entries(*ui().listWals).size(), 0);
    EXPECT_EQ(main().statusText(0), QStringLiteral("Select a .map file"));
}

TEST_F(LevelLoading, aLevelThatCannotBeScannedIsReportedAndTheNextCommandRuns)
{
    const std::string maps = tree.dir("maps");
    tree.file("maps/flat.map", "{ only one brace line\nno more\n");
    tree.file("maps/good.map", kSmallLevel);
    storeSettings(maps, "");
    start();
    SeenBox error;
    modals.answerBox(QStringLiteral("OK"), &error);
    doubleClickEntry("flat.map");
    EXPECT_EQ(error.caption, QStringLiteral("Corvane"));
    EXPECT_EQ(error.text, QStringLiteral("List index out of bounds."));
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_FALSE(ui().listFiles->isHidden());

    // The window stays usable: the mode is left as the failed load set it,
    // and File > New brings the start state back for the next load.
    ui().mnuFileNew->trigger();
    doubleClickEntry("good.map");
    EXPECT_EQ(ui().lblWalCount->text(), QStringLiteral("2"));
}

TEST_F(LevelLoading, fileOpenNamesTheSourceAndShowsOnlyTheSecondLevelsResources)
{
    const std::string maps = tree.dir("maps");
    const std::string first = tree.file("maps/first.map", kSmallLevel);
    const std::string second = tree.file(
        "maps/second.map", "// two\n{\n( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) dock/rope 0 0 0\n}\n");
    storeSettings(maps, "");
    start();
    QString title, fileName;
    for (const std::string& level : {first, second}) {
        modals.then([&, level](QDialog& dialog) {
            auto& open = static_cast<QFileDialog&>(dialog);
            title = open.windowTitle();
            auto* name = open.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            fileName = name->text();
            name->setText(QString::fromStdString(level));  // typed by the user
            static_cast<QDialog&>(open).accept();
        });
        ui().mnuFileOpen->trigger();
    }
    EXPECT_EQ(title, QString::fromStdString("Open " + maps));
    EXPECT_EQ(fileName, QStringLiteral("*.map"));
    EXPECT_EQ(ui().dlgOpen->directory().absolutePath(), QString::fromStdString(maps));
    EXPECT_EQ(main().windowTitle(), QString::fromStdString("Pellark's Corvane - " + second));
    EXPECT_EQ(Entries(*ui().listWals), QStringList{QStringLiteral("dock/rope.wal")});
    EXPECT_EQ(Entries(*ui().listWavs), QStringList{QStringLiteral("No custom wavs")});

    // Cancelling the dialog changes nothing.
    modals.then([](QDialog& dialog) { dialog.reject(); });
    ui().mnuFileOpen->trigger();
    EXPECT_EQ(main().level().CurrentMapPath, second);
}

// Loading another level over one whose options were set leaves nothing of the
// first: the window is as after a first load of the second.
TEST_F(LevelLoading, anotherLevelStartsAsAFirstLoadWithNothingOfTheEarlierOne)
{
    const std::string maps = tree.dir("maps");
    tree.file("maps/first.map", kSmallLevel);
    const std::string second = tree.file(
        "maps/second.map", "{\n\"classname\" \"worldspawn\"\n\"sky\" \"night\"\n{\n"
                           "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) dock/rope 0 0 0\n}\n}\n");
    storeSettings(maps, tree.dir("game"), "", tree.dir("pellark"));
    start();
    doubleClickEntry("first.map");
    ui().btnUseCurrent->click();
    ui().chbxSky->click();
    ui().chbxPellark->click();
    ASSERT_EQ(ui().lblSky->text(), QStringLiteral("dusk"));
    ASSERT_FALSE(ui().lblPellark->text().isEmpty());

    modals.then([&](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
            ->setText(QString::fromStdString(second));
        dialog.accept();
    });
    ui().mnuFileOpen->trigger();

    const MainWindowView w = ui();
    EXPECT_EQ(w.state.mode, WindowMode::MapLoaded);
    EXPECT_EQ(w.windowTitle(), QString::fromStdString("Pellark's Corvane - " + second));
    EXPECT_FALSE(w.chbxSky->isChecked() || w.chbxPellark->isChecked());
    EXPECT_EQ(w.lblSky->text(), QString());
    EXPECT_EQ(w.lblPellark->text(), QString());
    for (QWidget* locked : std::initializer_list<QWidget*>{w.btnCreate, w.optionCopy, w.optionMove, w.chbxSky,
                                                           w.chbxPellark})
        EXPECT_FALSE(locked->isEnabled()) << locked->objectName().toStdString();
    EXPECT_TRUE(w.btnUseCurrent->isEnabled() && w.btnBrowse->isEnabled());
    EXPECT_EQ(Entries(*w.listWals), QStringList{QStringLiteral("dock/rope.wal")});
    EXPECT_EQ(Entries(*w.listWavs), QStringList{QStringLiteral("No custom wavs")});
    EXPECT_EQ(w.lblWalCount->text(), QStringLiteral("1"));
    EXPECT_EQ(w.lblWavCount->text(), QStringLiteral("0"));
    EXPECT_EQ(w.statusText(0), QStringLiteral("Choose target directory"));

    // The sky box now names the second level's sky.
    w.btnUseCurrent->click();
    w.chbxSky->click();
    EXPECT_EQ(w.lblSky->text(), QStringLiteral("night"));
}

TEST_F(LevelLoading, afterFileNewTheNextLoadShowsItsCountsAgain)
{
    const std::string maps = tree.dir("maps");
    tree.file("maps/small.map", kSmallLevel);
    storeSettings(maps, "");
    start();
    doubleClickEntry("small.map");
    ui().mnuFileNew->trigger();
    ASSERT_TRUE(ui().lblWalCount->isHidden());
    doubleClickEntry("small.map");
    EXPECT_TRUE(ui().lblWalCount->isVisible() && ui().lblWavCount->isVisible());
    EXPECT_EQ(ui().lblWalCount->text(), QStringLiteral("2"));
    EXPECT_EQ(ui().lblWavCount->text(), QStringLiteral("1"));
    // The level view shows no byte sum of the hidden browser.
    EXPECT_TRUE(ui().lblFsize->isHidden());
}

TEST_F(LevelLoading, aLevelNamedOnTheCommandLineLoadsAsFileOpenWould)
{
    const std::string maps = tree.dir("maps");
    const std::string level = tree.file("maps/first.map", kSmallLevel);
    const std::string elsewhere = tree.dir("elsewhere");
    storeSettings(elsewhere, "");
    start();

    // As a relative path with a detour, from the folder the program was started in.
    const fs::path relative = fs::relative(tree.path("maps/../maps/first.map"));
    ASSERT_TRUE(relative.is_relative());
    shell->openLevel(relative.string());

    EXPECT_EQ(main().mode(), WindowMode::MapLoaded);
    EXPECT_EQ(main().level().CurrentMapPath, level);
    EXPECT_EQ(main().windowTitle(), QString::fromStdString("Pellark's Corvane - " + level));
    EXPECT_EQ(Entries(*ui().listWals),
              (QStringList{QStringLiteral("town/floor.wal"), QStringLiteral("town/wall.wal")}));
    EXPECT_FALSE(ui().btnPreview->isEnabled());
    EXPECT_EQ(main().statusText(0), QStringLiteral("Choose target directory"));
    // File > Open does not change the source folder, and neither does this.
    EXPECT_EQ(shell->settings.SrcPath, elsewhere);

    // A level that is not there gets File > Open's box, and the window stays usable.
    SeenBox failure;
    modals.answerBox(QStringLiteral("&Abort"), &failure);
    shell->openLevel(tree.path("maps/gone.map"));
    EXPECT_EQ(failure.text, QStringLiteral("Can't open file!"));
    shell->openLevel(level);
    EXPECT_EQ(main().level().CurrentMapPath, level);
}

TEST_F(LevelLoading, withALevelLoadedAPakFileGoesToThePakUtilityByItsOwnExtension)
{
    const std::string folder = tree.dir("game.old/pak files");
    tree.file("game.old/pak files/pak0.pak", "PACK");
    tree.file("game.old/pak files/base1.bsp", "IBSP");
    tree.file("game.old/pak files/PAK1.PAK", "PACK");
    tree.file("game.old/pak files/start.map", kSmallLevel);
    storeSettings(folder, "", fakePakUtility());
    start();
    ui().listFiles->setMask("*.*");
    doubleClickEntry("start.map");
    ASSERT_EQ(main().mode(), WindowMode::MapLoaded);
    // The browser is hidden in the level view but still knows its folder.
    ui().listFiles->setVisible(true);

    doubleClickEntry("base1.bsp");
    doubleClickEntry("pak0.pak");
    EXPECT_EQ(AwaitFile(tree.path("paked.out")), folder + "\n" + folder + "/pak0.pak\n");
    EXPECT_EQ(main().level().CurrentMapPath, folder + "/start.map");

    fs::remove(tree.path("paked.out"));
    doubleClickEntry("PAK1.PAK");
    EXPECT_EQ(AwaitFile(tree.path("paked.out")), folder + "\n" + folder + "/PAK1.PAK\n");

    // Without a utility, the window says so rather than nothing.
    shell->settings.PakPath.clear();
    SeenBox none;
    modals.answerBox(QStringLiteral("OK"), &none);
    doubleClickEntry("pak0.pak");
    EXPECT_EQ(none.text, QStringLiteral("Could not start the pak utility:\n\nNone is set: choose it with Configure > Set paths..."));
}

TEST_F(LevelLoading, fileNewReturnsToTheStartStateAndListsOnlyLevels)
{
    const std::string maps = tree.dir("maps");
    tree.file("maps/small.map", kSmallLevel);
    tree.file("maps/small.bsp", "IBSP");
    tree.file("maps/wall.wal", "WAL");
    storeSettings(maps, tree.dir("game"));
    start();
    EXPECT_EQ(ui().listFiles->fileNames(), (std::vector<std::string>{"small.bsp", "small.map", "wall.wal"}));
    doubleClickEntry("small.map");
    ui().btnUseCurrent->click();
    ui().chbxSky->click();
    ui().TabControl1->setTabText(1, QStringLiteral("Compare"));
    ui().listDirs->setDirectory(tree.root());

    ui().mnuFileNew->trigger();
    const MainWindowView w = ui();
    EXPECT_EQ(w.state.mode, WindowMode::Idle);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Pellark's Corvane"));
    EXPECT_EQ(w.listDirs->directory(), maps);
    EXPECT_EQ(w.listFiles->fileNames(), std::vector<std::string>{"small.map"});
    EXPECT_FALSE(w.listFiles->isHidden() || w.listDirs->isHidden() || w.cboDrive->isHidden());
    EXPECT_TRUE(w.listWals->isHidden() && w.listWavs->isHidden() && w.Label3->isHidden());
    EXPECT_TRUE(w.lblWalCount->isHidden() && w.lblWavCount->isHidden());
    EXPECT_TRUE(w.btnBrowse->isEnabled());
    EXPECT_FALSE(w.btnCreate->isEnabled() || w.optionMove->isEnabled() || w.optionCopy->isEnabled());
    EXPECT_FALSE(w.chbxSky->isChecked() || w.chbxSky->isEnabled());
    EXPECT_EQ(w.lblSky->text(), QString());
    EXPECT_FALSE(w.btnUseCurrent->isEnabled());
    EXPECT_TRUE(w.mnuFileOpen->isEnabled());
    EXPECT_FALSE(w.TabControl1->isEnabled());
    EXPECT_EQ(w.TabControl1->currentIndex(), 0);
    EXPECT_EQ(w.TabControl1->tabText(1), QStringLiteral("N/A"));
    EXPECT_EQ(w.statusText(0), QStringLiteral("Select a file"));
    EXPECT_TRUE(w.level.TextureList.empty() && w.level.MapLines.empty());
    // Left alone: the target field, the hidden lists' items and CurrentMapPath.
    EXPECT_EQ(w.editGameDir->text(), QString::fromStdString(tree.path("game")));
    EXPECT_EQ(Entries(*w.listWals).size(), 2);
    EXPECT_EQ(w.level.CurrentMapPath, maps + "/small.map");
    EXPECT_TRUE(w.btnPreview->isEnabled() == false);
}

TEST_F(LevelLoading, fileNewWithoutASourceFolderLeavesTheBrowserAtTheRoot)
{
    storeSettings("", "");
    modals.answerBox(QStringLiteral("OK"));
    modals.then([](QDialog& dialog) { Press(dialog, QStringLiteral("Cancel")); });
    start();
    ui().listDirs->setDirectory(tree.root());
    ui().mnuFileNew->trigger();
    EXPECT_EQ(ui().listDirs->directory(), "/");
    EXPECT_EQ(ui().listFiles->mask(), "*.map");
}

}  // namespace
}  // namespace corvane::ui::test
