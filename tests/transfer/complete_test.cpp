// Complete releases: what the game loads beyond the level's lists is found,
// planned (not-included unless the job is complete) and shipped; names in
// another letter case are found; the compiled level is checked against its
// source.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "map/load.h"
#include "platform/files.h"
#include "support/game_files.h"
#include "transfer/command.h"
#include "transfer/extras.h"
#include "transfer/host.h"
#include "transfer/plan.h"
#include "transfer/transfer_fixture.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

std::string Face(const std::string& texture)
{
    return "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) " + texture + " 0 0 0 1 1\n";
}

class CompleteRelease : public TransferFixture {
protected:
    LoadedLevel level;
    std::string mapPath;

    // Writes the level w.map of these faces and entity lines, and loads it.
    void load(const std::vector<std::string>& textures, const std::string& entityLines = {})
    {
        std::string text = "{\n\"classname\" \"worldspawn\"\n{\n";
        for (const std::string& texture : textures)
            text += Face(texture);
        text += "}\n}\n";
        if (!entityLines.empty())
            text += "{\n\"classname\" \"misc_thing\"\n" + entityLines + "}\n";
        mapPath = tree.file("work/maps/w.map", text);
        ASSERT_TRUE(LoadMapFile(mapPath, level, CantOpenFileQuestion(host)).scanned);
    }

    TransferJob job(bool complete) const
    {
        TransferJob made;
        made.target = made.targPath = target;
        made.srcPath = srcPath;
        made.currentMapPath = mapPath;
        made.complete = complete;
        return made;
    }

    std::vector<ExtraFile> extras()
    {
        CaseLookup lookup;
        return FindExtras(level, srcPath, target, StockRule(), lookup);
    }

    // Each extra as "kind name [for] status-ish": what a reader of the plan sees.
    static Lines Shown(const std::vector<ExtraFile>& files)
    {
        Lines shown;
        for (const ExtraFile& file : files) {
            std::string line = std::string(PlanKindName(file.kind)) + " " + file.name + " for " + file.neededBy;
            if (!file.refusal.empty())
                line += " refused: " + file.refusal;
            if (file.stock)
                line += " stock";
            if (!file.note.empty())
                line += " (" + file.note + ")";
            shown.push_back(line);
        }
        return shown;
    }

    // The plan's items beyond the classic ones, as "status kind name".
    static Lines Added(const Plan& plan)
    {
        Lines added;
        for (const PlanItem& item : plan.items) {
            if (!item.neededBy.empty())
                added.push_back(std::string(PlanStatusName(item.status)) + " " +
                                std::string(PlanKindName(item.kind)) + " " + item.name);
        }
        return added;
    }
};

// Frames: a chain is followed until it comes round, meets a missing, stock
// or unsafe frame, or has 64 frames; each further frame is shipped once.
TEST_F(CompleteRelease, animationChainsAreFollowedAndStopWhereTheyMust)
{
    tree.file("work/textures/w/still.wal", MakeWal("w/still"));
    tree.file("work/textures/w/water1.wal", MakeWal("w/water1", "w/water2"));
    tree.file("work/textures/w/water2.wal", MakeWal("w/water2", "W/WATER3"));  // any case
    tree.file("work/textures/w/water3.wal", MakeWal("w/water3", "w/water1"));  // back to the first
    tree.file("work/textures/w/lava1.wal", MakeWal("w/lava1", "e1u1/lava2"));  // into the game's own
    tree.file("work/textures/w/gap1.wal", MakeWal("w/gap1", "w/gap2"));        // gap2 is missing
    tree.file("work/textures/w/bad1.wal", MakeWal("w/bad1", "../../etc/x"));
    load({"w/still", "w/water1", "w/lava1", "w/gap1", "w/bad1"});

    EXPECT_EQ(Shown(extras()), (Lines{
                                   "frame textures/../../etc/x.wal for w/bad1.wal refused: a '..' component",
                                   "frame textures/w/gap2.wal for w/gap1.wal",
                                   "frame textures/e1u1/lava2.wal for w/lava1.wal stock",
                                   "frame textures/w/water2.wal for w/water1.wal",
                                   "frame textures/W/WATER3.wal for w/water1.wal",
                               }));
    const std::vector<ExtraFile> found = extras();
    EXPECT_EQ(found[4].source, work("textures/w/water3.wal")) << "found ignoring case";
    EXPECT_EQ(found[4].target, game("textures/W/WATER3.wal")) << "shipped under the name written";

    // A chain stops after 64 frames in all; a frame the level names itself is
    // not added again, and its own chain goes on from it.
    for (int i = 1; i <= 70; ++i)
        tree.file("work/textures/long/f" + std::to_string(i) + ".wal",
                  MakeWal("long/f" + std::to_string(i), "long/f" + std::to_string(i + 1)));
    EmptyLoadedLevel(level);
    load({"long/f1", "long/f5"});
    const std::vector<ExtraFile> chain = extras();
    ASSERT_EQ(chain.size(), 62u + 4u);
    EXPECT_EQ(chain.front().name, "textures/long/f2.wal");
    EXPECT_EQ(chain[61].name, "textures/long/f64.wal");
    EXPECT_EQ(chain.back().name, "textures/long/f68.wal");
}

