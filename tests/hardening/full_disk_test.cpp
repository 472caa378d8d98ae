// A transfer into a file system that really fills up: the target lies on a
// small tmpfs mounted for the test. Where the machine does not allow mounting
// (no privilege, no tmpfs) the test is skipped and says why; the injected
// failures cover the same ground without a real disk.

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "hardening_fixture.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class FullDisk : public test::HardeningFixture {
protected:
    std::string skipReason;

    void SetUp() override
    {
        // Two files too big for what is left: a new sky image, and a texture
        // that would replace an older one.
        const std::string big(112 * 1024, 'x');
        source("work/env/wskyrt.tga", big, "game/env/wskyrt.tga");
        source("work/textures/w/a.wal", big, "game/textures/w/a.wal");

        // The target, with its older files, moves onto a 128 KiB file system.
        fs::rename(path("game"), path("game-before"));
        tree.dir("game");
        if (::mount("corvane-test", path("game").c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=128k") != 0) {
            skipReason = std::string("cannot mount a small tmpfs here (") + std::strerror(errno) +
                         "); the injected-failure tests simulate a full disk instead";
            return;
        }
        mounted_ = true;
        fs::copy(path("game-before"), path("game"), fs::copy_options::recursive);
        fs::remove_all(path("game-before"));
        rebaseline();
    }

    // Makes the target's file system read-only.
    bool makeReadOnly()
    {
        return ::mount(nullptr, path("game").c_str(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV,
                       nullptr) == 0;
    }

    void TearDown() override
    {
        if (mounted_)
            ::umount2(path("game").c_str(), MNT_DETACH);
    }

private:
    bool mounted_ = false;
};

TEST_F(FullDisk, copiesThatDoNotFitFailCleanlyAndTheRestArrive)
{
    if (!skipReason.empty())
        GTEST_SKIP() << skipReason;
    ASSERT_EQ(run(TransferMode::Move), TransferOutcome::RanThrough);
    for (const char* failed : {"work/env/wskyrt.tga", "work/textures/w/a.wal"}) {
        EXPECT_TRUE(told(path(failed))) << failed;
        EXPECT_TRUE(exists(failed)) << "a move deleted " << failed << " whose copy did not fit";
    }
    for (const char* failed : {"work/env/wskyrt.tga", "work/textures/w/a.wal"}) {
        const TransferFailure full{path(failed), "No space left on device"};
        EXPECT_NE(std::find(log.failures().begin(), log.failures().end(), full), log.failures().end()) << failed;
    }
    EXPECT_FALSE(exists("game/env/wskyrt.tga"));
    EXPECT_EQ(read("game/textures/w/a.wal"), older.at("game/textures/w/a.wal"));
    EXPECT_EQ(read("game/textures/w/b.wal"), "texture b");
    EXPECT_EQ(read("game/sub/p2.txt"), "pellark two");
    expectNothingLostOrDamaged(TransferMode::Move);
}

TEST_F(FullDisk, aReadOnlyTargetSaysSoAndChangesNothing)
{
    if (!skipReason.empty())
        GTEST_SKIP() << skipReason;
    if (!makeReadOnly())
        GTEST_SKIP() << "cannot make the small tmpfs read-only here (" << std::strerror(errno) << ")";
    rebaseline();
    EXPECT_EQ(run(TransferMode::Move), TransferOutcome::LayoutFailed);
    const auto reason = [&](const std::string& where) {
        for (const TransferFailure& failure : log.failures()) {
            if (failure.path == path(where))
                return failure.reason;
        }
        return std::string("no failure");
    };
    EXPECT_EQ(reason("work/maps/w.bsp"), "Read-only file system");
    EXPECT_EQ(reason("game/env"), "Read-only file system");
    EXPECT_EQ(reason("game/textures/x"), "Read-only file system");
    expectNothingLostOrDamaged(TransferMode::Move);
}

}  // namespace
}  // namespace corvane
