// Seeing a release before it is written: the review of a transfer (its
// counts, its tree by kind and folder, decisions per file, per folder and for
// all, the filter and the sorting), the transfer it runs with those decisions
// set beside the classic one with the same answers, and the comparison's
// marks of what has arrived in the folder shown.

#include <filesystem>
#include <map>

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QIcon>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "ui/browser.h"
#include "ui/info_dialog.h"
#include "ui/prompt_dialog.h"
#include "ui/review_dialog.h"
#include "ui/review_model.h"
#include "ui/text.h"
#include "transfer_fixture.h"

namespace corvane::ui::test {
namespace {

namespace fs = std::filesystem;

// The tooltip of each entry, which says what its badge shows.
QStringList Marks(const QAbstractItemView& list)
{
    QStringList marks;
    const QAbstractItemModel& model = *list.model();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row, 0);
        const bool badge = !model.data(index, Qt::DecorationRole).value<QIcon>().isNull();
        marks << (badge ? QString() : QStringLiteral("(no badge) ")) + model.data(index, Qt::ToolTipRole).toString();
    }
    return marks;
}

// What a folder of the sandbox (all of it: "") holds, file by file: relative
// path -> content.
std::map<std::string, std::string> Snapshot(const corvane::test::TempTree& tree, const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const std::string& entry : tree.entries(folder)) {
        if (!entry.ends_with('/'))
            files[entry] = tree.read(folder.empty() ? entry : folder + "/" + entry);
    }
    return files;
}

// The rows below `parent` as the tree shows them: each name, indented by
// its depth, with its decision when it has one.
QStringList Rows(const QAbstractItemModel& model, const QModelIndex& parent = {}, int depth = 0)
{
    QStringList rows;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex name = model.index(row, ReviewModel::NameColumn, parent);
        const QString decision = model.index(row, ReviewModel::DecisionColumn, parent).data().toString();
        rows << QString(depth * 2, QLatin1Char(' ')) + name.data().toString() +
                    (decision.isEmpty() ? QString() : QStringLiteral(": ") + decision);
        rows << Rows(model, name, depth + 1);
    }
    return rows;
}

// The row whose name is `name`, anywhere in the tree.
QModelIndex Find(const QAbstractItemModel& model, const QString& name, const QModelIndex& parent = {})
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex here = model.index(row, ReviewModel::NameColumn, parent);
        if (here.data().toString() == name)
            return here;
        if (const QModelIndex below = Find(model, name, here); below.isValid())
            return below;
    }
    return {};
}

class Review : public TransferWindow {
protected:
    QPushButton* btnReview() { return Control<QPushButton>(main(), "btnReview"); }

    // Presses Space on the decision of the row named `name`, as the
    // keyboard ticks or unticks its box.
    static void toggle(QTreeView& tree, const QString& name)
    {
        const QModelIndex row = Find(*tree.model(), name);
        ASSERT_TRUE(row.isValid()) << name.toStdString();
        tree.setCurrentIndex(row.siblingAtColumn(ReviewModel::DecisionColumn));
        QTest::keyClick(&tree, Qt::Key_Space);
    }

    static QString decision(QTreeView& tree, const QString& name)
    {
        return Find(*tree.model(), name).siblingAtColumn(ReviewModel::DecisionColumn).data().toString();
    }
};