// Images and sidecars beside a texture and each frame are shipped where the
// working tree has them; a model's file and its skins; the pictures and
// sounds entities name.
TEST_F(CompleteRelease, siblingsModelsSkinsAndEntityFilesAreFound)
{
    tree.file("work/textures/w/crate.wal", MakeWal("w/crate"));
    for (const char* sibling : {"crate.png", "CRATE.TGA", "crate.jpg", "crate_glow.png", "crate_glow.tga",
                                "crate_glow.jpg", "crate_glow.pcx", "crate.mat", "crate.wal_json", "crate.txt"})
        tree.file("work/textures/w/" + std::string(sibling), sibling);
    tree.file("work/textures/w/glass1.wal", MakeWal("w/glass1", "w/glass2"));
    tree.file("work/textures/w/glass2.wal", MakeWal("w/glass2"));
    tree.file("work/textures/w/glass2.png", "png");
    tree.file("work/textures/w/tga_only.tga", "a port loads it without any .wal");
    tree.file("work/models/buoy/tris.md2", MakeMd2({"models/buoy/skin.pcx", "models/buoy/gone.pcx"}));
    tree.file("work/models/buoy/skin.pcx", "skin");
    tree.file("work/pics/sign.pcx", "sign");
    load({"w/crate", "w/glass1", "w/tga_only"},
         "\"model\" \"models/buoy/tris.md2\"\n\"model\" \"*3\"\n\"model\" \"models/lost/tris.md2\"\n"
         "\"image\" \"sign\"\n");

    EXPECT_EQ(Shown(extras()), (Lines{
                                   "image textures/w/crate.png for w/crate.wal",
                                   "image textures/w/crate.tga for w/crate.wal",
                                   "image textures/w/crate.jpg for w/crate.wal",
                                   "image textures/w/crate_glow.png for w/crate.wal",
                                   "image textures/w/crate_glow.tga for w/crate.wal",
                                   "image textures/w/crate_glow.jpg for w/crate.wal",
                                   "image textures/w/crate_glow.pcx for w/crate.wal",
                                   "image textures/w/crate.mat for w/crate.wal",
                                   "image textures/w/crate.wal_json for w/crate.wal",
                                   "frame textures/w/glass2.wal for w/glass1.wal",
                                   "image textures/w/glass2.png for w/glass1.wal",
                                   "image textures/w/tga_only.tga for w/tga_only.wal",
                                   "model models/buoy/tris.md2 for entity",
                                   "skin models/buoy/skin.pcx for models/buoy/tris.md2",
                                   "skin models/buoy/gone.pcx for models/buoy/tris.md2",
                                   "model models/lost/tris.md2 for entity",
                                   "image pics/sign.pcx for entity",
                               }));
}

