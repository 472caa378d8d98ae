// Complete releases in the window: the Complete release box (remembered
// between runs, locked with the other options, passed to Review and Transfer),
// and the review's rows of what a complete release adds, with what needs them,
// its line of what is left out and the compiled level's warnings.

#include <chrono>
#include <filesystem>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "support/game_files.h"
#include "transfer/decisions.h"
#include "ui/plan_marks.h"
#include "ui/review_dialog.h"
#include "ui/review_model.h"
#include "transfer_fixture.h"

namespace corvane::ui::test {
namespace {

namespace fs = std::filesystem;

PlanItem Item(PlanKind kind, PlanStatus status, std::string name, std::string folder, std::string neededBy = {})
{
    PlanItem item;
    item.kind = kind;
    item.status = status;
    item.source = "/tree/" + name;
    item.target = "/game/" + name;
    item.name = std::move(name);
    item.folder = std::move(folder);
    item.neededBy = std::move(neededBy);
    item.bytes = 10;
    item.sourceModified = 2'000'000'000;
    return item;
}

// A plan as a complete release's items come: a listed texture, the frame and
// image it needs, a model an entity names (missing, its name matching two
// files in other letter cases), the model's skin and an entity's sound. The
// frame is in the target already but, not included, is not asked about.
Plan HandMadePlan()
{
    Plan plan;
    plan.items.push_back(Item(PlanKind::Texture, PlanStatus::New, "w/water1.wal", "w"));
    PlanItem frame = Item(PlanKind::Frame, PlanStatus::NotIncluded, "textures/w/water2.wal", "textures/w", "w/water1.wal");
    frame.targetModified = 1'000'000'000;
    plan.items.push_back(frame);
    PlanItem image = Item(PlanKind::Image, PlanStatus::Replace, "textures/w/water1.png", "textures/w", "w/water1.wal");
    image.targetModified = 1'000'000'000;
    image.scope = PlanScope::Folder;
    image.scopeId = 2;
    plan.items.push_back(image);
    PlanItem model = Item(PlanKind::Model, PlanStatus::Missing, "models/buoy/tris.md2", "models/buoy", "entity");
    model.note = "matches models/Buoy/tris.md2, models/BUOY/tris.md2 ignoring case";
    model.sourceModified.reset();
    plan.items.push_back(model);
    plan.items.push_back(Item(PlanKind::Skin, PlanStatus::NotIncluded, "models/buoy/skin.pcx", "models/buoy",
                              "models/buoy/tris.md2"));
    plan.items.push_back(Item(PlanKind::Sound, PlanStatus::NotIncluded, "sound/doors/creak.wav", "sound/doors", "entity"));
    return plan;
}

QString Data(const QModelIndex& index, int column, int role = Qt::DisplayRole)
{
    return index.siblingAtColumn(column).data(role).toString();
}

// Each file shows its kind and what needs it; a not-included file is grey
// and has no decision, even where the target has it; a name found only in
// another letter case tells its candidates.
TEST(CompleteReview, newKindsShowWhatNeedsThemAndWhatIsNotIncludedIsGreyAndUndecided)
{
    ReviewModel model(HandMadePlan());
    QStringList groups;
    for (int row = 0; row < model.rowCount(); ++row)
        groups << model.index(row, ReviewModel::NameColumn).data().toString();
    EXPECT_EQ(groups, (QStringList{"Textures", "Models", "Sounds"}));

    QStringList kinds;
    for (std::size_t i = 0; i < model.plan().items.size(); ++i)
        kinds << Data(model.fileIndex(i), ReviewModel::KindColumn);
    EXPECT_EQ(kinds, (QStringList{"texture", "frame", "image", "model", "skin", "sound"}));
    QStringList needs;
    for (std::size_t i = 0; i < model.plan().items.size(); ++i)
        needs << Data(model.fileIndex(i), ReviewModel::KindColumn, Qt::ToolTipRole);
    EXPECT_EQ(needs, (QStringList{"", "Needed by: w/water1.wal", "Needed by: w/water1.wal",
                                  "Needed by: an entity of the level", "Needed by: models/buoy/tris.md2",
                                  "Needed by: an entity of the level"}));

    const QModelIndex frame = model.fileIndex(1);
    EXPECT_FALSE(Decidable(model.plan().items[1]));
    EXPECT_EQ(Data(frame, ReviewModel::StatusColumn), QStringLiteral("not-included"));
    EXPECT_EQ(frame.data(Qt::ForegroundRole).value<QColor>(), StatusColour(PlanStatus::NotIncluded));
    EXPECT_FALSE(frame.siblingAtColumn(ReviewModel::DecisionColumn).data(Qt::CheckStateRole).isValid());
    EXPECT_FALSE(model.flags(frame.siblingAtColumn(ReviewModel::DecisionColumn)) & Qt::ItemIsUserCheckable);
    EXPECT_EQ(Data(frame, ReviewModel::NameColumn, Qt::ToolTipRole),
              QStringLiteral("From: /tree/textures/w/water2.wal\nTo: /game/textures/w/water2.wal\n"
                             "Needed by: w/water1.wal"));

    // Only the image is asked about; Replace all leaves the rest alone.
    EXPECT_EQ(model.decidable(), 1u);
    model.decideAll(Decision::Replace);
    EXPECT_EQ(model.decisions(), (Decisions{{"/game/textures/w/water1.png", Decision::Replace}}));
    EXPECT_EQ(model.bytesToWrite(), 10u + 10u) << "the new texture and the image; not the frame";

    const QModelIndex missing = model.fileIndex(3);
    EXPECT_EQ(Data(missing, ReviewModel::NameColumn, Qt::ToolTipRole),
              QStringLiteral("From: /tree/models/buoy/tris.md2\nTo: /game/models/buoy/tris.md2\n"
                             "Needed by: an entity of the level\n"
                             "Its name matches models/Buoy/tris.md2, models/BUOY/tris.md2 ignoring case"));
    EXPECT_EQ(Data(missing, ReviewModel::StatusColumn, Qt::ToolTipRole),
              QStringLiteral("Not in the working tree as written: its name matches models/Buoy/tris.md2, "
                             "models/BUOY/tris.md2 ignoring case"));
    EXPECT_TRUE(missing.data(ReviewModel::ProblemRole).toBool());
    EXPECT_FALSE(model.fileIndex(4).data(ReviewModel::ProblemRole).toBool()) << "left out is not a problem";
}

// The town level with an animated texture: town/wall.wal names town/wall2.wal
// as its next frame, which names it back, and town/wall.png lies beside it.
class CompleteWindow : public TransferWindow {
protected:
    void SetUp() override
    {
        makeWorkingTree();
        tree.file("work/textures/town/wall.wal", corvane::test::MakeWal("town/wall", "town/wall2"));
        tree.file("work/textures/town/wall2.wal", corvane::test::MakeWal("town/wall2", "town/wall"));
        tree.file("work/textures/town/wall.png", "PNG-wall");
        const std::string bsp = tree.path("work/maps/town.bsp");
        fs::last_write_time(bsp, fs::last_write_time(bsp) - std::chrono::hours(1));
        storeSettings(maps, target, "", pellark);
    }

