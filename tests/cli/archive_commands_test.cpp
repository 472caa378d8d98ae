#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/pak_reader.h"
#include "cli/cli_run.h"
#include "support/temp_tree.h"

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

class CliPackTest : public ::testing::Test {
protected:
    test::TempTree tree;
    std::string game = tree.dir("mymod");

    void SetUp() override
    {
        tree.file("mymod/maps/mymod.bsp", "IBSP");
        tree.file("mymod/maps/mymod.map", "{ }");
        tree.file("mymod/textures/mymod/wall.wal", "wall");
    }
};

TEST_F(CliPackTest, packsIntoTheDefaultPlacesAndSaysWhereAndHowBig)
{
    const CliRun pak = Cli({"pack", game, "--format", "pak"});
    EXPECT_EQ(pak.status, 0);
    EXPECT_EQ(pak.err, "");
    EXPECT_EQ(pak.out, game + "/pak0.pak: 2 files, " + std::to_string(fs::file_size(game + "/pak0.pak")) +
                           " bytes\n");

    const CliRun zip = Cli({"pack", game + "/", "--format=pk3", "--with-sources"});
    EXPECT_EQ(zip.status, 0) << zip.err;
    EXPECT_EQ(zip.out.substr(0, zip.out.find(':')), game + ".pk3");
    EXPECT_NE(zip.out.find(": 4 files, "), std::string::npos) << "the pak and the source as well";
    EXPECT_NE(zip.err.find("warning: " + game + "/pak0.pak: an archive packed into the archive"), std::string::npos);

    // The format follows the output's name when none is given.
    const CliRun named = Cli({"pack", game, "-o", tree.path("release/PAK3.PAK")});
    EXPECT_EQ(named.status, 1) << "its folder does not exist";
    EXPECT_NE(named.err.find("corvane-cli: " + tree.path("release/PAK3.PAK") +
                             ": no temporary file can be made beside it: No such file or directory\n"),
              std::string::npos)
        << named.err;
    tree.dir("release");
    const CliRun pak3 = Cli({"pack", game, "--output", tree.path("release/PAK3.PAK")});
    EXPECT_EQ(pak3.status, 0);
    EXPECT_EQ(pak3.err, "corvane-cli: warning: " + tree.path("release/PAK3.PAK") +
                            ": the original engine loads only pak0.pak to pak9.pak\n"
                            "corvane-cli: warning: " + game + "/pak0.pak: an archive packed into the archive; "
                            "the game does not look inside it\n");
    EXPECT_TRUE(PakReader::Open(tree.path("release/PAK3.PAK")).listing().ok);
}

TEST_F(CliPackTest, failuresEndWithStatusOneAndALinePerProblem)
{
    ASSERT_EQ(Cli({"pack", game, "--format", "pkz"}).status, 0);
    const CliRun again = Cli({"pack", game, "--format", "pkz"});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(again.err, "corvane-cli: " + game + ".pkz: already exists and is not replaced without force\n");
    EXPECT_EQ(Cli({"pack", game, "--format", "pkz", "--force"}).status, 0);

    tree.file("mymod/textures/mymod/" + std::string(40, 'a') + ".wal", "long");
    tree.file("mymod/textures/mymod/" + std::string(41, 'b') + ".wal", "longer");
    const CliRun tooLong = Cli({"pack", game, "--format", "pak"});
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_EQ(tooLong.err, "corvane-cli: 'textures/mymod/" + std::string(40, 'a') +
                               ".wal' is 59 bytes long; a pak holds 55 at most\n"
                               "corvane-cli: 'textures/mymod/" + std::string(41, 'b') +
                               ".wal' is 60 bytes long; a pak holds 55 at most\n");
    EXPECT_FALSE(fs::exists(game + "/pak0.pak"));

    EXPECT_EQ(Cli({"pack", tree.dir("empty"), "--format", "pak"}).status, 1);
    EXPECT_EQ(Cli({"pack", tree.path("missing"), "--format", "pak"}).status, 1);
}

TEST_F(CliPackTest, wrongArgumentsEndWithStatusTwo)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"pack"},
             {"pack", game},
             {"pack", game, "--format", "zip"},
             {"pack", game, "--format"},
             {"pack", game, "-o", "out.tar"},
             {"pack", game, game, "--format", "pak"},
             {"pack", game, "--format", "pak", "--fast"},
             {"basegame"},
             {"basegame", game, "--all"},
         }) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_NE(run.err.find("Usage: corvane-cli "), std::string::npos);
    }
    const CliRun help = Cli({"pack", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: corvane-cli pack TARGET --format pak|pk3|pkz", 0), 0u);
}

TEST_F(CliPackTest, basegameCountsEachPlaceAndListsTheNames)
{
    ASSERT_EQ(Cli({"pack", game, "--format", "pak"}).status, 0);
    fs::rename(game + "/maps", game + "/loose");
    tree.file("mymod/textures/mymod/WALL.WAL", "loose wall");
    tree.file("mymod/pak1.pak", "PACK");

    const CliRun summary = Cli({"basegame", game});
    EXPECT_EQ(summary.status, 0);
    EXPECT_EQ(summary.out, "Loose: 3 files\n" + game + "/pak1.pak: refused\n" + game +
                               "/pak0.pak: 2 files, 1 of them found before it\nIn all: 4 files\n");
    EXPECT_EQ(summary.err, "corvane-cli: warning: " + game +
                               "/pak1.pak: not a pak: 4 bytes, too short for its header\n");

    const CliRun list = Cli({"basegame", "--list", game});
    EXPECT_EQ(list.out, "loose/mymod.bsp\nloose/mymod.map\nmaps/mymod.bsp\ntextures/mymod/WALL.WAL\n");

    const CliRun missing = Cli({"basegame", tree.path("missing")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "corvane-cli: warning: " + tree.path("missing") +
                               ": cannot be read: No such file or directory\n");
}

}  // namespace
}  // namespace corvane::cli
