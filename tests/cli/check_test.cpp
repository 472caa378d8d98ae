// corvane-cli check: what a transfer would do, as text and as JSON, its exit
// status, and that it changes nothing anywhere.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_run.h"
#include "hardening/surroundings.h"
#include "support/game_files.h"
#include "support/temp_tree.h"

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

// A level with one file in every state a check tells apart: a new .bsp, sky
// images new and the same, a texture to replace, one missing, one refused, a
// stock one, a sound, and a Pellark tree with one file the target has.
class CheckTest : public ::testing::Test {
protected:
    test::TempTree tree;
    std::string level = tree.file("work/maps/w.map",
                                  "{\n\"sky\" \"wsky\"\n{\n"
                                  "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) w/wall 0 0 0 1 1\n"
                                  "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) w/gone 0 0 0 1 1\n"
                                  "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) w/\x1b[2J 0 0 0 1 1\n"
                                  "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) e1u1/floor 0 0 0 1 1\n}\n}\n"
                                  "{\n\"noise\" \"w/bell\"\n}\n");
    std::string target = tree.path("game");

    void SetUp() override
    {
        tree.file("work/maps/w.bsp", "compiled");
        tree.file("work/textures/w/wall.wal", "new wall");
        tree.file("game/textures/w/wall.wal", "old wall");
        tree.file("work/sound/w/bell.wav", "bell");
        for (const char* face : {"bk", "ft", "lf", "rt", "dn", "up"})
            tree.file("work/env/wsky" + std::string(face) + ".tga", "sky");
        tree.file("game/env/wskyup.tga", "sky");
        tree.file("pellark/autoexec.cfg", "exec");
        tree.file("pellark/config.cfg", "left out");
        tree.file("game/autoexec.cfg", "exec");
    }

    CliRun check(std::vector<std::string> options)
    {
        std::vector<std::string> args{"check", level, "--target", target};
        args.insert(args.end(), options.begin(), options.end());
        return Cli(args);
    }
};

TEST_F(CheckTest, oneLinePerFileInTheTransfersOrderAndASummary)
{
    const CliRun run = check({"--sky", "--pellark", tree.path("pellark")});
    EXPECT_EQ(run.status, 1) << "a texture is missing and one refused";
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "new      level  w.map\n"
              "new      bsp  w.bsp\n"
              "new      sky  wskybk.tga\n"
              "new      sky  wskyft.tga\n"
              "new      sky  wskylf.tga\n"
              "new      sky  wskyrt.tga\n"
              "new      sky  wskydn.tga\n"
              "same     sky  wskyup.tga\n"
              "refused  texture  w/\\x1B[2J.wal  (a control character)\n"
              "missing  texture  w/gone.wal\n"
              "replace  texture  w/wall.wal\n"
              "stock    texture  e1u1/floor.wal\n"
              "new      sound  w/bell\n"
              "same     pellark  autoexec.cfg\n"
              "Summary: 8 new, 1 replace, 2 same, 1 missing, 1 stock, 1 refused; " +
                  std::to_string(fs::file_size(level) + 8 + 5 * 3 + 8 + 4) +
                  " bytes would be written\n"
                  "Warning: the compiled level w.bsp cannot be read: bad magic\n");

    // Without the options, neither the sky nor the Pellark tree is looked at.
    const CliRun plain = check({});
    EXPECT_EQ(plain.out.find(" sky "), std::string::npos) << plain.out;
    EXPECT_EQ(plain.out.find(" pellark "), std::string::npos) << plain.out;
}

TEST_F(CheckTest, jsonHasOneObjectWithTheItemsAndTheSummary)
{
    const CliRun run = check({"--json"});
    EXPECT_EQ(run.status, 1);
    const std::string work = tree.path("work");
    EXPECT_EQ(run.out,
              "{\"items\": [\n"
              "{\"kind\": \"level\", \"name\": \"w.map\", \"source\": \"" + work + "/maps/w.map\", \"target\": \"" +
                  target + "/maps/w.map\", \"status\": \"new\", \"bytes\": " +
                  std::to_string(fs::file_size(level)) + "},\n"
              "{\"kind\": \"bsp\", \"name\": \"w.bsp\", \"source\": \"" + work + "/maps/w.bsp\", \"target\": \"" +
                  target + "/maps/w.bsp\", \"status\": \"new\", \"bytes\": 8},\n"
              "{\"kind\": \"texture\", \"name\": \"w/\\u001b[2J.wal\", \"source\": \"" + work +
                  "/textures/w/\\u001b[2J.wal\", \"target\": \"" + target +
                  "/textures/w/\\u001b[2J.wal\", \"status\": \"refused\", \"bytes\": 0, "
                  "\"reason\": \"a control character\"},\n"
              "{\"kind\": \"texture\", \"name\": \"w/gone.wal\", \"source\": \"" + work +
                  "/textures/w/gone.wal\", \"target\": \"" + target +
                  "/textures/w/gone.wal\", \"status\": \"missing\", \"bytes\": 0},\n"
              "{\"kind\": \"texture\", \"name\": \"w/wall.wal\", \"source\": \"" + work +
                  "/textures/w/wall.wal\", \"target\": \"" + target +
                  "/textures/w/wall.wal\", \"status\": \"replace\", \"bytes\": 8},\n"
              "{\"kind\": \"texture\", \"name\": \"e1u1/floor.wal\", \"source\": \"" + work +
                  "/textures/e1u1/floor.wal\", \"target\": \"" + target +
                  "/textures/e1u1/floor.wal\", \"status\": \"stock\", \"bytes\": 0},\n"
              "{\"kind\": \"sound\", \"name\": \"w/bell\", \"source\": \"" + work +
                  "/sound/w/bell.wav\", \"target\": \"" + target +
                  "/sound/w/bell.wav\", \"status\": \"new\", \"bytes\": 4}\n"
              "], \"summary\": {\"new\": 3, \"replace\": 1, \"same\": 0, \"missing\": 1, \"stock\": 1, "
              "\"refused\": 1, \"not-included\": 0, \"bytes\": " + std::to_string(fs::file_size(level) + 8 + 8 + 4) +
                  "}, \"warnings\": [\"the compiled level w.bsp cannot be read: bad magic\"]}\n");
}

