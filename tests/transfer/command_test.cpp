#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/faults.h"
#include "platform/file_ops.h"
#include "transfer/command.h"
#include "transfer_fixture.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::Lines;

class TransferCommandTest : public test::TransferFixture {
protected:
    TransferJob job;
    TransferSession session;
    ResourceList textures = List({"w/wall.wal"});
    ResourceList sounds = List({"w/bell"});

    void SetUp() override
    {
        tree.file("work/maps/w.map", "level");
        tree.file("work/maps/w.bsp", "compiled");
        tree.file("work/textures/w/wall.wal", "wall");
        tree.file("work/sound/w/bell.wav", "bell");
        tree.file("work/env/wskybk.tga", "sky");
        job.target = target;
        job.targPath = target;
        job.srcPath = srcPath;
        job.currentMapPath = work("maps/w.map");
        job.skyName = "wsky";
    }

    TransferReport report;
    TransferOutcome run()
    {
        report = RunTransferCommand(job, textures, sounds, session, log, host);
        return report.outcome;
    }
};

TEST_F(TransferCommandTest, aFirstTransferLogsEveryStepInOrderAndShowsTheTotal)
{
    job.includeSky = true;
    log.append("from an earlier run");
    ASSERT_EQ(run(), TransferOutcome::RanThrough);
    EXPECT_EQ(log.lines(),
              (Lines{"Created: " + target, "Created: " + game("maps"), "Copied: " + game("maps/w.bsp"),
                     "Created: " + game("env"), "Copied: " + game("env/wskybk.tga"),
                     "Created: " + game("textures/w"), "Created: " + game("sound/w"),
                     "Copied: w/wall.wal", "Copied: w/bell.wav"}));
    EXPECT_EQ(session.targetMapPath, game("maps/w.map"));
    ASSERT_FALSE(host.statuses.empty());
    EXPECT_EQ(host.statuses.back(), (std::pair<int, std::string>{1, "Total Bytes:  24"}));
    EXPECT_EQ(host.captions.back(), "Corvane - " + game("maps/w.map"));
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(TransferCommandTest, aTargetThatIsNotPreparedEndsTheCommand)
{
    for (const std::string& bad : {std::string("/"), tree.path("no/parent")}) {
        job.target = bad;
        host.answer(MessageButton::Ok);
        EXPECT_EQ(run(), TransferOutcome::TargetNotPrepared);
        EXPECT_EQ(host.boxes.back().text,
                  "Didn't create target directory!\n" + bad + "\n\nChoose New from the File menu");
        EXPECT_EQ(host.boxes.back().caption, "Error");
        EXPECT_EQ(host.boxes.back().icon, MessageIcon::Error);
        EXPECT_EQ(host.alerts.back(), AlertSound::Error);
    }
    tree.dir("game");
    host.answerPrompt(OverwriteAnswer::NoToAll);
    host.answer(MessageButton::Ok);
    job.target = target;
    EXPECT_EQ(run(), TransferOutcome::TargetNotPrepared);
    EXPECT_EQ(tree.entries("game"), Lines{});
}

// The window's Host does not wait for another transfer into the target: it
// says so and nothing starts, not even the question about the existing target.
TEST_F(TransferCommandTest, anotherTransferIntoTheTargetStopsItBeforeItStarts)
{
    tree.file("game/textures/w/wall.wal", "the other transfer's");
    {
        FolderLock other;
        ASSERT_EQ(other.tryLock(target), FolderLock::State::Held);
        host.answer(MessageButton::Ok);
        EXPECT_EQ(run(), TransferOutcome::TargetBusy);
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].text, "Another transfer into this folder is running");
        EXPECT_EQ(host.boxes[0].caption, "Corvane");
        EXPECT_TRUE(host.prompts.empty());
        EXPECT_TRUE(log.lines().empty());
        EXPECT_EQ(tree.entries("game"), (Lines{"textures/", "textures/w/", "textures/w/wall.wal"}));
    }
    // Once the other one has ended, the same transfer runs.
    host.answerPrompt(OverwriteAnswer::Yes);
    host.answerPrompt(OverwriteAnswer::Yes);
    EXPECT_EQ(run(), TransferOutcome::RanThrough);
    EXPECT_EQ(tree.read("game/textures/w/wall.wal"), "wall");
}

TEST_F(TransferCommandTest, aLayoutFailureEndsTheCommandAfterTheLevelFiles)
{
    job.includeSky = true;
    host.answer(MessageButton::Ok);
    host.answer(MessageButton::Ok);
    ScopedFaultInjector faults([&](FileOp op, std::string_view path) {
        return op == FileOp::CreateDirectory && path == game("textures/w") ? EROFS : 0;
    });
    EXPECT_EQ(run(), TransferOutcome::LayoutFailed);
    EXPECT_EQ(host.boxes.back().text, "One or more resource directories\ncould not be created.\n\nAborting!");
    EXPECT_EQ(host.boxes.back().caption, "Fatal Error");
    EXPECT_EQ(tree.read("game/maps/w.bsp"), "compiled");
    EXPECT_EQ(tree.read("game/env/wskybk.tga"), "sky");
    EXPECT_FALSE(fs::exists(game("sound")));
}

