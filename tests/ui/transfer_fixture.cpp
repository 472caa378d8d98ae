#include "transfer_fixture.h"

#include <filesystem>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "support/game_files.h"
#include "ui/info_dialog.h"
#include "ui/prompt_dialog.h"
#include "ui/review_dialog.h"

namespace corvane::ui::test {

namespace {

// The small level with a second texture folder: dock/ sorts before town/.
const std::string kTownLevel = std::string(kSmallLevel) +
                               "{\n\"classname\" \"func_wall\"\n{\n"
                               "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) dock/rope 0 0 0 1 1\n}\n}\n";

}  // namespace

QStringList MemoLines(const QPlainTextEdit& memo)
{
    return memo.toPlainText().split(QLatin1Char('\n'));
}

void TransferWindow::makeWorkingTree()
{
    maps = tree.dir("work/maps");
    tree.file("work/maps/town.map", kTownLevel);
    // Compiled from this source: it says nothing against it.
    tree.file("work/maps/town.bsp", corvane::test::MakeBsp("{\n}\n", {"town/wall", "town/floor", "e1u1/metal",
                                                                       "dock/rope"}));
    tree.file("work/textures/town/wall.wal", "wall");
    tree.file("work/textures/town/floor.wal", "floor-floor");
    tree.file("work/textures/dock/rope.wal", "rope");
    tree.file("work/textures/dock/unused.wal", "not named by the level");
    tree.file("work/sound/town/bell.wav", "RIFF-bell");
    for (const char* face : {"bk", "ft", "lf", "rt", "dn", "up"})
        tree.file(std::string("work/env/dusk") + face + ".tga", face);
    pellark = tree.dir("pellark");
    tree.file("pellark/autoexec.cfg", "exec");
    tree.file("pellark/config.cfg", "never copied");
    tree.file("pellark/models/crate.md2", "md2");
    tree.file("pellark/help/readme.txt", "never copied");
    target = tree.path("game");
}

void TransferWindow::makeWorkingTreeWithProblems()
{
    makeWorkingTree();
    tree.file("work/maps/town.map", tree.read("work/maps/town.map") + "{\n\"noise\" \"town/../../x\"\n}\n");
    std::filesystem::last_write_time(tree.path("work/maps/town.bsp"),
                                     std::filesystem::last_write_time(tree.path("work/maps/town.map")));
    std::filesystem::remove(tree.path("work/textures/dock/rope.wal"));
}

void TransferWindow::startWithTown()
{
    makeWorkingTree();
    storeSettings(maps, target, "", pellark);
    start();
    doubleClickEntry("town.map");
    ASSERT_EQ(main().mode(), WindowMode::MapLoaded);
}

void TransferWindow::useTarget(bool sky, bool pellarkTree)
{
    ui().btnUseCurrent->click();
    if (sky)
        ui().chbxSky->click();
    if (pellarkTree)
        ui().chbxPellark->click();
}

void TransferWindow::reloadTown(bool sky, bool pellarkTree)
{
    ui().mnuFileNew->trigger();
    doubleClickEntry("town.map");
    useTarget(sky, pellarkTree);
}

void TransferWindow::answerPrompt(const char* button, SeenPrompt* seen)
{
    const std::string name = button;
    modals.then([name, seen](QDialog& dialog) {
        auto* prompt = Expect<TfrmMyMsg>(dialog, "the prompt");
        if (!prompt)
            return;
        if (seen) {
            seen->caption = prompt->windowTitle();
            seen->lines = MemoLines(*Control<QPlainTextEdit>(*prompt, "memoStatus"));
            seen->buttons.clear();
            for (const char* control : kPromptButtons) {
                const QPushButton* shown = Control<QPushButton>(*prompt, control);
                if (shown->isVisible())
                    seen->buttons << shown->text();
            }
        }
        if (name == "Escape")
            QTest::keyClick(prompt, Qt::Key_Escape);
        else if (name == "Enter")
            PressEnter(*prompt);
        else  // a click, which also gives the button the focus
            QTest::mouseClick(Control<QPushButton>(*prompt, name.c_str()), Qt::LeftButton);
    });
}

void TransferWindow::readLog(QStringList* lines, QString* title, QStringList* problems)
{
    modals.then([lines, title, problems](QDialog& dialog) {
        auto* info = Expect<TfrmInfo>(dialog, "the Information dialog");
        if (!info)
            return;
        if (lines)
            *lines = MemoLines(*Control<QPlainTextEdit>(*info, "memoInfo"));
        if (title)
            *title = info->windowTitle();
        if (problems) {
            const auto* memo = Control<QPlainTextEdit>(*info, "memoProblems");
            *problems = memo->isVisible() ? MemoLines(*memo) : QStringList();
        }
        Control<QPushButton>(*info, "bbtnOkay")->click();
    });
}

void TransferWindow::inReview(std::function<void(TfrmReview&, QTreeView&)> look, const char* close)
{
    const std::string button = close;
    modals.then([look, button](QDialog& dialog) {
        auto* review = Expect<TfrmReview>(dialog, "the review");
        if (!review)
            return;
        const QPushButton* transfer = Control<QPushButton>(*review, "btnTransfer");
        for (QDeadlineTimer deadline(10000); !transfer->isEnabled() && !deadline.hasExpired();)
            QTest::qWait(5);
        EXPECT_TRUE(transfer->isEnabled()) << "the comparison never ended";
        look(*review, *Control<QTreeView>(*review, "treePlan"));
        QTest::mouseClick(Control<QPushButton>(*review, button.c_str()), Qt::LeftButton);
    });
}

QStringList TransferWindow::firstTransfer()
{
    startWithTown();
    useTarget(true, true);
    QStringList log;
    readLog(&log);
    ui().btnCreate->click();
    return log;
}

}  // namespace corvane::ui::test
