#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/faults.h"
#include "transfer/resources.h"
#include "transfer_fixture.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::Lines;

class TransferResourcesTest : public test::TransferFixture {
protected:
    void SetUp() override
    {
        tree.file("work/textures/a/1.wal", "new a1");
        tree.file("work/textures/a/2.wal", "new a2");
        tree.file("work/textures/a/3.wal", "new a3");
        tree.file("work/textures/b/3.wal", "new b3");
        tree.dir("game/textures/a");
        tree.dir("game/textures/b");
        tree.dir("game/sound");
    }

    void textures(const std::vector<std::string>& names)
    {
        TransferResources(context, ResourceKind::Textures, List(names), srcPath, target);
    }
};

TEST_F(TransferResourcesTest, newFilesAreCopiedWithoutQuestions)
{
    textures({"a/1.wal", "b/3.wal"});
    EXPECT_EQ(log.lines(), (Lines{"Copied: a/1.wal", "Copied: b/3.wal"}));
    EXPECT_EQ(tree.read("game/textures/b/3.wal"), "new b3");
    EXPECT_TRUE(host.prompts.empty());
    EXPECT_EQ(tree.read("work/textures/a/1.wal"), "new a1");
}

TEST_F(TransferResourcesTest, yesToAllCoversOnlyItsFolder)
{
    tree.file("game/textures/a/1.wal", "old");
    tree.file("game/textures/a/2.wal", "old");
    tree.file("game/textures/b/3.wal", "old");
    host.answerPrompt(OverwriteAnswer::YesToAll);
    host.answerPrompt(OverwriteAnswer::No);
    textures({"a/1.wal", "a/2.wal", "a/3.wal", "b/3.wal"});
    EXPECT_EQ(log.lines(), (Lines{"Copied: a/1.wal\tOverwritten", "Copied: a/2.wal\tOverwritten",
                                  "Copied: a/3.wal", "Already Exists: b/3.wal"}));
    EXPECT_EQ(promptCaptions(), (Lines{"Textures dir exists! A", "Textures dir exists! B"}));
    const PromptRequest& first = host.prompts[0];
    EXPECT_TRUE(first.showYes && first.showNo && first.showYesToAll && first.showNoToAll);
    ASSERT_EQ(first.lines.size(), 7u);
    EXPECT_EQ(first.lines[0], "Overwrite?");
    EXPECT_EQ(first.lines[2].substr(0, first.lines[2].find('\t')), game("textures/a/1.wal"));
    EXPECT_EQ(first.lines[4], "   with");
    EXPECT_EQ(first.lines[6].substr(0, first.lines[6].find('\t')), work("textures/a/1.wal"));
    OverwriteAnswer escape{};
    ASSERT_TRUE(first.escapeAnswer(escape));
    EXPECT_EQ(escape, OverwriteAnswer::No);
    EXPECT_EQ(tree.read("game/textures/a/2.wal"), "new a2");
    EXPECT_EQ(tree.read("game/textures/b/3.wal"), "old");
}

TEST_F(TransferResourcesTest, noToAllKeepsTheRestOfTheFolderButCopiesWhatIsMissing)
{
    tree.file("game/textures/a/1.wal", "old");
    tree.file("game/textures/a/3.wal", "old");
    host.answerPrompt(OverwriteAnswer::NoToAll);
    textures({"a/1.wal", "a/2.wal", "a/3.wal"});
    EXPECT_EQ(log.lines(),
              (Lines{"Already Exists: a/1.wal", "Copied: a/2.wal", "Already Exists: a/3.wal"}));
    EXPECT_EQ(host.prompts.size(), 1u);
    EXPECT_EQ(tree.read("game/textures/a/3.wal"), "old");
}

TEST_F(TransferResourcesTest, aMissingSourceIsNoticedAndLogged)
{
    tree.file("game/textures/a/9.wal", "there");
    textures({"a/8.wal", "a/9.wal"});
    ASSERT_EQ(host.prompts.size(), 2u);
    const PromptRequest& notice = host.prompts[0];
    EXPECT_EQ(notice.kind, PromptKind::Notice);
    EXPECT_EQ(notice.caption, "File Does Not Exist!");
    EXPECT_EQ(notice.lines, (Lines{"DOES NOT EXIST:", work("textures/a/8.wal"), "  ", "DOES NOT EXIST:",
                                   game("textures/a/8.wal"), "  "}));
    EXPECT_TRUE(notice.showYes);
    EXPECT_FALSE(notice.showNo || notice.showYesToAll || notice.showNoToAll);
    EXPECT_EQ(notice.yesCaption, "&Ok");
    OverwriteAnswer escape{};
    EXPECT_FALSE(notice.escapeAnswer(escape)) << "Escape does nothing";
    EXPECT_EQ(host.prompts[1].lines[3], "EXISTS:");
    EXPECT_EQ(host.alerts, (std::vector<AlertSound>{AlertSound::Error, AlertSound::Error}));
    EXPECT_EQ(log.lines(), (Lines{"   ", "*?*?* Check your entities in your map file. *?*?*",
                                  "Does not exist:  ", "   " + work("textures/a/8.wal"), "   ", "   ",
                                  "*?*?* Check your entities in your map file. *?*?*",
                                  "Does not exist:  ", "   " + work("textures/a/9.wal"), "   "}));
}

