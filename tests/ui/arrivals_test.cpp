// The comparison's marks: each listed resource set beside the file of its
// name in the folder shown.

#include <gtest/gtest.h>

#include "support/temp_tree.h"
#include "ui/arrivals.h"

namespace corvane::ui {
namespace {

TEST(ArrivalsIn, judgesEachListedFileByTheFolderShown)
{
    corvane::test::TempTree tree;
    const std::string srcPath = tree.dir("work/maps");
    tree.file("work/sound/town/bell.wav", "ring");
    tree.file("game/sound/town/bell.wav", "ring");
    tree.file("work/sound/town/gate.wav", "creak");
    tree.file("game/sound/town/gate.wav", "an older creak");
    tree.file("game/sound/town/moved.wav", "moved here");  // no longer in the working tree
    tree.file("work/sound/town/late.wav", "not yet copied");
    tree.file("game/sound/other/late.wav", "in another folder");
    tree.file("game/sound/x.wav", "outside the folder");
    const std::vector<std::string> listed = {"town/bell", "town/gate.wav", "town/moved.wav", "town/late.wav",
                                             "town/../x.wav"};

    EXPECT_EQ(ArrivalsIn(tree.path("game/sound/town"), ResourceKind::Sounds, listed, srcPath),
              (std::vector<Arrival>{Arrival::Arrived, Arrival::Differs, Arrival::Kept, Arrival::Absent,
                                    Arrival::Absent}));
    // Shown in another folder, the same entries are judged by what lies there.
    EXPECT_EQ(ArrivalsIn(tree.path("game/sound/other"), ResourceKind::Sounds, listed, srcPath),
              (std::vector<Arrival>{Arrival::Absent, Arrival::Absent, Arrival::Absent, Arrival::Differs,
                                    Arrival::Absent}));
}

}  // namespace
}  // namespace corvane::ui
