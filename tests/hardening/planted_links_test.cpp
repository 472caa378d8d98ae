// Links planted inside the target, in the place of its folders: nothing is
// written through them, the log says which link was refused, and the failure
// keeps that reason. The target itself may be a link. Each case runs with the
// kernel resolving a folder in one call and with the folders walked one by
// one, as on a kernel without that call.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "hardening_fixture.h"
#include "platform/faults.h"
#include "support/temp_tree.h"
#include "surroundings.h"
#include "transfer/command.h"
#include "support/scripted_host.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::Snapshot;
using test::TempTree;
using Lines = std::vector<std::string>;

struct Planted {
    const char* name;
    const char* link;   // below the target, planted as a link to "outside/<name>"
    int status;         // corvane-cli's exit status
    Lines told;         // lines of the log (T stands for the target)
    Lines arrived;      // files below the target that arrive all the same
};

std::ostream& operator<<(std::ostream& out, const Planted& planted)
{
    return out << planted.name;
}

// A working tree with a level that names a texture, a nested texture, a
// sound and a sky, and a target that holds a resource folder already.
class PlantedLinkTree : public ::testing::Test {
protected:
    TempTree tree;
    std::string out;
    std::string err;

    PlantedLinkTree()
    {
        tree.file("work/maps/w.map", "{\n\"classname\" \"worldspawn\"\n\"sky\" \"wsky\"\n{\n" + test::Face("w/a") +
                                         test::Face("w/deep/b") +
                                         "}\n}\n{\n\"classname\" \"target_speaker\"\n\"noise\" \"w/s.wav\"\n}\n");
        tree.file("work/maps/w.bsp", "compiled");
        for (const char* face : {"bk", "ft", "lf", "rt", "dn", "up"})
            tree.file(std::string("work/env/wsky") + face + ".tga", "sky");
        tree.file("work/textures/w/a.wal", "texture a");
        tree.file("work/textures/w/deep/b.wal", "texture b");
        tree.file("work/sound/w/s.wav", "sound");
        tree.dir("game/textures/w");
    }

    // corvane-cli transfer with the sky, replacing everything.
    int transfer()
    {
        std::istringstream in;
        std::ostringstream stdOut, stdErr;
        const int status = cli::RunCli({"transfer", tree.path("work/maps/w.map"), "--target", tree.path("game"),
                                        "--sky", "--overwrite", "all"},
                                       in, stdOut, stdErr);
        out = stdOut.str();
        err = stdErr.str();
        return status;
    }
};

class PlantedLink : public PlantedLinkTree, public ::testing::WithParamInterface<std::tuple<Planted, bool>> {};

TEST_P(PlantedLink, isRefusedAndNothingIsWrittenThroughIt)
{
    const auto& [planted, walk] = GetParam();
    const std::string outside = tree.dir(std::string("outside/") + planted.name);
    tree.file(std::string("outside/") + planted.name + "/keep.txt", "bystander");
    fs::create_directory_symlink(outside, tree.path("game/" + std::string(planted.link)));
    const Snapshot before(tree.root());

    int status = 0;
    {
        ScopedFaultInjector kernel([walk = walk](FileOp op, std::string_view) {
            return walk && op == FileOp::ResolveBeneath ? ENOSYS : 0;
        });
        status = transfer();
    }
    EXPECT_EQ(status, planted.status) << err;
    const std::string& log = out;
    for (const std::string& told : planted.told) {
        std::string line;
        for (std::size_t i = 0; i < told.size(); ++i)
            line += told.compare(i, 2, "T/") == 0 ? tree.path("game") : told.substr(i, 1);
        EXPECT_NE(log.find("\n" + line + "\n"), std::string::npos) << line << "\nin\n" << log;
    }
    for (const std::string& file : planted.arrived)
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(tree.path("game/" + file)))) << file;
    EXPECT_EQ(tree.entries("outside"), (Lines{std::string(planted.name) + "/", std::string(planted.name) + "/keep.txt"}));
    EXPECT_EQ(Snapshot(tree.root()).changesSince(before, {"game"}), Lines{});
}

INSTANTIATE_TEST_SUITE_P(
    Hardening, PlantedLink,
    ::testing::Combine(
        ::testing::Values(
            // No maps folder: the level files are left out, the rest goes on.
            Planted{"maps", "maps", 3, {"   Refused: T/maps is a link", "Can't create \"maps\" directory!"},
                    {"env/wskybk.tga", "textures/w/a.wal", "sound/w/s.wav"}},
            // No env folder: the sky is left out.
            Planted{"env", "env", 3, {"   Refused: T/env is a link"}, {"maps/w.bsp", "textures/w/a.wal"}},
            // A resource root or folder, or a nested folder, ends the layout.
            Planted{"sound", "sound", 1, {"   Refused: T/sound is a link"}, {"maps/w.bsp", "env/wskybk.tga"}},
            Planted{"deep", "textures/w/deep", 1, {"   Refused: T/textures/w/deep is a link"}, {"maps/w.bsp"}}),
        ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<Planted, bool>>& param) {
        return std::string(std::get<0>(param.param).name) + (std::get<1>(param.param) ? "Walked" : "Resolved");
    });

// The target itself may be a link: everything goes where it points.
TEST_F(PlantedLinkTree, theTargetItselfMayBeALink)
{
    fs::rename(tree.path("game"), tree.path("real"));
    fs::create_directory_symlink(tree.path("real"), tree.path("game"));
    EXPECT_EQ(transfer(), 0) << err;
    EXPECT_EQ(tree.read("real/textures/w/deep/b.wal"), "texture b");
    EXPECT_EQ(tree.read("real/maps/w.bsp"), "compiled");
}

// The reason reaches the report's failures, with the folder that was to be made.
TEST_F(PlantedLinkTree, theFailureNamesTheLink)
{
    tree.dir("outside");
    fs::create_directory_symlink(tree.path("outside"), tree.path("game/sound"));
    TransferJob job;
    job.target = job.targPath = tree.path("game");
    job.srcPath = tree.path("work/maps");
    job.currentMapPath = tree.path("work/maps/w.map");
    ResourceList sounds;
    sounds.add("w/s.wav");
    test::ScriptedHost host;
    host.answerPrompt(OverwriteAnswer::Yes);  // go on into the existing target
    host.answer(MessageButton::Ok);           // "Could not create: ..."
    host.answer(MessageButton::Ok);           // "Fatal Error"
    TransferLog log;
    TransferSession session;
    const TransferReport report = RunTransferCommand(job, {}, sounds, session, log, host);
    EXPECT_EQ(report.outcome, TransferOutcome::LayoutFailed);
    const std::string link = tree.path("game/sound");
    EXPECT_NE(std::find(report.failures.begin(), report.failures.end(), TransferFailure{link, link + " is a link"}),
              report.failures.end());
    EXPECT_TRUE(tree.entries("outside").empty());
}

}  // namespace
}  // namespace corvane