TEST_F(CheckTest, exitStatusSaysWhetherTheReleaseIsWholeAndTheTransferCanBegin)
{
    // Nothing missing or refused: 0, also into a target that does not exist.
    tree.file("work/maps/ok.map", "{\n{\n( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) w/wall 0 0 0 1 1\n}\n}\n");
    tree.file("work/maps/ok.bsp", "compiled");
    const std::string ok = tree.path("work/maps/ok.map");
    EXPECT_EQ(Cli({"check", ok, "--target", tree.path("new")}).status, 0);
    // A .bsp not yet compiled is missing.
    fs::remove(tree.path("work/maps/ok.bsp"));
    const CliRun uncompiled = Cli({"check", ok, "--target", tree.path("new")});
    EXPECT_EQ(uncompiled.status, 1);
    EXPECT_EQ(uncompiled.out.rfind("new      level  ok.map\nmissing  bsp  ok.bsp\n", 0), 0u) << uncompiled.out;
    tree.file("work/maps/ok.bsp", "compiled");

    // A target the transfer cannot begin with.
    const CliRun unreachable = Cli({"check", ok, "--target", tree.path("no/such/game")});
    EXPECT_EQ(unreachable.status, 1);
    EXPECT_EQ(unreachable.err, "corvane-cli: check: " + tree.path("no/such/game") +
                                   " cannot be made: its parent folder does not exist\n");
    const CliRun drive = Cli({"check", ok, "--target", "/"});
    EXPECT_EQ(drive.status, 1);
    EXPECT_EQ(drive.err, "corvane-cli: check: / is a whole drive; the transfer would refuse it\n");

    // A level that cannot be read.
    EXPECT_EQ(Cli({"check", tree.path("work/maps/none.map"), "--target", target}).status, 1);

    // Wrong arguments.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check"}, {"check", ok}, {"check", ok, "--target"}, {"check", ok, "--target", ""},
          {"check", ok, ok, "--target", target}, {"check", ok, "--target", target, "--move"},
          {"check", ok, "--target", target, "--overwrite", "all"}, {"check", ok, "--target", target, "--pellark="}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err.find("Usage: corvane-cli check"), std::string::npos) << run.err;
    }
    const CliRun help = Cli({"check", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: corvane-cli check", 0), 0u);
}

// Neither the working tree, the Pellark tree nor the target changes, and a
// target that does not exist is not made.
TEST_F(CheckTest, changesNothingAnywhere)
{
    const test::Snapshot before(tree.root());
    for (const std::string& into : {target, tree.path("absent")}) {
        for (const char* format : {"--json", "--sky"}) {
            const CliRun run = Cli({"check", level, "--target", into, "--sky", "--pellark", tree.path("pellark"),
                                    format});
            EXPECT_EQ(run.status, 1);
        }
    }
    EXPECT_EQ(test::Snapshot(tree.root()).changesSince(before), std::vector<std::string>{});
    EXPECT_FALSE(fs::exists(tree.path("absent")));
}

// --complete: without it the frames a complete release would add are listed
// as not-included and summed up; with it they are new, and a missing one
// makes the release incomplete.
TEST_F(CheckTest, completeListsFramesAndSaysWhatWouldBeLeftOut)
{
    tree.file("work/textures/w/wall.wal", test::MakeWal("w/wall", "w/wall2"));
    tree.file("work/textures/w/wall2.wal", test::MakeWal("w/wall2", "w/wall3"));
    tree.file("work/maps/w.bsp", test::MakeBsp("{\n}\n", {"w/wall", "w/gone", "w/\x1b[2J", "e1u1/floor"}));

    const CliRun off = check({});
    EXPECT_NE(off.out.find("not-included  frame  textures/w/wall2.wal  for w/wall.wal\n"), std::string::npos)
        << off.out;
    EXPECT_NE(off.out.find("not-included  frame  textures/w/wall3.wal  for w/wall.wal\n"), std::string::npos);
    EXPECT_NE(off.out.find(", 2 not-included; "), std::string::npos);
    EXPECT_TRUE(off.out.ends_with("Complete release: 2 animation frames not included\n")) << off.out;

    tree.file("work/textures/w/gone.wal", "no longer missing");
    tree.file("work/textures/w/\x1b[2J.wal", "");
    const CliRun on = check({"--complete", "--json"});
    EXPECT_NE(on.out.find("{\"kind\": \"frame\", \"name\": \"textures/w/wall2.wal\""), std::string::npos) << on.out;
    EXPECT_NE(on.out.find("\"status\": \"new\", \"bytes\": " +
                          std::to_string(fs::file_size(tree.path("work/textures/w/wall2.wal"))) +
                          ", \"neededBy\": \"w/wall.wal\"}"), std::string::npos);
    EXPECT_NE(on.out.find("\"status\": \"missing\", \"bytes\": 0, \"neededBy\": \"w/wall.wal\"}"), std::string::npos);
    EXPECT_EQ(on.status, 1) << "a frame is missing (and one name refused)";
}

}  // namespace
}  // namespace corvane::cli
