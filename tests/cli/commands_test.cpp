#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/faults.h"
#include "support/temp_tree.h"

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun Cli(const std::vector<std::string>& args, const std::string& input = {})
{
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunCli(args, in, out, err);
    return {status, out.str(), err.str()};
}

class CliTransferTest : public ::testing::Test {
protected:
    test::TempTree tree;
    std::string level = tree.file("work/maps/w.map",
                                  "{\n\"classname\" \"worldspawn\"\n\"sky\" \"wsky\"\n{\n"
                                  "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) w/wall 0 0 0 1 1\n}\n}\n"
                                  "{\n\"noise\" \"w/bell\"\n}\n");
    std::string target = tree.path("game");

    void SetUp() override
    {
        tree.file("work/maps/w.bsp", "compiled");
        tree.file("work/textures/w/wall.wal", "wall");
        tree.file("work/sound/w/bell.wav", "bell");
        tree.file("work/env/wskybk.tga", "sky");
    }

    CliRun transfer(std::vector<std::string> options, const std::string& input = {})
    {
        std::vector<std::string> args{"transfer", level, "--target", target};
        args.insert(args.end(), options.begin(), options.end());
        return Cli(args, input);
    }
};

const std::string kNotCompiled = "Warning: the compiled level w.bsp cannot be read: bad magic\n";

TEST_F(CliTransferTest, theLogGoesToStdoutAndTheTotalToStderr)
{
    const CliRun run = transfer({});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Created: " + target + "\nCreated: " + target + "/maps\nCopied: " + target +
                           "/maps/w.bsp\nCreated: " + target + "/textures/w\nCreated: " + target +
                           "/sound/w\nCopied: w/wall.wal\nCopied: w/bell.wav\n");
    // The fixture's .bsp is no compiled level: a warning, and still exit 0.
    EXPECT_EQ(run.err, "Total Bytes:  " + std::to_string(fs::file_size(level) + 16) + "\n" + kNotCompiled);
}

// After the total, standard error sums up what went wrong, each with its
// reason, and the exit status is 3: the transfer ran through, but the release
// lacks something. The log keeps its own lines.
TEST_F(CliTransferTest, problemsAreSummedUpAfterTheTotalAndExitThree)
{
    const std::string work = tree.path("work");
    const CliRun sky = transfer({"--sky"});
    EXPECT_EQ(sky.status, 3);
    EXPECT_NE(sky.out.find("Copied: " + target + "/env/wskybk.tga\n"), std::string::npos);
    EXPECT_EQ(sky.err, "Total Bytes:  " + std::to_string(fs::file_size(level) + 19) + "\n"
                       "Problems: 0 failed, 5 missing, 0 refused\n"
                       "Missing: " + work + "/env/wskyft.*\nMissing: " + work + "/env/wskylf.*\n"
                       "Missing: " + work + "/env/wskyrt.*\nMissing: " + work + "/env/wskydn.*\n"
                       "Missing: " + work + "/env/wskyup.*\n" + kNotCompiled);

    const std::string broken = tree.file("work/maps/broken.map",
                                         "{\n\"sky\" \"w*\"\n{\n"
                                         "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) w/wall 0 0 0 1 1\n"
                                         "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) w/gone 0 0 0 1 1\n"
                                         "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) w/../../x 0 0 0 1 1\n}\n}\n");
    tree.file("work/maps/broken.bsp", "compiled");
    const ScopedFaultInjector full([&](FileOp op, std::string_view path) {
        return op == FileOp::Write && path == tree.path("other/textures/w/wall.wal") ? ENOSPC : 0;
    });
    const CliRun run = Cli({"transfer", broken, "--target", tree.path("other"), "--sky", "--overwrite", "all"});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.out.find("Failed copy:  \n   " + work + "/textures/w/wall.wal\n"), std::string::npos);
    const std::string summary = run.err.substr(run.err.find("\nTotal Bytes:  ") + 1);
    EXPECT_EQ(summary.substr(summary.find('\n') + 1),
              "Problems: 1 failed, 1 missing, 2 refused\n"
              "Failed: " + work + "/textures/w/wall.wal: No space left on device\n"
              "Missing: " + work + "/textures/w/gone.wal\n"
              "Refused sky: w*: a wildcard\n"
              "Refused: w/../../x.wal: a '..' component\n"
              "Warning: the compiled level broken.bsp cannot be read: bad magic\n");
}