TEST_F(TransferCommandTest, missingMapsFolderAndUncopiedLevelAreLoggedAndTheRestGoesOn)
{
    host.answer(MessageButton::Ok);
    {
        ScopedFaultInjector faults([&](FileOp op, std::string_view path) {
            return op == FileOp::CreateDirectory && path == game("maps") ? EROFS : 0;
        });
        EXPECT_EQ(run(), TransferOutcome::RanThrough);
    }
    EXPECT_EQ(log.lines()[1], "Can't create \"maps\" directory!");
    EXPECT_EQ(tree.read("game/textures/w/wall.wal"), "wall");

    fs::remove(work("maps/w.bsp"));
    host.answerPrompt(OverwriteAnswer::Yes);   // go on into the existing target
    host.answerPrompt(OverwriteAnswer::No);    // the BSP notice
    host.answerPrompt(OverwriteAnswer::YesToAll);
    host.answerPrompt(OverwriteAnswer::YesToAll);
    tree.dir("game/maps");
    tree.file("game/maps/w.bsp", "old");
    EXPECT_EQ(run(), TransferOutcome::RanThrough);
    EXPECT_EQ(log.lines()[2], "Could not copy file:\n" + work("maps/w.map"));
}

TEST_F(TransferCommandTest, theSkyStepRunsForNotFoundAndThePellarkTreeIsOnlyCopied)
{
    job.includeSky = true;
    job.skyName = "not found";
    job.mode = TransferMode::Move;
    job.includePellark = true;
    job.pellarkPath = tree.dir("pellark");
    tree.file("pellark/autoexec.cfg", "exec");
    host.answer(MessageButton::Ok);
    ASSERT_EQ(run(), TransferOutcome::RanThrough);
    EXPECT_TRUE(fs::is_directory(game("env")));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text,
              "Pellark files will not be moved, only copied,\nto keep your Current tree intact.");
    EXPECT_EQ(host.boxes[0].caption, "Corvane");
    EXPECT_EQ(host.boxes[0].icon, MessageIcon::Information);
    EXPECT_EQ(log.lines().back(), "Copied: " + game("autoexec.cfg"));
    EXPECT_TRUE(fs::exists(tree.path("pellark/autoexec.cfg")));
    EXPECT_FALSE(fs::exists(work("textures/w/wall.wal"))) << "the level's own resources were moved";
    const auto status = std::find(host.statuses.begin(), host.statuses.end(),
                                  std::pair<int, std::string>{0, "Copying Pellark tree..."});
    EXPECT_NE(status, host.statuses.end());
}

// A "to All" answer covers the rest of its scope in one run; the next run asks again.
TEST_F(TransferCommandTest, everyRunBeginsThePellarkAnswersAfresh)
{
    job.includePellark = true;
    job.pellarkPath = tree.dir("pellark");
    tree.file("pellark/a.cfg", "a 1");
    tree.file("pellark/b.cfg", "b 1");
    ASSERT_EQ(run(), TransferOutcome::RanThrough);

    tree.file("pellark/a.cfg", "a 2");
    tree.file("pellark/b.cfg", "b 2");
    const auto secondRun = [&](OverwriteAnswer pellarkAnswer) {
        host.prompts.clear();
        host.answerPrompt(OverwriteAnswer::Yes);    // go on into the existing target
        host.answerPrompt(OverwriteAnswer::No);     // the .bsp
        host.answerPrompt(OverwriteAnswer::NoToAll);  // the texture
        host.answerPrompt(OverwriteAnswer::NoToAll);  // the sound
        host.answerPrompt(pellarkAnswer);           // a.cfg, and b.cfg with it
        EXPECT_EQ(run(), TransferOutcome::RanThrough);
        return promptCaptions().back();
    };
    EXPECT_EQ(secondRun(OverwriteAnswer::YesToAll), "Pellark file exists! ");
    EXPECT_EQ(tree.read("game/b.cfg"), "b 2");
    EXPECT_EQ(host.prompts.size(), 5u);

    tree.file("pellark/b.cfg", "b 3");
    EXPECT_EQ(secondRun(OverwriteAnswer::NoToAll), "Pellark file exists! ") << "the Yes to All has ended";
    EXPECT_EQ(host.prompts.size(), 5u);
    EXPECT_EQ(tree.read("game/b.cfg"), "b 2");
    EXPECT_EQ(log.lines().back(), "Already Exists: " + game("b.cfg"));
}

TEST_F(TransferCommandTest, theReportCarriesTheTotalTheLevelsPathAndEachFailureWithItsReason)
{
    job.mode = TransferMode::Move;
    host.answer(MessageButton::Ok);
    {
        ScopedFaultInjector faults([&](FileOp op, std::string_view path) {
            if (op == FileOp::Write && path == game("textures/w/wall.wal"))
                return ENOSPC;
            return op == FileOp::Delete && path == work("sound/w/bell.wav") ? EACCES : 0;
        });
        ASSERT_EQ(run(), TransferOutcome::RanThrough);
    }
    EXPECT_EQ(report.targetMapPath, game("maps/w.map"));
    ASSERT_TRUE(report.byteTotal.has_value());
    EXPECT_EQ(report.byteTotal->bytes, 5u + 8u + 4u) << "the level, its .bsp and the sound";
    EXPECT_TRUE(report.byteTotal->unreadable.empty());
    EXPECT_EQ(report.failures, (std::vector<TransferFailure>{{work("textures/w/wall.wal"), "No space left on device"},
                                                             {work("sound/w/bell.wav"), "Permission denied"}}));
    EXPECT_EQ(log.failures(), report.failures);

    // An early end counts nothing, and the next run starts with no failures.
    job.target = "/";
    host.answer(MessageButton::Ok);
    EXPECT_EQ(run(), TransferOutcome::TargetNotPrepared);
    EXPECT_FALSE(report.byteTotal.has_value());
    EXPECT_TRUE(report.failures.empty());
}

TEST_F(TransferCommandTest, aLevelWithoutResourcesStillGetsTheRoots)
{
    textures = List({});
    sounds = List({});
    ASSERT_EQ(run(), TransferOutcome::RanThrough);
    EXPECT_TRUE(fs::is_directory(game("textures")));
    EXPECT_TRUE(fs::is_directory(game("sound")));
}

}  // namespace
}  // namespace corvane