// Review follows Transfer; it opens on the plan with what is missing and
// refused counted at the top and listed once, in red; Cancel changes nothing.
TEST_F(Review, opensOnThePlanWithItsProblemsCountedAndCancelChangesNothing)
{
    makeWorkingTreeWithProblems();
    storeSettings(maps, target, "", pellark);
    start();
    doubleClickEntry("town.map");
    EXPECT_FALSE(btnReview()->isEnabled()) << "Transfer is not offered yet";
    useTarget(true, true);
    EXPECT_TRUE(btnReview()->isEnabled());
    const std::vector<std::string> entries = tree.entries();
    const std::map<std::string, std::string> files = Snapshot(tree, "");

    QString problems, counts, targetLine;
    QStringList rows;
    QColor missingColour, newColour;
    bool kindShown = true, notIncludedShown = true;
    inReview(
        [&](TfrmReview& review, QTreeView& view) {
            problems = Control<QLabel>(review, "lblProblems")->text();
            targetLine = Control<QLabel>(review, "lblTarget")->text();
            counts = Control<QLabel>(review, "lblCounts")->text();
            rows = Rows(*view.model());
            missingColour = Find(*view.model(), QStringLiteral("dock/rope.wal")).data(Qt::ForegroundRole).value<QColor>();
            newColour = Find(*view.model(), QStringLiteral("town/wall.wal")).data(Qt::ForegroundRole).value<QColor>();
            kindShown = !view.isColumnHidden(ReviewModel::KindColumn);
            notIncludedShown = Control<QLabel>(review, "lblNotIncluded")->isVisible();
        },
        "btnCancel");
    btnReview()->click();

    EXPECT_EQ(problems, QStringLiteral("1 file missing, 1 name refused"));
    EXPECT_EQ(targetLine, "The target folder " + S(target) + " will be made.");
    EXPECT_EQ(counts, QStringLiteral("13 new, 0 replace, 0 same, 1 stock"));
    EXPECT_EQ(rows, (QStringList{"Level", "  town.map", "  town.bsp", "Sky", "  duskbk.tga", "  duskft.tga",
                                 "  dusklf.tga", "  duskrt.tga", "  duskdn.tga", "  duskup.tga", "Textures",
                                 "  dock", "    dock/rope.wal", "  town", "    town/floor.wal", "    town/wall.wal",
                                 "  e1u1", "    e1u1/metal.wal", "Sounds", "  town", "    town/../../x",
                                 "    town/bell.wav", "Pellark tree", "  autoexec.cfg", "  models",
                                 "    models/crate.md2"}));
    EXPECT_EQ(missingColour.red() > 150 && missingColour.green() < 80, true) << "red: " << missingColour.name().toStdString();
    EXPECT_FALSE(newColour.isValid());
    EXPECT_FALSE(kindShown || notIncludedShown) << "a classic release has no kinds beside its groups, nothing left out";

    EXPECT_EQ(tree.entries(), entries) << "nothing was made";
    EXPECT_EQ(Snapshot(tree, ""), files) << "nothing was written";
    EXPECT_EQ(main().mode(), WindowMode::MapLoaded);
    EXPECT_TRUE(ui().btnCreate->isEnabled() && btnReview()->isEnabled());

    // Transfer itself is as it was: it asks, with one notice for the missing file.
    SeenPrompt notice;
    answerPrompt("bbtnYes", &notice);
    readLog(nullptr);
    ui().btnCreate->click();
    EXPECT_EQ(notice.caption, QStringLiteral("File Does Not Exist!"));
    EXPECT_EQ(main().mode(), WindowMode::Transferred);
    EXPECT_FALSE(btnReview()->isEnabled());
}

// After a first transfer: town/wall.wal edited in the working tree (newer
// there), town/floor.wal edited in the target (newer there), town/bell.wav
// edited in the working tree to other bytes of the same size (told from the
// target's only by comparing them), the rest the same on both sides; town.map
// loaded again for the same target.
class SecondReview : public Review {
protected:
    void SetUp() override
    {
        firstTransfer();
        tree.file("work/textures/town/wall.wal", "wall, second edition");
        tree.file("game/textures/town/floor.wal", "floor, edited in the game");
        tree.file("work/sound/town/bell.wav", "RIFF-BELL");
    }
    void reload() { reloadTown(true, true); }

    // Answers every prompt of a transfer as `decisions` say, one question at
    // a time (Ok to go on, Ok to a notice), counting them, and then reads the log.
    void answerFrom(const Decisions* decisions, int* asked, QStringList* log, QStringList* problems)
    {
        modals.then([=, this](QDialog& dialog) { answer(dialog, decisions, asked, log, problems); });
    }

private:
    void answer(QDialog& dialog, const Decisions* decisions, int* asked, QStringList* log, QStringList* problems)
    {
        if (auto* prompt = qobject_cast<TfrmMyMsg*>(&dialog)) {
            ++*asked;
            const QStringList lines = MemoLines(*Control<QPlainTextEdit>(*prompt, "memoStatus"));
            bool yes = true;
            if (lines.value(0) == QStringLiteral("Overwrite?")) {
                const auto decided = decisions->find(Bytes(lines.value(2).section(QLatin1Char('\t'), 0, 0)));
                EXPECT_NE(decided, decisions->end()) << lines.value(2).toStdString();
                yes = decided != decisions->end() && decided->second == Decision::Replace;
            }
            modals.first([=, this](QDialog& next) { answer(next, decisions, asked, log, problems); });
            QTest::mouseClick(Control<QPushButton>(*prompt, yes ? "bbtnYes" : "bbtnNo"), Qt::LeftButton);
            return;
        }
        auto* info = Expect<TfrmInfo>(dialog, "the Information dialog");
        if (!info)
            return;
        *log = MemoLines(*Control<QPlainTextEdit>(*info, "memoInfo"));
        const auto* memo = Control<QPlainTextEdit>(*info, "memoProblems");
        *problems = memo->isVisible() ? MemoLines(*memo) : QStringList();
        Control<QPushButton>(*info, "bbtnOkay")->click();
    }
};