TEST_F(CliTransferTest, askReadsOneAnswerPerQuestionAndRefusesHiddenButtons)
{
    ASSERT_EQ(transfer({}).status, 0);
    tree.file("work/maps/w.bsp", "compiled 2");
    const CliRun run = transfer({"--move"}, "yes\nOK\ny\nall\nn\n");
    EXPECT_EQ(run.status, 0);
    const std::string err = run.err;
    EXPECT_EQ(err.substr(0, err.find("Answer: ok, cancel\n") + 19),
              "[File Exists!]\nDirectory exists: \n" + target + "\n  \nContinue?\nAnswer: ok, cancel\n");
    EXPECT_NE(err.find("corvane-cli: 'yes' is not one of the answers\n"), std::string::npos);
    EXPECT_NE(err.find("[Textures dir exists! W]\nOverwrite?\n  \n" + target + "/textures/w/wall.wal\t"),
              std::string::npos);
    EXPECT_NE(err.find("Answer: yes, no, all (Yes to All), none (No to All)\n"), std::string::npos);
    EXPECT_NE(err.find("[Sounds dir exists! W]"), std::string::npos);
    // The test's .bsp is no compiled level, and the warning about it follows the total.
    EXPECT_NE(err.find("Total Bytes:  " + std::to_string(fs::file_size(level) + 10 + 4 + 4) +
                       "\nWarning: the compiled level w.bsp cannot be read: bad magic\n"),
              std::string::npos);
    EXPECT_TRUE(err.ends_with("cannot be read: bad magic\n"));
    EXPECT_NE(run.out.find("Moved: " + target + "/maps/w.bsp\tOverwritten\n"), std::string::npos);
    EXPECT_NE(run.out.find("Moved: w/wall.wal\tOverwritten\n"), std::string::npos);
    EXPECT_NE(run.out.find("Already Exists: w/bell.wav\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(tree.path("work/sound/w/bell.wav")));
    EXPECT_FALSE(fs::exists(tree.path("work/textures/w/wall.wal")));
}

TEST_F(CliTransferTest, theEndOfInputTakesTheSafestAnswerAndCancelEndsEarly)
{
    ASSERT_EQ(transfer({}).status, 0);
    const CliRun run = transfer({}, "");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Already exists: " + target + "\n");
    EXPECT_NE(run.err.find("corvane-cli: warning: no more answers on standard input; answering cancel\n"
                           "[Error]\nDidn't create target directory!\n" + target +
                           "\n\nChoose New from the File menu\n"),
              std::string::npos);
}

TEST_F(CliTransferTest, noneKeepsEverythingButGoesOnIntoTheTarget)
{
    ASSERT_EQ(transfer({}).status, 0);
    tree.file("work/textures/w/wall.wal", "wall 2");
    const CliRun run = transfer({"--overwrite", "none"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Already exists: " + target + "/maps/w.bsp\nAlready exists: " + target + "/textures"),
              std::string::npos);
    EXPECT_NE(run.out.find("Already Exists: w/wall.wal\nAlready Exists: w/bell.wav\n"), std::string::npos);
    EXPECT_EQ(tree.read("game/textures/w/wall.wal"), "wall");
    EXPECT_NE(run.err.find("Continue?\nAnswer: ok, cancel\nAnswered: ok\n"), std::string::npos);
    EXPECT_NE(run.err.find("Answer: yes, no, all (Yes to All), none (No to All)\nAnswered: none (No to All)\n"),
              std::string::npos);

    const CliRun all = transfer({"--overwrite=all"});
    EXPECT_NE(all.out.find("Copied: w/wall.wal\tOverwritten\n"), std::string::npos);
    EXPECT_NE(all.err.find("Answer: yes, no\nAnswered: yes\n"), std::string::npos) << "the .bsp";
    EXPECT_EQ(tree.read("game/textures/w/wall.wal"), "wall 2");
}

TEST_F(CliTransferTest, anEditedLevelIsReplacedUnderAllAndKeptUnderNone)
{
    ASSERT_EQ(transfer({}).status, 0);
    const std::string first = tree.read("work/maps/w.map");
    tree.file("work/maps/w.map", first + "// moved a light\n");
    const std::string maps = target + "/maps/";

    const CliRun none = transfer({"--overwrite", "none"});
    EXPECT_EQ(none.status, 0);
    EXPECT_NE(none.out.find("Already exists: " + maps + "w.map\nAlready exists: " + maps + "w.bsp\n"),
              std::string::npos);
    EXPECT_NE(none.err.find("[File Exists!]\nOverwrite?\n  \n" + maps + "w.map\t"), std::string::npos);
    EXPECT_EQ(tree.read("game/maps/w.map"), first);

    const CliRun all = transfer({"--overwrite", "all"});
    EXPECT_NE(all.out.find("Copied: " + maps + "w.map\tOverwritten\nCopied: " + maps + "w.bsp\tOverwritten\n"),
              std::string::npos);
    EXPECT_EQ(tree.read("game/maps/w.map"), tree.read("work/maps/w.map"));

    // Now that both hold the same bytes, the level is not asked about.
    const CliRun again = transfer({"--overwrite", "all"});
    EXPECT_EQ(again.out.find(maps + "w.map"), std::string::npos);
    EXPECT_EQ(again.err.find(maps + "w.map\t"), std::string::npos);
}

TEST_F(CliTransferTest, notFoundAndWrongArguments)
{
    EXPECT_EQ(Cli({"transfer", level}).status, 2);
    EXPECT_EQ(Cli({"transfer", "--target", target}).status, 2);
    EXPECT_EQ(transfer({"--overwrite", "maybe"}).status, 2);
    EXPECT_EQ(transfer({"--bogus"}).status, 2);
    EXPECT_EQ(transfer({"--pellark"}).status, 2);
    const CliRun missing = Cli({"transfer", tree.path("none.map"), "--target", target});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "corvane-cli: can't open file '" + tree.path("none.map") +
                               "': No such file or directory\n");
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(CliTransferTest, sourceDirAndPellarkOptions)
{
    tree.file("base/autoexec.cfg", "exec");
    tree.file("other/maps/.keep");
    tree.file("other/textures/w/wall.wal", "other wall");
    const CliRun run =
        transfer({"--source-dir", tree.path("other/maps"), "--pellark", tree.path("base")});
    EXPECT_EQ(run.status, 3) << "the sound is missing";
    EXPECT_EQ(tree.read("game/textures/w/wall.wal"), "other wall");
    EXPECT_EQ(tree.read("game/autoexec.cfg"), "exec");
    EXPECT_NE(run.err.find("[File Does Not Exist!]\nDOES NOT EXIST:\n" + tree.path("other/sound/w/bell.wav")),
              std::string::npos);
}

TEST(CliPoolAndSize, poolPrintsTheUnionAndSizeTheTotal)
{
    test::TempTree tree;
    tree.file("game/maps/a.map", "// a\n{\n( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) x/a 0 0 0 1 1\n}\n{\n\"noise\" \"s/n.wav\"\n}\n");
    const CliRun one = Cli({"pool", tree.path("game")});
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(one.err, "[Can't group!]\nOnly one .map file found!\n");
    tree.file("game/maps/b.map", "// b\n{\n( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) x/b 0 0 0 1 1\n}\n");
    const CliRun pooled = Cli({"pool", tree.path("game")});
    EXPECT_EQ(pooled.status, 0);
    EXPECT_EQ(pooled.out, "Textures: 2\nx/a.wal\nx/b.wal\nSounds: 1\ns/n.wav\n");
    EXPECT_EQ(Cli({"pool", tree.path("game"), "--json"}).out,
              "{\"textures\": [\"x/a.wal\", \"x/b.wal\"], \"sounds\": [\"s/n.wav\"]}\n");

    // A level without a brush is named and skipped; the others are pooled.
    tree.file("game/maps/broken.map", "");
    const CliRun skipped = Cli({"pool", tree.path("game")});
    EXPECT_EQ(skipped.status, 1);
    EXPECT_EQ(skipped.out, pooled.out);
    EXPECT_EQ(skipped.err, "Skipped " + tree.path("game/maps/broken.map") + ": no brush\n");
    fs::remove(tree.path("game/maps/broken.map"));

    tree.file("game/big.bin", std::string(1234567 - 128, 'b'));
    tree.file("game/maps/pad", std::string(128 - fs::file_size(tree.path("game/maps/a.map")) -
                                               fs::file_size(tree.path("game/maps/b.map")), 'p'));
    const CliRun size = Cli({"size", tree.path("game")});
    EXPECT_EQ(size.status, 0);
    EXPECT_EQ(size.out, "Total Bytes:  1,234,567\n");
    const CliRun missing = Cli({"size", tree.path("none")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "Total Bytes:  0\n");
    EXPECT_EQ(missing.err, "[Error]\nCant open target dir:\n" + tree.path("none") + "\n");
    EXPECT_EQ(Cli({"size"}).status, 2);
}

}  // namespace
}  // namespace corvane::cli
