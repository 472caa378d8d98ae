// The Transfer command in the real window: the prompts with their captions,
// lines, buttons and Escape, the log in the Information dialog, the window
// after the transfer, the two ways a transfer ends early, and the progress
// shown while it runs.

#include <chrono>
#include <filesystem>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "transfer/byte_total.h"
#include "ui/browser.h"
#include "ui/info_dialog.h"
#include "ui/prompt_dialog.h"
#include "transfer_fixture.h"

namespace corvane::ui::test {
namespace {

namespace fs = std::filesystem;

TEST_F(TransferWindow, aFirstTransferShowsTheLogAndLeavesTheWindowOnTheTargetsMaps)
{
    QString title;
    QStringList log, problems{"not read"};
    startWithTown();
    useTarget(true, true);
    EXPECT_EQ(ui().lblSky->text(), QStringLiteral("dusk"));
    EXPECT_EQ(ui().lblPellark->text(), S(pellark));
    readLog(&log, &title, &problems);
    ui().btnCreate->click();
    EXPECT_TRUE(problems.isEmpty()) << "nothing went wrong: no problems below the log";

    const QString t = S(target);
    EXPECT_EQ(title, QStringLiteral("Information"));
    EXPECT_EQ(log, (QStringList{
                       "Created: " + t, "Created: " + t + "/maps", "Copied: " + t + "/maps/town.bsp",
                       "Created: " + t + "/env", "Copied: " + t + "/env/duskbk.tga",
                       "Copied: " + t + "/env/duskft.tga", "Copied: " + t + "/env/dusklf.tga",
                       "Copied: " + t + "/env/duskrt.tga", "Copied: " + t + "/env/duskdn.tga",
                       "Copied: " + t + "/env/duskup.tga", "Created: " + t + "/textures/dock",
                       "Created: " + t + "/textures/town", "Created: " + t + "/sound/town",
                       "Copied: dock/rope.wal", "Copied: town/floor.wal", "Copied: town/wall.wal",
                       "Copied: town/bell.wav", "Copied: " + t + "/autoexec.cfg", "  ",
                       "=========================", "Pellark   models", "=========================",
                       "Created: " + t + "/models", "Copied: " + t + "/models/crate.md2"}));
    EXPECT_EQ(tree.read("game/maps/town.map"), tree.read("work/maps/town.map"));
    EXPECT_FALSE(fs::exists(tree.path("game/config.cfg")) || fs::exists(tree.path("game/help")));
    EXPECT_FALSE(fs::exists(tree.path("game/textures/dock/unused.wal")));

    const MainWindowView w = ui();
    EXPECT_EQ(w.state.mode, WindowMode::Transferred);
    EXPECT_EQ(w.statusText(0), QStringLiteral("Done!"));
    EXPECT_EQ(w.statusText(1), QStringLiteral("Total Bytes:  862"));  // 346 + 469 + 6 * 2 + 28 + 7
    EXPECT_EQ(w.windowTitle(), "Corvane - " + t + "/maps/town.map");
    for (QWidget* shown : std::initializer_list<QWidget*>{w.speedInfo, w.speedPakExp, w.speedWinExp, w.speedGroupMaps})
        EXPECT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
    EXPECT_TRUE(w.btnExitPreview->isHidden());
    for (QWidget* off : std::initializer_list<QWidget*>{w.cboDrive, w.btnCreate, w.btnBrowse, w.editGameDir,
                                                       w.optionMove, w.optionCopy, w.chbxPellark, w.chbxSky,
                                                       w.btnPreview})
        EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
    EXPECT_FALSE(w.mnuFileOpen->isEnabled());
    EXPECT_TRUE(w.barProgress->isHidden());
    EXPECT_FALSE(shell->frmInfo->isVisible());

    // The browser on every file of the target's maps folder, with the size column.
    EXPECT_EQ(w.listFiles->mask(), "*.*");
    EXPECT_EQ(w.listDirs->directory(), target + "/maps");
    EXPECT_EQ(Entries(*w.listFiles), (QStringList{"town.bsp     469", "town.map     " + QString::number(fs::file_size(tree.path("game/maps/town.map")))}));
    EXPECT_EQ(w.lblFsize->text(), QString::number(469 + fs::file_size(tree.path("game/maps/town.map"))));
    EXPECT_TRUE(w.TabControl1->isEnabled());
    EXPECT_EQ(w.TabControl1->currentIndex(), 0);
    EXPECT_EQ(w.TabControl1->tabText(1), QStringLiteral("N/A"));
    EXPECT_TRUE(w.listFiles->isVisible() && w.listDirs->isVisible() && w.cboDrive->isVisible());
    EXPECT_TRUE(w.listWals->isHidden() && w.listWavs->isHidden());
    EXPECT_EQ(w.lblWalCount->text(), QStringLiteral("2"));

    // "Display Info" shows the same log again, beside the window.
    w.speedInfo->click();
    EXPECT_TRUE(shell->frmInfo->isVisible());
    EXPECT_FALSE(shell->frmInfo->isModal());
    EXPECT_EQ(MemoLines(*Control<QPlainTextEdit>(*shell->frmInfo, "memoInfo")), log);
    Control<QPushButton>(*shell->frmInfo, "bbtnOkay")->click();
}

// What went wrong is summed up below the log, each with its reason, and
// what the compiled level says against its source follows; the log keeps
// its own lines.
TEST_F(TransferWindow, problemsAreShownBelowTheLog)
{
    makeWorkingTreeWithProblems();
    const std::string bsp = tree.path("work/maps/town.bsp");
    fs::last_write_time(bsp, fs::last_write_time(bsp) - std::chrono::hours(1));
    storeSettings(maps, target, "", pellark);
    start();
    doubleClickEntry("town.map");
    useTarget(false, false);
    answerPrompt("bbtnYes");  // the notice that rope.wal does not exist
    QStringList log, problems;
    readLog(&log, nullptr, &problems);
    ui().btnCreate->click();

    EXPECT_TRUE(log.contains(QStringLiteral("Does not exist:  ")));
    EXPECT_EQ(problems, (QStringList{"Problems: 0 failed, 1 missing, 1 refused",
                                     "Missing: " + S(tree.path("work/textures/dock/rope.wal")),
                                     "Refused: town/../../x: a '..' component",
                                     "Warning: the compiled level is older than its source"}));
    // "Display Info" shows them again below the log.
    const MainWindowView w = ui();
    w.speedInfo->click();
    EXPECT_TRUE(Control<QPlainTextEdit>(*shell->frmInfo, "memoProblems")->isVisible());
    Control<QPushButton>(*shell->frmInfo, "bbtnOkay")->click();
}

TEST_F(TransferWindow, aSecondTransferAsksBeforeEveryReplacementAndEscapeKeepsTheFile)
{
    firstTransfer();
    tree.file("work/textures/town/wall.wal", "wall, second edition");
    reloadTown(true, true);

    SeenPrompt goOn, bsp, sky, dock, town, sound, pellarkFile;
    answerPrompt("bbtnYes", &goOn);        // "Ok": go on into the existing target
    answerPrompt("Escape", &bsp);          // keep the .bsp
    answerPrompt("bbtnYes", &sky);         // replace the first sky face
    for (int face = 1; face < 6; ++face)
        answerPrompt("Escape");            // keep the other five
    answerPrompt("bbtnYes", &dock);        // dock/rope.wal
    answerPrompt("bbtnYesAll", &town);     // town/floor.wal, and town/wall.wal without asking
    answerPrompt("Escape", &sound);        // keep town/bell.wav
    answerPrompt("bbtnNoAll", &pellarkFile);  // autoexec.cfg, and every later Pellark file
    QStringList log;
    readLog(&log);
    ui().btnCreate->click();

    const QString t = S(target);
    EXPECT_EQ(goOn.caption, QStringLiteral("File Exists!"));
    EXPECT_EQ(goOn.lines, (QStringList{"Directory exists: ", t, "  ", "Continue?"}));
    EXPECT_EQ(goOn.buttons, (QStringList{"Ok", "Cancel"}));

    EXPECT_EQ(bsp.caption, QStringLiteral("File Exists!"));
    ASSERT_EQ(bsp.lines.size(), 7);
    EXPECT_EQ(bsp.lines[0], QStringLiteral("Overwrite?"));
    EXPECT_TRUE(bsp.lines[2].startsWith(t + "/maps/town.bsp\t"));
    EXPECT_EQ(bsp.lines[4], QStringLiteral("   with"));
    EXPECT_TRUE(bsp.lines[6].startsWith(S(maps) + "/town.bsp\t"));
    EXPECT_EQ(bsp.buttons, (QStringList{"&Yes", "&No"}));

    EXPECT_EQ(sky.caption, QStringLiteral("Environment file exists!"));
    EXPECT_EQ(sky.buttons, (QStringList{"&Yes", "&No"}));
    EXPECT_EQ(dock.caption, QStringLiteral("Textures dir exists! DOCK"));
    EXPECT_EQ(dock.buttons, (QStringList{"&Yes", "&No", "Ye&s to All", "No to &All "}));
    EXPECT_EQ(town.caption, QStringLiteral("Textures dir exists! TOWN"));
    EXPECT_EQ(sound.caption, QStringLiteral("Sounds dir exists! TOWN"));
    EXPECT_EQ(sound.buttons.size(), 4);
    EXPECT_EQ(pellarkFile.caption, QStringLiteral("Pellark file exists! "));
    EXPECT_EQ(pellarkFile.buttons.size(), 4);

    EXPECT_EQ(log, (QStringList{
                       "Already exists: " + t, "Already Exists: " + t + "/maps",
                       "Already exists: " + t + "/maps/town.bsp", "Already Exists: " + t + "/env",
                       "Copied: " + t + "/env/duskbk.tga\tOverwritten", "File Exists: " + t + "/env/duskft.tga",
                       "File Exists: " + t + "/env/dusklf.tga", "File Exists: " + t + "/env/duskrt.tga",
                       "File Exists: " + t + "/env/duskdn.tga", "File Exists: " + t + "/env/duskup.tga",
                       "Already exists: " + t + "/textures", "Already exists: " + t + "/textures/dock",
                       "Already exists: " + t + "/textures/town", "Already exists: " + t + "/sound",
                       "Already exists: " + t + "/sound/town", "Copied: dock/rope.wal\tOverwritten",
                       "Copied: town/floor.wal\tOverwritten", "Copied: town/wall.wal\tOverwritten",
                       "Already Exists: town/bell.wav", "Already Exists: " + t + "/autoexec.cfg", "  ",
                       "=========================", "Pellark   models", "=========================",
                       "Already Exists: " + t + "/models", "Already Exists: " + t + "/models/crate.md2"}));
    EXPECT_EQ(tree.read("game/textures/town/wall.wal"), "wall, second edition");
    EXPECT_EQ(main().mode(), WindowMode::Transferred);
    // The prompt's relabelled buttons have their design captions back.
    EXPECT_EQ(Control<QPushButton>(*shell->frmMyMsg, "bbtnYes")->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(Control<QPushButton>(*shell->frmMyMsg, "bbtnNoAll")->text(), QStringLiteral("No to &All "));
}

// The field is the one target of a transfer, typed and never left included.
TEST_F(TransferWindow, theTransferGoesWhollyToTheFolderTheFieldShows)
{
    startWithTown();
    useTarget(false, false);
    activate();
    const std::string other = tree.path("other game");
    typeInTarget(S(other));
    QStringList log;
    readLog(&log);
    ui().btnCreate->click();

    EXPECT_EQ(log.value(0), "Created: " + S(other));
    EXPECT_EQ(tree.read("other game/maps/town.bsp"), tree.read("work/maps/town.bsp"));
    EXPECT_EQ(tree.read("other game/textures/town/wall.wal"), "wall");
    EXPECT_FALSE(fs::exists(target)) << "nothing went to the old target";
    EXPECT_EQ(shell->settings.TargPath, other);
    EXPECT_EQ(ui().listDirs->directory(), other + "/maps");
    ui().mnuFileExit->trigger();
    EXPECT_EQ(stored("TargPath"), other);
}

TEST_F(TransferWindow, aRelativeTargetIsRefusedByTheTransferAndNothingIsWritten)
{
    startWithTown();
    useTarget(false, false);
    activate();
    typeInTarget(QStringLiteral("corvane-relative-target/game"));
    SeenBox refusal;
    modals.answerBox(QStringLiteral("OK"), &refusal);
    ui().btnCreate->click();

    EXPECT_EQ(refusal.text, QStringLiteral("Please specify a full path.\nExample: /home/user/MyLevel"));
    EXPECT_FALSE(fs::exists("corvane-relative-target"));
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(main().mode(), WindowMode::MapLoaded);
    EXPECT_TRUE(ui().btnCreate->isEnabled());
    EXPECT_EQ(shell->settings.TargPath, target);
}

TEST_F(TransferWindow, anEditedLevelIsAskedAboutBeforeItsBspAndYesShipsIt)
{
    firstTransfer();
    const std::string edited = tree.read("work/maps/town.map") + "// a light moved\n";
    tree.file("work/maps/town.map", edited);
    const QString t = S(target);
    for (const char* levelAnswer : {"Escape", "bbtnYes"}) {
        reloadTown(false, false);
        answerPrompt("bbtnYes");  // go on into the existing target
        SeenPrompt level, bsp;
        answerPrompt(levelAnswer, &level);
        answerPrompt("Escape", &bsp);
        for (int scope = 0; scope < 3; ++scope)
            answerPrompt("bbtnNoAll");  // dock/, town/, the sound
        QStringList log;
        readLog(&log);
        ui().btnCreate->click();

        EXPECT_EQ(level.caption, QStringLiteral("File Exists!"));
        ASSERT_EQ(level.lines.size(), 7);
        EXPECT_EQ(level.lines[0], QStringLiteral("Overwrite?"));
        EXPECT_TRUE(level.lines[2].startsWith(t + "/maps/town.map\t"));
        EXPECT_TRUE(level.lines[6].startsWith(S(maps) + "/town.map\t"));
        EXPECT_EQ(level.buttons, (QStringList{"&Yes", "&No"}));
        EXPECT_TRUE(bsp.lines.value(2).startsWith(t + "/maps/town.bsp\t"));
        const QString levelLine = levelAnswer == std::string("Escape")
                                      ? "Already exists: " + t + "/maps/town.map"
                                      : "Copied: " + t + "/maps/town.map\tOverwritten";
        EXPECT_EQ(log.mid(2, 2), (QStringList{levelLine, "Already exists: " + t + "/maps/town.bsp"}));
    }
    EXPECT_EQ(tree.read("game/maps/town.map"), edited);
}

// A click on Yes to All leaves the focus on it; the next folder's prompt must
// not take Enter for another Yes to All.
TEST_F(TransferWindow, afterAYesToAllTheNextFoldersPromptAnswersEnterWithNo)
{
    firstTransfer();
    tree.file("work/textures/town/wall.wal", "wall, second edition");
    reloadTown(false, false);
    answerPrompt("Enter");       // go on? Enter is Cancel ...
    SeenBox refused;
    modals.answerBox(QStringLiteral("OK"), &refused);
    ui().btnCreate->click();
    EXPECT_EQ(refused.text, "Didn't create target directory!\n" + S(target) + "\n\nChoose New from the File menu");

    answerPrompt("bbtnYes");     // ... and Ok goes on
    answerPrompt("Enter");       // the .bsp: No
    answerPrompt("bbtnYesAll");  // dock/
    answerPrompt("Enter");       // town/floor.wal: No
    answerPrompt("Enter");       // town/wall.wal, asked again: No
    answerPrompt("Enter");       // the sound: No
    QStringList log;
    readLog(&log);
    ui().btnCreate->click();
    EXPECT_TRUE(log.contains("Already exists: " + S(target) + "/maps/town.bsp"));
    EXPECT_TRUE(log.contains(QStringLiteral("Copied: dock/rope.wal\tOverwritten")));
    EXPECT_TRUE(log.contains(QStringLiteral("Already Exists: town/floor.wal")));
    EXPECT_TRUE(log.contains(QStringLiteral("Already Exists: town/wall.wal")));
    EXPECT_TRUE(log.contains(QStringLiteral("Already Exists: town/bell.wav")));
    EXPECT_EQ(tree.read("game/textures/town/wall.wal"), "wall");
}

TEST_F(TransferWindow, aToAllAnswerEndsWithItsTransferAndTheNextOneAsksAgain)
{
    firstTransfer();
    tree.file("pellark/autoexec.cfg", "exec 2");
    for (const char* pellarkAnswer : {"bbtnYesAll", "bbtnNoAll"}) {
        reloadTown(false, true);
        answerPrompt("bbtnYes");    // go on into the existing target
        answerPrompt("Escape");     // the .bsp
        answerPrompt("bbtnNoAll");  // dock/
        answerPrompt("bbtnNoAll");  // town/
        answerPrompt("bbtnNoAll");  // the sound
        SeenPrompt pellarkFile;
        answerPrompt(pellarkAnswer, &pellarkFile);
        readLog(nullptr);
        ui().btnCreate->click();
        EXPECT_EQ(pellarkFile.caption, QStringLiteral("Pellark file exists! ")) << pellarkAnswer;
    }
    EXPECT_EQ(tree.read("game/autoexec.cfg"), "exec 2");
}

TEST_F(TransferWindow, escapeOnTheContinueQuestionCancelsAndTheWindowStaysReadyToTryAgain)
{
    firstTransfer();
    reloadTown(false, false);
    SeenBox refused;
    answerPrompt("Escape");
    modals.answerBox(QStringLiteral("OK"), &refused);
    const std::size_t beeps = shell->host.alertCount();
    ui().btnCreate->click();

    EXPECT_EQ(refused.caption, QStringLiteral("Error"));
    EXPECT_EQ(refused.text, "Didn't create target directory!\n" + S(target) + "\n\nChoose New from the File menu");
    EXPECT_EQ(refused.icon, QMessageBox::Critical);
    EXPECT_EQ(shell->host.alertCount(), beeps + 2);  // the exclamation before the question, the error after
    EXPECT_EQ(main().mode(), WindowMode::MapLoaded);
    EXPECT_TRUE(ui().btnCreate->isEnabled() && ui().mnuFileOpen->isEnabled());
    EXPECT_TRUE(ui().speedInfo->isHidden());
    EXPECT_TRUE(ui().barProgress->isHidden());
}

TEST_F(TransferWindow, aLevelWithoutASkyKeyShowsNotFoundAndTheSkyStepFindsNoImages)
{
    makeWorkingTree();
    // Only the "sky" key names the sky: not a message that mentions one, not a comment.
    tree.file("work/maps/plain.map", "// sky: none yet\n{\n\"classname\" \"worldspawn\"\n"
                                     "\"message\" \"under a blue sky\"\n{\n"
                                     "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) town/wall 0 0 0\n}\n}\n");
    tree.file("work/maps/plain.bsp", "IBSP");
    storeSettings(maps, target);
    start();
    doubleClickEntry("plain.map");
    useTarget(true, false);
    EXPECT_EQ(ui().lblSky->text(), QStringLiteral("not found"));
    ui().chbxSky->click();
    EXPECT_EQ(ui().lblSky->text(), QString());
    ui().chbxSky->click();

    QStringList log;
    readLog(&log);
    ui().btnCreate->click();
    EXPECT_EQ(log.mid(2, 3), (QStringList{"Copied: " + S(target) + "/maps/plain.bsp", "Created: " + S(target) + "/env",
                                          "Created: " + S(target) + "/textures/town"}));
    EXPECT_TRUE(tree.entries("game/env").empty());
}

TEST_F(TransferWindow, aMissingResourceIsNoticedAndEscapeCannotDismissTheNotice)
{
    startWithTown();
    fs::remove(tree.path("work/textures/dock/rope.wal"));
    useTarget(false, false);
    SeenPrompt notice;
    bool stillOpenAfterEscape = false;
    modals.then([&](QDialog& dialog) {
        auto& prompt = static_cast<TfrmMyMsg&>(dialog);
        notice.caption = prompt.windowTitle();
        notice.lines = MemoLines(*Control<QPlainTextEdit>(prompt, "memoStatus"));
        QTest::keyClick(&prompt, Qt::Key_Escape);
        stillOpenAfterEscape = prompt.isVisible();
        const auto button = [&prompt](const char* name) { return Control<QPushButton>(prompt, name); };
        notice.buttons << (button("bbtnYes")->isVisible() ? button("bbtnYes")->text() : QString());
        notice.buttons << QString::number(button("bbtnNo")->isVisible() + button("bbtnYesAll")->isVisible() +
                                          button("bbtnNoAll")->isVisible());
        button("bbtnYes")->click();
    });
    QStringList log;
    readLog(&log);
    ui().btnCreate->click();

    EXPECT_TRUE(stillOpenAfterEscape);
    EXPECT_EQ(notice.caption, QStringLiteral("File Does Not Exist!"));
    EXPECT_EQ(notice.lines.value(1), S(tree.path("work/textures/dock/rope.wal")));
    EXPECT_EQ(notice.buttons, (QStringList{"&Ok", "0"}));
    EXPECT_TRUE(log.contains(QStringLiteral("Does not exist:  ")));
    EXPECT_TRUE(log.contains(QStringLiteral("Copied: town/wall.wal")));
    EXPECT_EQ(main().mode(), WindowMode::Transferred);
}

TEST_F(TransferWindow, aMoveCopiesThePellarkTreeAfterSayingSoAndMovesTheLevelsResources)
{
    startWithTown();
    useTarget(false, true);
    modals.then([](QDialog& dialog) { PressNamed(dialog, "bbtnOkay"); });  // the Move warning
    ui().optionMove->click();
    SeenBox notice;
    modals.answerBox(QStringLiteral("OK"), &notice);
    QStringList log;
    readLog(&log);
    ui().btnCreate->click();

    EXPECT_EQ(notice.caption, QStringLiteral("Corvane"));
    EXPECT_EQ(notice.text, QStringLiteral("Pellark files will not be moved, only copied,\nto keep your Current tree intact."));
    EXPECT_EQ(notice.icon, QMessageBox::Information);
    EXPECT_TRUE(log.contains(QStringLiteral("Moved: town/wall.wal")));
    EXPECT_TRUE(log.contains("Copied: " + S(target) + "/models/crate.md2"));
    EXPECT_FALSE(fs::exists(tree.path("work/textures/town/wall.wal")));
    EXPECT_TRUE(fs::exists(tree.path("pellark/models/crate.md2")));
    EXPECT_TRUE(fs::exists(tree.path("work/maps/town.map")));
}

TEST_F(TransferWindow, resourceFoldersThatCannotBeCreatedEndTheTransferAndKeepTheLevelLoaded)
{
    startWithTown();
    tree.file("game/textures", "a file where the folder should go");
    useTarget(false, false);
    answerPrompt("bbtnYes");  // go on into the existing target
    SeenBox created, fatal;
    modals.answerBox(QStringLiteral("OK"), &created);
    modals.answerBox(QStringLiteral("OK"), &fatal);
    ui().btnCreate->click();

    EXPECT_EQ(created.caption, QStringLiteral("Error!"));
    EXPECT_EQ(fatal.caption, QStringLiteral("Fatal Error"));
    EXPECT_EQ(fatal.text, QStringLiteral("One or more resource directories\ncould not be created.\n\nAborting!"));
    EXPECT_EQ(main().mode(), WindowMode::MapLoaded);
    EXPECT_TRUE(ui().btnCreate->isEnabled() && ui().chbxSky->isEnabled() && ui().editGameDir->isEnabled());
    EXPECT_TRUE(ui().listWals->isVisible());
    // What came before the layout stays in the target.
    EXPECT_TRUE(fs::exists(tree.path("game/maps/town.bsp")));
}

// Long work keeps the window painted and says how far it is, while the user's
// input and the close box wait until the command has ended.
TEST_F(TransferWindow, aLongTransferKeepsPaintingItsProgressAndRefusesToCloseMeanwhile)
{
    makeWorkingTree();
    std::string level = "{\n\"classname\" \"worldspawn\"\n{\n";
    for (int i = 0; i < 300; ++i) {
        const std::string name = "many/t" + std::to_string(1000 + i);
        level += "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) " + name + " 0 0 0\n";
        tree.file("work/textures/" + name + ".wal", std::string(2000, 'x'));
    }
    level += "}\n}\n";
    tree.file("work/maps/many.map", level);
    tree.file("work/maps/many.bsp", "IBSP");
    storeSettings(maps, target, "", pellark);
    start();
    doubleClickEntry("many.map");
    useTarget(false, false);
    // Every file may paint here, so that a small tree shows what a large one does.
    shell->host.setKeepAliveInterval(std::chrono::milliseconds(0));

    struct Painted {
        QStringList texts;
        int barValues = 0;
        bool closedMeanwhile = false;
    } painted;
    struct Watch : QObject {
        TfrmMain* w;
        QProgressBar* bar;
        Painted* seen;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (watched == bar && event->type() == QEvent::Paint && bar->isVisible()) {
                seen->texts << w->statusText(0);
                if (bar->maximum() > 0 && bar->value() > 0)
                    ++seen->barValues;
                if (seen->texts.size() == 5) {
                    w->close();  // the user tries to close the window
                    seen->closedMeanwhile = !w->isVisible();
                }
            }
            return false;
        }
    } watch;
    watch.w = &main();
    watch.bar = ui().barProgress;
    watch.seen = &painted;
    ui().barProgress->installEventFilter(&watch);
    QStringList log;
    readLog(&log);
    ui().btnCreate->click();

    ASSERT_GT(painted.texts.size(), 10);
    EXPECT_GT(painted.barValues, 10);
    EXPECT_TRUE(painted.texts.contains(QStringLiteral("Transferring textures: 150 of 300")));
    EXPECT_TRUE(painted.texts.contains(QStringLiteral("Counting the target's bytes...")));
    EXPECT_FALSE(painted.closedMeanwhile);
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(log.value(log.size() - 1), QStringLiteral("Copied: many/t1299.wal"));
    EXPECT_TRUE(ui().barProgress->isHidden());
    EXPECT_EQ(main().statusText(0), QStringLiteral("Done!"));
    EXPECT_EQ(main().statusText(1).toStdString(),
              TotalBytesText(300 * 2000 + 4 + fs::file_size(tree.path("game/maps/many.map"))));
    EXPECT_GT(shell->host.keepAliveCount(), 300u);
}

}  // namespace
}  // namespace corvane::ui::test
