// Decisions taken in a review, answering the transfer in front of a person:
// what a review starts with, what is still asked of the person (files nobody
// decided about, a target that appeared), and what is shown and heard.
// That the answers give the classic log is checked over generated releases in
// plan_test.cpp.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "transfer/command.h"
#include "transfer/decisions.h"
#include "transfer_fixture.h"

namespace corvane {
namespace {

using test::Lines;

class DecidedTransfer : public test::TransferFixture {
protected:
    DecidedTransfer()
    {
        job.target = job.targPath = target;
        job.srcPath = srcPath;
        job.currentMapPath = tree.file("work/maps/town.map", "{\n}\n");
        tree.file("work/maps/town.bsp", "compiled");
    }

    // The plan, and the transfer run with `decisions` in front of the person.
    TransferReport run(const Decisions& decisions)
    {
        const Plan plan = PlanTransfer(job, level);
        return runFrom(plan, decisions);
    }
    TransferReport runFrom(const Plan& plan, const Decisions& decisions)
    {
        DecidedHost decided(host, plan, decisions);
        TransferSession session;
        const TransferReport report =
            RunTransferCommand(job, level.TextureList, level.SoundList, session, log, decided);
        unforeseen = decided.unforeseen();
        return report;
    }

    TransferJob job;
    LoadedLevel level;
    std::size_t unforeseen = 0;
};

TEST(DefaultDecision, replacesOnlyOtherBytesThatTheWorkingTreeWroteLater)
{
    struct Case {
        PlanStatus status;
        std::optional<std::int64_t> source, target;
        Decision expected;
    };
    const Case cases[] = {
        {PlanStatus::Replace, 20, 10, Decision::Replace},
        {PlanStatus::Replace, 10, 10, Decision::Keep},
        {PlanStatus::Replace, 10, 20, Decision::Keep},   // edited in the target since
        {PlanStatus::Replace, std::nullopt, 10, Decision::Keep},
        {PlanStatus::Same, 20, 10, Decision::Keep},      // the same bytes: nothing to gain
    };
    for (const Case& c : cases) {
        PlanItem item;
        item.status = c.status;
        item.scope = PlanScope::Folder;
        item.sourceModified = c.source;
        item.targetModified = c.target;
        EXPECT_EQ(DefaultDecision(item), c.expected) << PlanStatusName(c.status) << " " << c.source.value_or(-1);
    }
}

TEST_F(DecidedTransfer, aFileThatAppearedAfterTheReviewIsAskedAboutAloneAndTheAnswerHolds)
{
    level.TextureList = List({"a/1.wal", "a/2.wal", "a/3.wal"});
    for (const char* name : {"1", "2", "3"})
        tree.file(std::string("work/textures/a/") + name + ".wal", std::string("new ") + name);
    tree.file("game/textures/a/1.wal", "old 1");
    tree.file("game/textures/a/3.wal", "old 3");
    const Plan plan = PlanTransfer(job, level);
    Decisions decisions = DefaultDecisions(plan);
    ASSERT_EQ(decisions.size(), 2u);
    decisions[game("textures/a/1.wal")] = Decision::Replace;
    decisions[game("textures/a/3.wal")] = Decision::Keep;

    tree.file("game/textures/a/2.wal", "appeared");
    host.answerPrompt(OverwriteAnswer::Yes);
    runFrom(plan, decisions);

    ASSERT_EQ(host.prompts.size(), 1u) << "the target was there: nobody is asked whether to go on";
    EXPECT_EQ(host.prompts[0].target, game("textures/a/2.wal"));
    EXPECT_TRUE(host.prompts[0].showYes && host.prompts[0].showNo);
    EXPECT_FALSE(host.prompts[0].showYesToAll || host.prompts[0].showNoToAll) << "a \"to All\" would undo a/3";
    EXPECT_EQ(unforeseen, 1u);
    EXPECT_EQ(tree.read("game/textures/a/1.wal"), "new 1");
    EXPECT_EQ(tree.read("game/textures/a/2.wal"), "new 2");
    EXPECT_EQ(tree.read("game/textures/a/3.wal"), "old 3");
}

TEST_F(DecidedTransfer, aTargetThatAppearedAfterTheReviewIsAskedAboutAndCancelEndsTheTransfer)
{
    const Plan plan = PlanTransfer(job, level);
    tree.dir("game");
    host.answerPrompt(OverwriteAnswer::NoToAll);  // "Cancel"
    host.answer(MessageButton::Ok);               // "Didn't create target directory!"
    const TransferReport report = runFrom(plan, {});

    ASSERT_EQ(host.prompts.size(), 1u);
    EXPECT_EQ(host.prompts[0].kind, PromptKind::Continue);
    EXPECT_EQ(host.alerts, (std::vector<AlertSound>{AlertSound::Exclamation, AlertSound::Error}));
    EXPECT_EQ(report.outcome, TransferOutcome::TargetNotPrepared);
}

TEST_F(DecidedTransfer, whatThePlanListedIsNeitherShownNorHeardAndAFailureIsBoth)
{
    // No .bsp on either side: its copy fails, with the error sound and a box.
    std::filesystem::remove(work("maps/town.bsp"));
    level.TextureList = List({"a/gone.wal", "a/here.wal"});
    tree.file("work/textures/a/here.wal", "here");
    tree.file("game/textures/a/here.wal", "here");  // the same bytes
    job.includeSky = true;
    job.skyName = "unit1_";  // the game's own: refused with a box
    host.answer(MessageButton::Ok);
    const TransferReport report = run(DefaultDecisions(PlanTransfer(job, level)));

    EXPECT_TRUE(host.prompts.empty()) << host.prompts.front().caption;
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].caption, "Error in source file");
    EXPECT_EQ(host.alerts, (std::vector<AlertSound>{AlertSound::Error}));
    EXPECT_EQ(unforeseen, 0u);
    // The log still says everything.
    const Lines& lines = log.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Already Exists: a/here.wal"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Does not exist:  "), lines.end());
    EXPECT_EQ(report.problems.size(), 1u);
}

}  // namespace
}  // namespace corvane
