// Every kind of file operation failing at every step of a transfer: the
// person is told what failed, nothing is lost or left half-written, an older
// file in the target survives, a move keeps a source whose copy failed, and
// the transfer goes on wherever it is meant to.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "hardening_fixture.h"
#include "platform/faults.h"

namespace corvane {
namespace {

using test::HardeningFixture;

struct Failure {
    const char* name;
    TransferMode mode;
    FileOp op;
    const char* where;    // the path (below the sandbox) whose operation fails; "" for every path below "game"
    int error;
    const char* told;     // what the log or a box must show: a path below the sandbox, or a text
    TransferOutcome outcome;
    std::vector<const char*> kept;     // target files that must not have changed
    std::vector<const char*> arrived;  // target files that must hold their source's content
};

std::ostream& operator<<(std::ostream& out, const Failure& failure)
{
    return out << failure.name;
}

class InjectedFailure : public HardeningFixture, public ::testing::WithParamInterface<Failure> {};

TEST_P(InjectedFailure, isReportedAndLosesNothing)
{
    const Failure& failure = GetParam();
    const std::string where = failure.where[0] ? path(failure.where) : path("game");
    const bool everywhere = failure.where[0] == '\0';
    TransferOutcome outcome;
    {
        ScopedFaultInjector faults([&](FileOp op, std::string_view at) {
            if (op != failure.op)
                return 0;
            const bool hit = everywhere ? at.substr(0, where.size() + 1) == where + "/" : at == where;
            return hit ? failure.error : 0;
        });
        outcome = run(failure.mode);
    }
    EXPECT_EQ(outcome, failure.outcome);
    std::string told = failure.told;
    for (const char* below : {"work/", "game/", "base/"}) {
        if (told.starts_with(below))
            told = path(told);
    }
    EXPECT_TRUE(this->told(told)) << "nobody was told about " << told;
    for (const char* target : failure.kept) {
        const auto old = older.find(target);
        if (old != older.end()) {
            EXPECT_EQ(read(target), old->second) << target;
        } else {
            EXPECT_FALSE(exists(target)) << target;
        }
    }
    for (const char* target : failure.arrived) {
        for (const auto& [from, destination] : destinations) {
            if (destination == target) {
                EXPECT_EQ(read(target), originals.at(from)) << target;
            }
        }
    }
    expectNothingLostOrDamaged(failure.mode);
}

constexpr TransferMode kCopy = TransferMode::Copy;
constexpr TransferMode kMove = TransferMode::Move;
constexpr TransferOutcome kThrough = TransferOutcome::RanThrough;

// Files that every run that goes on past a failure elsewhere delivers.
const std::vector<const char*> kResources{"game/textures/x/c.wal", "game/sound/w/horn.wav", "game/sub/p2.txt"};

INSTANTIATE_TEST_SUITE_P(
    Hardening, InjectedFailure,
    ::testing::Values(
        // A texture that cannot be read keeps the target's older version; the rest arrive.
        Failure{"unreadableTexture", kCopy, FileOp::Read, "work/textures/w/a.wal", EIO,
                "work/textures/w/a.wal", kThrough, {"game/textures/w/a.wal"},
                {"game/textures/w/b.wal", "game/textures/x/c.wal", "game/sound/w/bell.wav", "game/p1.txt"}},
        // The disk fills up while a new texture is written: no partial file.
        Failure{"fullDiskOnANewTexture", kCopy, FileOp::Write, "game/textures/w/b.wal", ENOSPC,
                "work/textures/w/b.wal", kThrough, {"game/textures/w/b.wal"}, kResources},
        // The last step of replacing a file fails: the older file stays whole.
        Failure{"renameRefusedOverAnOlderTexture", kCopy, FileOp::Rename, "game/textures/w/a.wal", EIO,
                "work/textures/w/a.wal", kThrough, {"game/textures/w/a.wal"}, kResources},
        // A move whose copy failed deletes nothing.
        Failure{"moveOfASoundOntoAFullDisk", kMove, FileOp::Write, "game/sound/w/horn.wav", ENOSPC,
                "work/sound/w/horn.wav", kThrough, {"game/sound/w/horn.wav"},
                {"game/textures/w/b.wal", "game/sound/w/bell.wav"}},
        Failure{"moveOfTheBspWhoseRenameFails", kMove, FileOp::Rename, "game/maps/w.bsp", EIO,
                "work/maps/w.bsp", kThrough, {"game/maps/w.bsp"}, {"game/textures/w/a.wal"}},
        // A moved file whose source cannot be deleted arrives, and the log says the source stayed.
        Failure{"moveWhoseSourceCannotBeDeleted", kMove, FileOp::Delete, "work/textures/w/b.wal", EACCES,
                "work/textures/w/b.wal", kThrough, {}, {"game/textures/w/b.wal"}},
        // A move whose copy cannot be flushed to the disk keeps its source.
        Failure{"moveWhoseCopyCannotBeFlushed", kMove, FileOp::Flush, "game/textures/w/b.wal", EIO,
                "work/textures/w/b.wal", kThrough, {"game/textures/w/b.wal"}, {"game/textures/x/c.wal"}},
        // A source whose folder cannot be searched is not missing: its copy fails with the reason.
        Failure{"unsearchableSource", kMove, FileOp::Stat, "work/textures/w/a.wal", EACCES,
                "work/textures/w/a.wal", kThrough, {"game/textures/w/a.wal"}, {"game/textures/w/b.wal"}},
        // One sky image failing leaves the other faces.
        Failure{"unreadableSkyImage", kCopy, FileOp::Read, "work/env/wskyft.pcx", EIO,
                "work/env/wskyft.pcx", kThrough, {"game/env/wskyft.pcx"}, {"game/env/wskybk.tga"}},
        Failure{"moveOfASkyImageOntoAFullDisk", kMove, FileOp::Write, "game/env/wskybk.tga", ENOSPC,
                "work/env/wskybk.tga", kThrough, {"game/env/wskybk.tga"}, {"game/env/wskyft.pcx"}},
        // No env folder: the sky is skipped, everything else goes on.
        Failure{"envFolderRefused", kCopy, FileOp::CreateDirectory, "game/env", EACCES, "game/env",
                kThrough, {"game/env/wskybk.tga", "game/env/wskyft.pcx"}, kResources},
        // A resource folder that cannot be made ends the transfer after the level and the sky.
        Failure{"resourceFolderRefused", kCopy, FileOp::CreateDirectory, "game/textures/x", ENOSPC,
                "game/textures/x", TransferOutcome::LayoutFailed,
                {"game/textures/w/a.wal", "game/textures/x/c.wal", "game/sound/w/horn.wav", "game/sub/p2.txt"},
                {"game/maps/w.bsp", "game/env/wskybk.tga"}},
        // The level's own files.
        Failure{"unreadableBsp", kCopy, FileOp::Read, "work/maps/w.bsp", EIO, "work/maps/w.bsp", kThrough,
                {"game/maps/w.bsp"}, kResources},
        Failure{"levelSourceOntoAFullDisk", kMove, FileOp::Write, "game/maps/w.map", ENOSPC,
                "work/maps/w.map", kThrough, {"game/maps/w.map"}, {"game/maps/w.bsp"}},
        // The Pellark tree: a failed file and an unlistable folder are reported, the walk goes on.
        Failure{"pellarkFileOntoAFullDisk", kCopy, FileOp::Write, "game/sub/p2.txt", ENOSPC,
                "base/pellark/sub/p2.txt", kThrough, {"game/sub/p2.txt"}, {"game/p1.txt"}},
        Failure{"pellarkFolderUnlistable", kCopy, FileOp::List, "base/pellark/sub", EACCES,
                "Failed to open Pellark directory\nsub", kThrough, {"game/sub/p2.txt"}, {"game/p1.txt"}},
        Failure{"pellarkFileUnreadable", kMove, FileOp::Read, "base/pellark/p1.txt", EIO,
                "base/pellark/p1.txt", kThrough, {"game/p1.txt"}, {"game/sub/p2.txt"}},
        // The byte total: a folder that cannot be listed is reported, the total still shown.
        Failure{"byteTotalFolderUnlistable", kCopy, FileOp::List, "game/textures", EACCES,
                "Cant open target dir:\n", kThrough, {}, kResources},
        // A disk that is full from the start: every copy fails, nothing is half-written.
        Failure{"diskFullThroughout", kCopy, FileOp::Write, "", ENOSPC, "work/textures/x/c.wal", kThrough,
                {"game/maps/w.bsp", "game/textures/w/a.wal", "game/textures/x/c.wal", "game/p1.txt"}, {}},
        Failure{"moveOntoADiskFullThroughout", kMove, FileOp::Write, "", ENOSPC, "work/sound/w/horn.wav",
                kThrough, {"game/maps/w.bsp", "game/sound/w/bell.wav", "game/sound/w/horn.wav"}, {}},
        Failure{"everyRenameRefused", kMove, FileOp::Rename, "", EXDEV, "work/textures/w/a.wal", kThrough,
                {"game/maps/w.bsp", "game/textures/w/a.wal", "game/env/wskybk.tga", "game/p1.txt"}, {}}),
    [](const ::testing::TestParamInfo<Failure>& param) { return std::string(param.param.name); });

TEST_F(HardeningFixture, everyFailureKeepsItsReason)
{
    {
        ScopedFaultInjector faults([&](FileOp op, std::string_view at) {
            if (op == FileOp::Stat && at == path("work/textures/w/a.wal"))
                return EACCES;
            if (op == FileOp::Write && at == path("game/textures/x/c.wal"))
                return ENOSPC;
            if (op == FileOp::Flush && at == path("game/sound/w/horn.wav"))
                return EIO;
            return op == FileOp::Delete && at == path("work/textures/w/b.wal") ? EPERM : 0;
        });
        ASSERT_EQ(run(TransferMode::Move), TransferOutcome::RanThrough);
    }
    EXPECT_EQ(log.failures(), (std::vector<TransferFailure>{
                                  {path("work/textures/w/a.wal"), "Permission denied"},
                                  {path("work/textures/w/b.wal"), "Operation not permitted"},
                                  {path("work/textures/x/c.wal"), "No space left on device"},
                                  {path("work/sound/w/horn.wav"), "Input/output error"}}));
    EXPECT_FALSE(told("Does not exist:")) << "a source that cannot be looked at is not missing";
    expectNothingLostOrDamaged(TransferMode::Move);
}

TEST_F(HardeningFixture, theByteTotalCountsWhatArrivedAfterFailures)
{
    ScopedFaultInjector faults([&](FileOp op, std::string_view at) {
        return op == FileOp::Write && at == path("game/textures/x/c.wal") ? ENOSPC : 0;
    });
    ASSERT_EQ(run(TransferMode::Copy), TransferOutcome::RanThrough);
    std::uint64_t bytes = 0;
    for (const std::string& entry : tree.entries("game")) {
        if (entry.back() != '/')
            bytes += read("game/" + entry).size();
    }
    EXPECT_EQ(host.lastTotal, "Total Bytes:  " + std::to_string(bytes));
    expectNothingLostOrDamaged(TransferMode::Copy);
}

}  // namespace
}  // namespace corvane
