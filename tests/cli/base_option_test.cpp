// corvane-cli scan, check and transfer with --base DIR: the base game decides
// what is the game's own; without it, the folder names do.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_bytes.h"
#include "cli_run.h"
#include "support/temp_tree.h"

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

// A level with a custom texture in an e1u1 folder, a stock texture named in
// upper case, a texture of the base game in a custom folder, a sound in world/
// the base game lacks and one it has, and a sky the base game has.
class BaseOption : public ::testing::Test {
protected:
    test::TempTree tree;
    std::string level = tree.file("work/maps/b.map",
                                  "{\n\"sky\" \"dusk\"\n{\n"
                                  "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) e1u1/mine 0 0 0 1 1\n"
                                  "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) E1U2/BASIC1_7 0 0 0 1 1\n"
                                  "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) town/wall 0 0 0 1 1\n}\n}\n"
                                  "{\n\"noise\" \"world/mine\"\n}\n"
                                  "{\n\"noise\" \"world/amb1.wav\"\n}\n");
    std::string base = tree.dir("baseq2");
    std::string target = tree.path("game");

    void SetUp() override
    {
        tree.file("work/maps/b.bsp", "compiled");
        tree.file("work/textures/e1u1/mine.wal", "mine");
        tree.file("work/textures/E1U2/BASIC1_7.wal", "a copy of the game's");
        tree.file("work/textures/town/wall.wal", "the game's wall, copied");
        tree.file("work/sound/world/mine.wav", "mine");
        tree.file("work/sound/world/amb1.wav", "the game's");
        for (const char* face : {"bk", "ft", "lf", "rt", "dn", "up"})
            tree.file("work/env/dusk" + std::string(face) + ".tga", "sky");
        tree.file("baseq2/pak0.pak", test::PakBytes({{"textures/e1u2/basic1_7.wal", "basic"},
                                                     {"sound/world/amb1.wav", "amb"}}));
        tree.file("baseq2/patch.pk3", test::ZipBytes({{"Textures/Town/Wall.wal", "wall"},
                                                      {"env/duskbk.pcx", "dusk"}}));
    }

    std::vector<std::string> with(std::vector<std::string> args, std::vector<std::string> more)
    {
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
};

TEST_F(BaseOption, scanListsWhatTheBaseGameLacks)
{
    const CliRun without = Cli({"scan", level, "--json"});
    EXPECT_EQ(without.status, 0);
    EXPECT_EQ(without.out, "{\"textures\": [\"E1U2/BASIC1_7.wal\", \"town/wall.wal\"], \"sounds\": [], "
                           "\"sky\": \"dusk\"}\n");

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"scan", level, "--json", "--base", base},
          std::vector<std::string>{"scan", "--base=" + base, level, "--json"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, "{\"textures\": [\"e1u1/mine.wal\"], \"sounds\": [\"world/mine\"], \"sky\": \"dusk\"}\n");
    }
}

TEST_F(BaseOption, checkPlansByTheBaseGame)
{
    const CliRun run = Cli({"check", level, "--target", target, "--sky", "--base", base});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("stock    sky  dusk\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("new      texture  e1u1/mine.wal\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("stock    texture  E1U2/BASIC1_7.wal\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("stock    texture  town/wall.wal\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("new      sound  world/mine\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("stock    sound  world/amb1.wav\n"), std::string::npos) << run.out;

    // Without it the folder names decide: the sky is shipped, e1u1/mine is not.
    const CliRun folders = Cli({"check", level, "--target", target, "--sky"});
    EXPECT_NE(folders.out.find("new      sky  duskbk.tga\n"), std::string::npos) << folders.out;
    EXPECT_NE(folders.out.find("stock    texture  e1u1/mine.wal\n"), std::string::npos) << folders.out;
    EXPECT_NE(folders.out.find("new      texture  town/wall.wal\n"), std::string::npos) << folders.out;
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(BaseOption, transferShipsWhatTheBaseGameLacks)
{
    const CliRun run = Cli({"transfer", level, "--target", target, "--sky", "--base", base});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(fs::exists(tree.path("game/textures/e1u1/mine.wal")));
    EXPECT_TRUE(fs::exists(tree.path("game/sound/world/mine.wav")));
    EXPECT_FALSE(fs::exists(tree.path("game/textures/E1U2")));
    EXPECT_FALSE(fs::exists(tree.path("game/textures/town")));
    EXPECT_FALSE(fs::exists(tree.path("game/sound/world/amb1.wav")));
    EXPECT_FALSE(fs::exists(tree.path("game/env/duskbk.tga")));
    EXPECT_NE(run.err.find("Can't copy internal env file: dusk"), std::string::npos) << run.err;
}

TEST_F(BaseOption, aBaseGameThatCannotBeReadEndsTheCommand)
{
    const std::string missing = tree.path("no baseq2");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"scan", level, "--base", missing},
          std::vector<std::string>{"check", level, "--target", target, "--base", missing},
          std::vector<std::string>{"transfer", level, "--target", target, "--base", missing}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 1) << args.front();
        EXPECT_EQ(run.out, "") << args.front();
        EXPECT_NE(run.err.find(args.front() + ": can't read the base game"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(BaseOption, theBaseGamesWarningsGoToStandardError)
{
    tree.file("baseq2/pak1.pak", "not a pak at all");
    const CliRun run = Cli({"scan", level, "--base", base});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("corvane-cli: warning: " + tree.path("baseq2/pak1.pak")), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("e1u1/mine.wal"), std::string::npos);
}

TEST_F(BaseOption, anEmptyOrMissingFolderIsAWrongArgument)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"scan", level, "--base"}, std::vector<std::string>{"scan", level, "--base="},
          std::vector<std::string>{"check", level, "--target", target, "--base", ""},
          std::vector<std::string>{"transfer", level, "--target", target, "--base"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err.find("--base"), std::string::npos) << run.err;
    }
}

TEST_F(BaseOption, theHelpNamesIt)
{
    for (const char* command : {"scan", "check", "transfer"})
        EXPECT_NE(Cli({command, "--help"}).out.find("--base DIR"), std::string::npos) << command;
}

}  // namespace
}  // namespace corvane::cli