    QCheckBox* chbxComplete() { return Control<QCheckBox>(main(), "chbxComplete"); }

    struct Seen {
        QString notIncluded;  // "" when hidden
        QString warnings;     // "" when hidden
        QString frame;        // the frame's row: its kind and status
        bool kindShown = false;
    };

    // Queues what to do when the review opens: record what it shows, and
    // leave it by that button.
    void lookInReview(Seen& seen, const char* close)
    {
        inReview(
            [&seen](TfrmReview& review, QTreeView& view) {
                const auto shown = [&](const char* name) {
                    const QLabel* label = Control<QLabel>(review, name);
                    return label->isVisible() ? label->text() : QString();
                };
                seen.notIncluded = shown("lblNotIncluded");
                seen.warnings = shown("lblWarnings");
                EXPECT_EQ(Control<QLabel>(review, "lblWarningIcon")->isVisible(), !seen.warnings.isEmpty());
                seen.kindShown = !view.isColumnHidden(ReviewModel::KindColumn);
                const auto* model = qobject_cast<const ReviewModel*>(
                    qobject_cast<const QSortFilterProxyModel*>(view.model())->sourceModel());
                const std::vector<PlanItem>& items = model->plan().items;
                for (std::size_t i = 0; i < items.size(); ++i) {
                    if (items[i].kind == PlanKind::Frame)
                        seen.frame = QString::fromStdString(items[i].name) + QStringLiteral(": ") +
                                     Data(model->fileIndex(i), ReviewModel::KindColumn) + QStringLiteral(", ") +
                                     Data(model->fileIndex(i), ReviewModel::StatusColumn);
                }
            },
            close);
    }
    void clickReview() { Control<QPushButton>(main(), "btnReview")->click(); }
};

const QString kOlder = QStringLiteral("the compiled level is older than its source");

// The box is locked with the options until "Use this"; unticked, the review
// lists the frame and the image as left out, and says so above the table;
// ticked, the review and its transfer ship them, and the warning about the
// compiled level follows the log's problems. The choice outlives File > New
// and the program.
TEST_F(CompleteWindow, theBoxReachesTheReviewAndTheTransferAndIsRememberedAcrossARestart)
{
    start();
    EXPECT_EQ(chbxComplete()->text(), QStringLiteral("Complete release"));
    EXPECT_FALSE(chbxComplete()->toolTip().isEmpty());
    EXPECT_FALSE(chbxComplete()->isChecked() || chbxComplete()->isEnabled());
    doubleClickEntry("town.map");
    EXPECT_FALSE(chbxComplete()->isEnabled());
    useTarget(false, false);
    EXPECT_TRUE(chbxComplete()->isEnabled());

    Seen off;
    lookInReview(off, "btnCancel");
    clickReview();
    EXPECT_EQ(off.notIncluded,
              QStringLiteral("1 animation frame and 1 image not included: tick Complete release to ship them"));
    EXPECT_EQ(off.warnings, kOlder);
    EXPECT_EQ(off.frame, QStringLiteral("textures/town/wall2.wal: frame, not-included"));
    EXPECT_TRUE(off.kindShown);

    chbxComplete()->click();
    EXPECT_TRUE(shell->settings.CompleteRelease);
    ui().mnuFileNew->trigger();
    doubleClickEntry("town.map");
    EXPECT_TRUE(chbxComplete()->isChecked()) << "File New and a new level leave the choice as it was";
    useTarget(false, false);

    Seen on;
    lookInReview(on, "btnTransfer");
    QStringList problems;
    readLog(nullptr, nullptr, &problems);
    clickReview();
    EXPECT_TRUE(modals.done());
    EXPECT_EQ(on.notIncluded, QString());
    EXPECT_EQ(on.warnings, off.warnings);
    EXPECT_EQ(on.frame, QStringLiteral("textures/town/wall2.wal: frame, new"));
    EXPECT_EQ(tree.read("game/textures/town/wall2.wal"), tree.read("work/textures/town/wall2.wal"));
    EXPECT_EQ(tree.read("game/textures/town/wall.png"), "PNG-wall");
    EXPECT_EQ(problems, QStringList{QStringLiteral("Warning: ") + kOlder}) << "nothing else went wrong";
    EXPECT_FALSE(chbxComplete()->isEnabled()) << "locked after the transfer, still ticked";
    EXPECT_TRUE(chbxComplete()->isChecked());

    ui().mnuFileExit->trigger();
    EXPECT_EQ(stored("CompleteRelease"), "1");
    shell.reset();
    start();
    EXPECT_TRUE(chbxComplete()->isChecked());
    doubleClickEntry("town.map");
    useTarget(false, false);
    chbxComplete()->click();
    ui().mnuFileExit->trigger();
    EXPECT_EQ(stored("CompleteRelease"), "0");
}

}  // namespace
}  // namespace corvane::ui::test
