// Seeing a release before it is written: the comparison's marks of what has
// arrived in the folder shown.

#include <filesystem>

#include <QListWidget>

#include "ui/browser.h"
#include "transfer_fixture.h"

namespace corvane::ui::test {
namespace {

namespace fs = std::filesystem;

// The tooltip of each entry, which says what its badge shows.
QStringList Marks(const QListWidget& list)
{
    QStringList marks;
    for (int row = 0; row < list.count(); ++row) {
        const QListWidgetItem* item = list.item(row);
        marks << (item->icon().isNull() ? QStringLiteral("(no badge) ") : QString()) + item->toolTip();
    }
    return marks;
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