// Off, the transfer is the classic one and the plan lists what a complete
// release would add; on, the plan predicts what the transfer logs and writes.
TEST_F(CompleteRelease, offListsWhatWouldBeAddedOnShipsItAsPlanned)
{
    tree.file("work/textures/w/water1.wal", MakeWal("w/water1", "w/water2"));
    tree.file("work/textures/w/water2.wal", MakeWal("w/water2", "w/water3"));
    tree.file("work/textures/w/water3.wal", MakeWal("w/water3", "w/water1"));
    tree.file("work/textures/w/water1.png", "png1");
    tree.file("work/textures/w/water2_glow.png", "glow2");
    tree.file("work/models/buoy/tris.md2", MakeMd2({"models/buoy/skin.pcx", "models/buoy/gone.pcx"}));
    tree.file("work/models/buoy/skin.pcx", "skin");
    load({"w/water1"}, "\"model\" \"models/buoy/tris.md2\"\n");
    tree.file("work/maps/w.bsp", MakeBsp("{\n}\n", {"w/water1"}));

    const Plan off = PlanTransfer(job(false), level);
    EXPECT_EQ(Added(off), (Lines{"not-included image textures/w/water1.png",
                                 "not-included frame textures/w/water2.wal",
                                 "not-included image textures/w/water2_glow.png",
                                 "not-included frame textures/w/water3.wal",
                                 "not-included model models/buoy/tris.md2",
                                 "not-included skin models/buoy/skin.pcx",
                                 "not-included skin models/buoy/gone.pcx"}));
    EXPECT_EQ(NotIncludedLine(off), "2 animation frames, 2 images, 1 model and 2 skins not included");
    EXPECT_FALSE(Summarize(off).hasProblems()) << "a missing skin is no problem of the classic release";

    TransferSession session;
    const TransferReport classic = RunTransferCommand(job(false), level, session, log, host);
    EXPECT_FALSE(classic.hasProblems());
    EXPECT_FALSE(fs::exists(game("textures/w/water2.wal")));
    EXPECT_FALSE(fs::exists(game("models")));
    fs::remove_all(target);

    const Plan on = PlanTransfer(job(true), level);
    EXPECT_EQ(Added(on), (Lines{"new image textures/w/water1.png", "new frame textures/w/water2.wal",
                                "new image textures/w/water2_glow.png", "new frame textures/w/water3.wal",
                                "new model models/buoy/tris.md2", "new skin models/buoy/skin.pcx",
                                "missing skin models/buoy/gone.pcx"}));
    EXPECT_EQ(NotIncludedLine(on), "");
    const TransferReport complete = RunTransferCommand(job(true), level, session, log, host);
    const Lines& lines = log.lines();
    const auto from = std::find(lines.begin(), lines.end(), "Copied: w/water1.wal");
    ASSERT_NE(from, lines.end());
    EXPECT_EQ(Lines(from, lines.end()),
              (Lines{"Copied: w/water1.wal", "Copied: textures/w/water1.png", "Copied: textures/w/water2.wal",
                     "Copied: textures/w/water2_glow.png", "Copied: textures/w/water3.wal",
                     "Created: " + game("models"), "Created: " + game("models/buoy"), "Copied: models/buoy/tris.md2",
                     "Copied: models/buoy/skin.pcx", "   ", "*?*?* Check your entities in your map file. *?*?*",
                     "Does not exist:  ", "   " + work("models/buoy/gone.pcx"), "   "}));
    EXPECT_EQ(ProblemSummary(complete), (Lines{"Problems: 0 failed, 1 missing, 0 refused",
                                               "Missing: " + work("models/buoy/gone.pcx")}));
    EXPECT_EQ(tree.read("game/textures/w/water3.wal"), tree.read("work/textures/w/water3.wal"));
    EXPECT_EQ(tree.read("game/models/buoy/skin.pcx"), "skin");

    // Again: every file is there, and each folder's question offers the "to All" answers.
    host.answerPrompt(OverwriteAnswer::Yes);  // go on into the target
    host.answerPrompt(OverwriteAnswer::No);   // the .bsp
    for (int i = 0; i < 3; ++i)
        host.answerPrompt(OverwriteAnswer::NoToAll);
    RunTransferCommand(job(true), level, session, log, host);
    Lines captions;
    for (const PromptRequest& prompt : host.prompts) {
        if (prompt.showYesToAll)
            captions.push_back(prompt.caption);
    }
    EXPECT_EQ(captions, (Lines{"Textures dir exists! W", "Textures dir exists! W", "Models dir exists! BUOY"}));
    const Plan again = PlanTransfer(job(true), level);
    EXPECT_EQ(Added(again)[0], "same image textures/w/water1.png");
}