// The presets, then decisions per file, per folder, per kind and for all,
// with the count and the bytes to write following them.
TEST_F(SecondReview, decidesPerFilePerFolderAndForAllFromPresetsThatReplaceOnlyWhatIsNewer)
{
    reload();
    QString counts;
    QStringList presets, perFile, perFolder, forAll;
    inReview(
        [&](TfrmReview& review, QTreeView& view) {
            const QLabel* decided = Control<QLabel>(review, "lblDecisions");
            counts = Control<QLabel>(review, "lblCounts")->text();
            const auto look = [&](QStringList& seen) {
                seen = QStringList{decided->text()};
                for (const char* name : {"Level", "Sky", "duskbk.tga", "Textures", "dock", "town", "town/floor.wal",
                                         "town/wall.wal", "town/bell.wav", "Pellark tree"})
                    seen << QString::fromLatin1(name) + ": " + decision(view, QString::fromLatin1(name));
            };
            look(presets);
            toggle(view, QStringLiteral("town/floor.wal"));
            toggle(view, QStringLiteral("duskbk.tga"));
            look(perFile);
            toggle(view, QStringLiteral("town"));  // all replaced: the box unticks them all
            toggle(view, QStringLiteral("Sky"));   // one of six replaced: the box ticks them all
            look(perFolder);
            QTest::mouseClick(Control<QPushButton>(review, "btnReplaceAll"), Qt::LeftButton);
            forAll << decided->text();
            QTest::mouseClick(Control<QPushButton>(review, "btnKeepAll"), Qt::LeftButton);
            forAll << decided->text();
            QTest::mouseClick(Control<QPushButton>(review, "btnReplaceNewer"), Qt::LeftButton);
            forAll << decided->text();
        },
        "btnCancel");
    btnReview()->click();

    EXPECT_EQ(counts, QStringLiteral("0 new, 3 replace, 11 same, 1 stock"));
    EXPECT_EQ(presets, (QStringList{"Replace 2 of the 13 files the target has; 29 bytes to write.", "Level: Keep",
                                    "Sky: Keep", "duskbk.tga: Keep", "Textures: Replace 1 of 3", "dock: Keep",
                                    "town: Replace 1 of 2", "town/floor.wal: Keep", "town/wall.wal: Replace",
                                    "town/bell.wav: Replace", "Pellark tree: Keep"}));
    EXPECT_EQ(perFile, (QStringList{"Replace 4 of the 13 files the target has; 42 bytes to write.", "Level: Keep",
                                    "Sky: Replace 1 of 6", "duskbk.tga: Replace", "Textures: Replace 2 of 3",
                                    "dock: Keep", "town: Replace", "town/floor.wal: Replace",
                                    "town/wall.wal: Replace", "town/bell.wav: Replace", "Pellark tree: Keep"}));
    EXPECT_EQ(perFolder, (QStringList{"Replace 7 of the 13 files the target has; 21 bytes to write.", "Level: Keep",
                                      "Sky: Replace", "duskbk.tga: Replace", "Textures: Keep", "dock: Keep",
                                      "town: Keep", "town/floor.wal: Keep", "town/wall.wal: Keep",
                                      "town/bell.wav: Replace", "Pellark tree: Keep"}));
    EXPECT_EQ(forAll, (QStringList{"Replace 13 of the 13 files the target has; 532 bytes to write.",
                                   "Replace 0 of the 13 files the target has; 0 bytes to write.",
                                   "Replace 2 of the 13 files the target has; 29 bytes to write."}));
}

