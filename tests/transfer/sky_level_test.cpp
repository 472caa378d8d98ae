#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/faults.h"
#include "transfer/level_files.h"
#include "transfer/sky_transfer.h"
#include "transfer_fixture.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::Lines;

class TransferSkyTest : public test::TransferFixture {
protected:
    void SetUp() override { tree.dir("game"); }
    void sky(const std::string& name) { TransferSky(context, name, srcPath, target); }
};

TEST_F(TransferSkyTest, stockEmptyAndClimbingNamesAreRefusedBeforeEnvIsMade)
{
    struct Case {
        std::string name;
        std::string text;
    };
    const Case cases[] = {
        {"", "Sky env file not specified!"},
        {"unit1_", "Can't copy internal env file: unit1_"},
        {"space1_", "Can't copy internal env file: space1_"},
        {"space1", "Can't copy internal env file: space1"},
        {"../../x", "Sky env file name not allowed: ../../x"},
        {"a/b", "Sky env file name not allowed: a/b"},
        {"a\\b", "Sky env file name not allowed: a\\b"},
    };
    for (const Case& c : cases) {
        host.answer(MessageButton::Ok);
        sky(c.name);
        ASSERT_FALSE(host.boxes.empty());
        EXPECT_EQ(host.boxes.back().text, c.text);
        EXPECT_EQ(host.boxes.back().caption, "Not allowed");
        EXPECT_EQ(host.boxes.back().icon, MessageIcon::Warning);
        EXPECT_EQ(host.alerts.back(), AlertSound::Exclamation);
    }
    EXPECT_FALSE(fs::exists(game("env")));
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(TransferSkyTest, twoImagesPerFaceInFaceOrderAndNeverAThird)
{
    for (const char* face : {"up", "dn", "rt", "lf", "ft", "bk"}) {
        tree.file(std::string("work/env/Unit1_") + face + ".tga", "t");
        tree.file(std::string("work/env/Unit1_") + face + ".pcx", "p");
    }
    tree.file("work/env/Unit1_bk.zzz", "third");
    tree.file("work/env/Unit1_bkx.tga", "not a face");
    sky("Unit1_");
    Lines expected{"Created: " + game("env")};
    for (const char* face : {"bk", "ft", "lf", "rt", "dn", "up"}) {
        expected.push_back("Copied: " + game("env/") + "Unit1_" + face + ".pcx");
        expected.push_back("Copied: " + game("env/") + "Unit1_" + face + ".tga");
    }
    EXPECT_EQ(log.lines(), expected);
    EXPECT_FALSE(fs::exists(game("env/Unit1_bk.zzz")));
    EXPECT_FALSE(fs::exists(game("env/Unit1_bkx.tga")));
}

TEST_F(TransferSkyTest, everyExistingImageIsAskedAboutWithYesAndNo)
{
    tree.file("work/env/skybk.pcx", "new");
    tree.file("work/env/skybk.tga", "new");
    tree.file("game/env/skybk.pcx", "old");
    tree.file("game/env/skybk.tga", "old");
    host.answerPrompt(OverwriteAnswer::Yes);
    host.answerPrompt(OverwriteAnswer::No);
    sky("sky");
    EXPECT_EQ(log.lines(), (Lines{"Already Exists: " + game("env"),
                                  "Copied: " + game("env/skybk.pcx") + "\tOverwritten",
                                  "File Already Exists:  " + game("env/skybk.tga")}));
    EXPECT_EQ(promptCaptions(), (Lines{"Environment file exists!", "Environment file exists!"}));
    EXPECT_FALSE(host.prompts[0].showYesToAll || host.prompts[0].showNoToAll);
    EXPECT_EQ(tree.read("game/env/skybk.tga"), "old");

    log.clear();
    host.answerPrompt(OverwriteAnswer::No);
    host.answerPrompt(OverwriteAnswer::No);
    sky("sky");
    EXPECT_EQ(log.lines()[1], "File Exists: " + game("env/skybk.pcx"));
}

class TransferLevelFilesTest : public test::TransferFixture {
protected:
    std::string map = tree.file("work/maps/my.level.map", "level");
    std::string targetMapPath;

    void SetUp() override { tree.dir("game/maps"); }
    bool transfer() { return TransferLevelFiles(context, map, target, targetMapPath); }
};

TEST_F(TransferLevelFilesTest, firstAndRepeatedTransfersOfACompiledLevel)
{
    tree.file("work/maps/my.level.bsp", "bsp 1");
    ASSERT_TRUE(transfer());
    EXPECT_EQ(targetMapPath, game("maps/my.level.map"));
    EXPECT_EQ(log.lines(), (Lines{"Copied: " + game("maps/my.level.bsp")}));
    EXPECT_EQ(tree.read("game/maps/my.level.map"), "level");

    // The level was edited and compiled again: the .map is asked about first.
    tree.file("work/maps/my.level.map", "level 2");
    tree.file("work/maps/my.level.bsp", "bsp 2");
    log.clear();
    host.answerPrompt(OverwriteAnswer::No);
    host.answerPrompt(OverwriteAnswer::No);
    ASSERT_TRUE(transfer());
    EXPECT_EQ(log.lines(), (Lines{"Already exists: " + game("maps/my.level.map"),
                                  "Already exists: " + game("maps/my.level.bsp")}));
    EXPECT_EQ(promptCaptions(), (Lines{"File Exists!", "File Exists!"}));
    const PromptRequest& mapQuestion = host.prompts[0];
    EXPECT_EQ(mapQuestion.kind, PromptKind::Overwrite);
    ASSERT_EQ(mapQuestion.lines.size(), 7u);
    EXPECT_EQ(mapQuestion.lines[2].substr(0, mapQuestion.lines[2].find('\t')), game("maps/my.level.map"));
    EXPECT_EQ(mapQuestion.lines[6].substr(0, mapQuestion.lines[6].find('\t')), map);
    for (const PromptRequest& prompt : host.prompts)
        EXPECT_FALSE(prompt.showYesToAll || prompt.showNoToAll);
    EXPECT_EQ(tree.read("game/maps/my.level.map"), "level");

    // Yes replaces both; in move mode the level is still only copied.
    log.clear();
    host.answerPrompt(OverwriteAnswer::Yes);
    host.answerPrompt(OverwriteAnswer::Yes);
    context.mode = TransferMode::Move;
    ASSERT_TRUE(transfer());
    EXPECT_EQ(log.lines(), (Lines{"Copied: " + game("maps/my.level.map") + "\tOverwritten",
                                  "Moved: " + game("maps/my.level.bsp") + "\tOverwritten"}));
    EXPECT_EQ(tree.read("game/maps/my.level.bsp"), "bsp 2");
    EXPECT_EQ(tree.read("game/maps/my.level.map"), "level 2");
    EXPECT_FALSE(fs::exists(work("maps/my.level.bsp")));
    EXPECT_TRUE(fs::exists(map)) << "the level itself is never moved";
    EXPECT_EQ(host.prompts.size(), 4u);
}

TEST_F(TransferLevelFilesTest, aLevelWithTheSameBytesIsKeptWithoutAQuestion)
{
    tree.file("work/maps/my.level.bsp", "bsp");
    tree.file("game/maps/my.level.map", "level");  // same bytes, another file
    tree.file("game/maps/my.level.bsp", "bsp");
    host.answerPrompt(OverwriteAnswer::No);
    ASSERT_TRUE(transfer());
    EXPECT_EQ(promptCaptions(), Lines{"File Exists!"}) << "the .bsp only";
    EXPECT_EQ(host.prompts[0].lines[2].substr(0, host.prompts[0].lines[2].find('\t')), game("maps/my.level.bsp"));
    EXPECT_EQ(log.lines(), Lines{"Already exists: " + game("maps/my.level.bsp")});

    // The same size is not enough.
    tree.file("game/maps/my.level.map", "LEVEL");
    host.answerPrompt(OverwriteAnswer::No);
    host.answerPrompt(OverwriteAnswer::No);
    ASSERT_TRUE(transfer());
    EXPECT_EQ(host.prompts.size(), 3u);
    EXPECT_EQ(tree.read("game/maps/my.level.map"), "LEVEL");
}

TEST_F(TransferLevelFilesTest, aLevelThatCannotReplaceTheTargetsIsReportedAndTheOldOneStays)
{
    tree.file("work/maps/my.level.bsp", "bsp");
    tree.file("game/maps/my.level.map", "old level");
    host.answerPrompt(OverwriteAnswer::Yes);
    host.answer(MessageButton::Ok);
    {
        ScopedFaultInjector faults([&](FileOp op, std::string_view path) {
            return op == FileOp::Write && path == game("maps/my.level.map") ? ENOSPC : 0;
        });
        ASSERT_TRUE(transfer());
    }
    const std::string text = "Failed copy: \n" + map;
    EXPECT_EQ(log.lines(), (Lines{text, "Copied: " + game("maps/my.level.bsp")}));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, text);
    EXPECT_EQ(host.boxes[0].caption, "Error in source file");
    EXPECT_EQ(log.failures(), (std::vector<TransferFailure>{{map, "No space left on device"}}));
    EXPECT_EQ(tree.read("game/maps/my.level.map"), "old level");
}