TEST_F(TransferResourcesTest, moveDeletesTheSourceOnlyWhenTheCopyArrived)
{
    context.mode = TransferMode::Move;
    textures({"a/1.wal"});
    EXPECT_EQ(log.lines(), (Lines{"Moved: a/1.wal"}));
    EXPECT_FALSE(fs::exists(work("textures/a/1.wal")));

    log.clear();
    {
        ScopedFaultInjector faults([](FileOp op, std::string_view) { return op == FileOp::Delete ? EACCES : 0; });
        textures({"a/2.wal"});
    }
    EXPECT_EQ(log.lines(), (Lines{"Copied: a/2.wal", "   Could not delete source: " + work("textures/a/2.wal")}));
    EXPECT_TRUE(fs::exists(work("textures/a/2.wal")));

    log.clear();
    host.answer(MessageButton::Ok);
    {
        ScopedFaultInjector faults([](FileOp op, std::string_view) { return op == FileOp::Write ? ENOSPC : 0; });
        textures({"a/3.wal"});
    }
    EXPECT_EQ(log.lines(), (Lines{"   ", "*?*?* Check your entities in your map file. *?*?*", "Failed move: ",
                                  "   " + work("textures/a/3.wal"), "   "}));
    EXPECT_EQ(tree.read("work/textures/a/3.wal"), "new a3");
    EXPECT_FALSE(fs::exists(game("textures/a/3.wal")));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Failed move: \n      " + work("textures/a/3.wal"));
    EXPECT_EQ(host.boxes[0].caption, "Error in source .map file");
    EXPECT_EQ(host.boxes[0].icon, MessageIcon::Warning);
    EXPECT_EQ(host.alerts, (std::vector<AlertSound>{AlertSound::Error}));
}

TEST_F(TransferResourcesTest, aTargetThatIsTheSourceItselfFailsAndLosesNothing)
{
    fs::remove_all(game("textures"));
    fs::create_directory_symlink(work("textures"), game("textures"));
    context.mode = TransferMode::Move;
    host.answerPrompt(OverwriteAnswer::Yes);
    host.answer(MessageButton::Ok);
    textures({"a/1.wal"});
    EXPECT_EQ(log.lines()[2], "Failed move: ");
    EXPECT_EQ(tree.read("work/textures/a/1.wal"), "new a1");
}

TEST_F(TransferResourcesTest, soundsWithoutExtensionAndWithoutFolder)
{
    tree.file("work/sound/s/bell.wav", "bell");
    tree.file("work/sound/drip.wav", "drip");
    tree.dir("game/sound/s");
    TransferResources(context, ResourceKind::Sounds, List({"s/bell", "/drip.wav"}), srcPath, target);
    EXPECT_EQ(log.lines(), (Lines{"Copied: /drip.wav", "Copied: s/bell.wav"}));
    EXPECT_EQ(tree.read("game/sound/s/bell.wav"), "bell");
    EXPECT_EQ(tree.read("game/sound/drip.wav"), "drip");
}

TEST_F(TransferResourcesTest, unsafeNamesAreRefusedAndNothingOutsideChanges)
{
    tree.file("secret.wal", "secret");
    tree.file("work/secret.wal", "work secret");
    const Lines before = tree.entries();
    context.mode = TransferMode::Move;
    textures({"../../secret.wal", "a/../../secret.wal"});
    EXPECT_EQ(log.lines(), (Lines{"   ", "*?*?* Check your entities in your map file. *?*?*",
                                  "Unsafe name refused:  ", "   ../../secret.wal", "   ", "   ",
                                  "*?*?* Check your entities in your map file. *?*?*",
                                  "Unsafe name refused:  ", "   a/../../secret.wal", "   "}));
    EXPECT_TRUE(host.prompts.empty());
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(tree.entries(), before);
}

TEST_F(TransferResourcesTest, nestedNamesArriveInTheirFolders)
{
    tree.file("work/textures/a/sub/x.wal", "x");
    tree.dir("game/textures/a/sub");
    textures({"a/sub/x.wal"});
    EXPECT_EQ(log.lines(), (Lines{"Copied: a/sub/x.wal"}));
    EXPECT_EQ(tree.read("game/textures/a/sub/x.wal"), "x");
}

}  // namespace
}  // namespace corvane