// The filter narrows the tree to the files whose names hold its text, or
// that are missing or refused; a click on a column's heading sorts by it.
TEST_F(SecondReview, filtersByNameAndToTheProblemsAndSortsByTheColumnClicked)
{
    fs::remove(tree.path("work/sound/town/bell.wav"));
    reload();
    QStringList initial, byName, problems, both, bySize, bySizeDown, unfiltered;
    inReview(
        [&](TfrmReview& review, QTreeView& view) {
            auto* filter = Control<QLineEdit>(review, "editFilter");
            auto* onlyProblems = Control<QCheckBox>(review, "chbxOnlyProblems");
            const auto rows = [&] { return Rows(*view.model()); };
            initial = rows();
            QTest::keyClicks(filter, QStringLiteral("WALL"));
            byName = rows();
            onlyProblems->click();
            both = rows();
            filter->clear();
            problems = rows();
            onlyProblems->click();
            unfiltered = rows();

            QHeaderView* header = view.header();
            const QPoint size(header->sectionViewportPosition(ReviewModel::SizeColumn) + 10, header->height() / 2);
            const auto town = [&] {
                return Rows(*view.model(), Find(*view.model(), QStringLiteral("town/wall.wal")).parent());
            };
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, size);
            bySize = town();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, size);
            bySizeDown = town();
        },
        "btnCancel");
    btnReview()->click();

    EXPECT_EQ(byName, (QStringList{"Textures: Replace 1 of 3", "  town: Replace 1 of 2", "    town/wall.wal: Replace"}));
    EXPECT_TRUE(both.isEmpty());
    EXPECT_EQ(problems, (QStringList{"Sounds", "  town", "    town/bell.wav"}));
    EXPECT_EQ(initial.size(), 25);
    EXPECT_EQ(unfiltered, initial);
    EXPECT_EQ(bySize, (QStringList{"town/floor.wal: Keep", "town/wall.wal: Replace"}));  // 11 and 20 bytes
    EXPECT_EQ(bySizeDown, (QStringList{"town/wall.wal: Replace", "town/floor.wal: Keep"}));
}

// Transfer in the review runs the transfer with its decisions answering
// every question: nothing is asked, and the log, the problems below it and
// the files are those of the classic transfer of the same release answered
// the same way one question at a time.
TEST_F(SecondReview, transfersWithoutAQuestionWhatTheClassicTransferGivesWithTheSameAnswers)
{
    fs::remove(tree.path("work/textures/dock/rope.wal"));  // a notice in the classic transfer
    tree.dir("backup");
    for (const char* folder : {"work", "game", "pellark"})
        fs::copy(tree.path(folder), tree.path(std::string("backup/") + folder), fs::copy_options::recursive);

    reload();
    Decisions decisions;
    inReview(
        [&](TfrmReview& review, QTreeView& view) {
            toggle(view, QStringLiteral("Sky"));
            toggle(view, QStringLiteral("autoexec.cfg"));
            toggle(view, QStringLiteral("town/floor.wal"));
            toggle(view, QStringLiteral("town/wall.wal"));
            decisions = review.decisions();
        },
        "btnTransfer");
    QStringList reviewed, reviewedProblems;
    readLog(&reviewed, nullptr, &reviewedProblems);
    btnReview()->click();
    ASSERT_EQ(main().mode(), WindowMode::Transferred);
    const auto reviewedGame = Snapshot(tree, "game");
    const auto reviewedWork = Snapshot(tree, "work");

    for (const char* folder : {"work", "game", "pellark"}) {
        fs::remove_all(tree.path(folder));
        fs::copy(tree.path(std::string("backup/") + folder), tree.path(folder), fs::copy_options::recursive);
    }
    reload();
    int asked = 0;
    QStringList classic, classicProblems;
    answerFrom(&decisions, &asked, &classic, &classicProblems);
    ui().btnCreate->click();

    EXPECT_EQ(asked, 1 + 12 + 1) << "whether to go on, the 12 files both sides have, the missing file's notice";
    EXPECT_EQ(reviewed, classic);
    EXPECT_EQ(reviewedProblems, classicProblems);
    EXPECT_EQ(Snapshot(tree, "game"), reviewedGame);
    EXPECT_EQ(Snapshot(tree, "work"), reviewedWork);
    EXPECT_EQ(decisions.size(), 12u);
    EXPECT_EQ(tree.read("game/textures/town/floor.wal"), "floor-floor");
    EXPECT_EQ(tree.read("game/textures/town/wall.wal"), "wall");
}

using CompareMarks = TransferWindow;

TEST_F(CompareMarks, eachComparedResourceIsMarkedArrivedOrNotInTheFolderShown)
{
    firstTransfer();
    const MainWindowView w = ui();
    tree.file("game/textures/town/wall.wal", "changed in the target");
    fs::remove(tree.path("game/textures/town/floor.wal"));
    w.listDirs->setDirectory(target + "/textures/town");
    EXPECT_EQ(Entries(*w.listWals), (QStringList{"town/floor.wal", "town/wall.wal"}));
    EXPECT_EQ(Marks(*w.listWals), (QStringList{"Not in this folder",
                                               "Arrived, but the working tree's file holds other bytes"}));

    w.listDirs->setDirectory(target + "/sound/town");
    EXPECT_EQ(Marks(*w.listWavs), QStringList{QStringLiteral("Arrived")});
}

}  // namespace
}  // namespace corvane::ui::test