// A name the working tree has in another letter case is found, folder by
// folder, and shipped under the name the level writes; two candidates are
// none, and the problem names them.
TEST_F(CompleteRelease, namesInAnotherCaseAreFoundUnlessAmbiguous)
{
    tree.file("work/textures/e1u2x/basic1_7.wal", "unique");
    tree.file("work/textures/twin/a.wal", "lower");
    tree.file("work/textures/twin/A.WAL", "upper");
    tree.file("work/sound/Doors/Open.wav", "sound");
    load({"E1U2X/BASIC1_7", "twin/A"}, "\"noise\" \"doors/open.wav\"\n");
    tree.file("work/maps/w.bsp", MakeBsp("{\n}\n", {"E1U2X/BASIC1_7", "twin/A"}));

    const Plan plan = PlanTransfer(job(false), level);
    std::map<std::string, const PlanItem*> byName;
    for (const PlanItem& item : plan.items)
        byName[item.name] = &item;
    ASSERT_TRUE(byName.count("E1U2X/BASIC1_7.wal"));
    EXPECT_EQ(byName["E1U2X/BASIC1_7.wal"]->status, PlanStatus::New);
    EXPECT_EQ(byName["E1U2X/BASIC1_7.wal"]->source, work("textures/e1u2x/basic1_7.wal"));
    ASSERT_TRUE(byName.count("twin/A.wal"));
    EXPECT_EQ(byName["twin/A.wal"]->status, PlanStatus::Missing);
    EXPECT_EQ(byName["twin/A.wal"]->note, "matches twin/A.WAL, twin/a.wal ignoring case");
    ASSERT_TRUE(byName.count("doors/open.wav"));
    EXPECT_EQ(byName["doors/open.wav"]->status, PlanStatus::New);

    TransferSession session;
    const TransferReport report = RunTransferCommand(job(false), level, session, log, host);
    EXPECT_EQ(tree.read("game/textures/E1U2X/BASIC1_7.wal"), "unique");
    EXPECT_EQ(tree.read("game/sound/doors/open.wav"), "sound");
    EXPECT_FALSE(fs::exists(game("textures/twin/A.wal")));
    EXPECT_EQ(ProblemSummary(report),
              (Lines{"Problems: 0 failed, 1 missing, 0 refused",
                     "Missing: " + work("textures/twin/A.wal") + " (matches twin/A.WAL, twin/a.wal ignoring case)"}));
}

// The compiled level against its source: older, other textures either way,
// damaged; nothing without a .bsp.
TEST_F(CompleteRelease, theCompiledLevelIsCheckedAgainstItsSource)
{
    load({"w/wall", "e1u1/floor"});
    EXPECT_EQ(CompiledLevelWarnings(mapPath, level), Lines{});

    const std::string bsp = tree.file("work/maps/w.bsp", MakeBsp("{\n}\n", {"W/WALL", "clip", "e1u1/floor"}));
    EXPECT_EQ(CompiledLevelWarnings(mapPath, level), Lines{}) << "the same textures, in any case; tools' own";

    fs::last_write_time(bsp, fs::last_write_time(mapPath) - std::chrono::seconds(1));
    EXPECT_EQ(CompiledLevelWarnings(mapPath, level), Lines{}) << "written together, in any order";

    fs::last_write_time(bsp, fs::last_write_time(mapPath) - std::chrono::hours(1));
    EXPECT_EQ(CompiledLevelWarnings(mapPath, level), Lines{"the compiled level is older than its source"});

    tree.file("work/maps/w.bsp", MakeBsp("{\n}\n", {"w/wall", "w/old", "w/older"}));
    EXPECT_EQ(CompiledLevelWarnings(mapPath, level),
              (Lines{"the compiled level uses textures its source does not (compiled from another version of the "
                     "source?): w/old, w/older",
                     "the source uses textures its compiled level does not (compiled from another version of the "
                     "source?): e1u1/floor"}));

    tree.file("work/maps/w.bsp", MakeBsp("{\n}\n", {"w/wall"}).substr(0, 50));
    const Lines damaged = CompiledLevelWarnings(mapPath, level);
    ASSERT_EQ(damaged.size(), 1u);
    EXPECT_TRUE(damaged[0].starts_with("the compiled level w.bsp cannot be read: ")) << damaged[0];

    // The warnings reach the plan and the transfer's report; they stop nothing.
    EXPECT_EQ(PlanTransfer(job(false), level).warnings, damaged);
    host.answer(MessageResult::Ok);
    TransferSession session;
    const TransferReport report = RunTransferCommand(job(false), level, session, log, host);
    EXPECT_EQ(report.outcome, TransferOutcome::RanThrough);
    EXPECT_EQ(WarningLines(report), Lines{"Warning: " + damaged[0]});
}

}  // namespace
}  // namespace corvane::test