TEST_F(TransferLevelFilesTest, aBspOnlyInTheTargetIsNoticedAndReportedByTheCaller)
{
    tree.file("game/maps/my.level.bsp", "old");
    EXPECT_FALSE(transfer());
    ASSERT_EQ(host.prompts.size(), 1u);
    const PromptRequest& notice = host.prompts[0];
    EXPECT_EQ(notice.kind, PromptKind::Notice);
    EXPECT_EQ(notice.caption, "BSP file exists!");
    EXPECT_EQ(notice.lines, (Lines{"DOES NOT EXIST:", work("maps/my.level.bsp"), "  ", "EXISTS:",
                                   game("maps/my.level.bsp"), "  ", "Continue?"}));
    EXPECT_TRUE(notice.showYes && notice.showNo);
    EXPECT_TRUE(host.alerts.empty());
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(TransferLevelFilesTest, anUncompiledLevelReportsTheFailedCopy)
{
    host.answer(MessageButton::Ok);
    EXPECT_TRUE(transfer());
    const std::string text = "Failed copy: \n" + work("maps/my.level.bsp");
    EXPECT_EQ(log.lines(), (Lines{text}));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, text);
    EXPECT_EQ(host.boxes[0].caption, "Error in source file");
    EXPECT_EQ(host.alerts, (std::vector<AlertSound>{AlertSound::Error}));
    EXPECT_EQ(tree.read("game/maps/my.level.map"), "level");
}

TEST(BspPath, replacesTheFileNamesOwnExtension)
{
    EXPECT_EQ(BspPath("/w/maps/my.level.map"), "/w/maps/my.level.bsp");
    EXPECT_EQ(BspPath("/w/my.mod/maps/level"), "/w/my.mod/maps/level.bsp");
    EXPECT_EQ(TargetMapPath("/w/maps/a.map", "/t"), "/t/maps/a.map");
}

}  // namespace
}  // namespace corvane
