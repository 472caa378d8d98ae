// Whole transfers of the real levels (tests/fixtures/levels) from a working
// tree that holds every resource they name: each one arrives, byte for byte,
// and a second transfer with No to All changes nothing.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>

#include "map/load.h"
#include "platform/files.h"
#include "support/scripted_host.h"
#include "support/temp_tree.h"
#include "transfer/command.h"
#include "transfer/resource_names.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class RealLevelTransfer : public ::testing::TestWithParam<std::string> {};

TEST_P(RealLevelTransfer, everyNamedResourceArrives)
{
    test::TempTree tree;
    test::ScriptedHost host;
    const std::string name = fs::path(GetParam()).filename().string();
    const std::string map =
        tree.file("work/maps/" + name, ReadWholeFile(test::FixturePath(GetParam())).data);
    tree.file("work/maps/" + fs::path(name).stem().string() + ".bsp", "compiled");
    LoadedLevel level;
    ASSERT_TRUE(LoadMapFile(map, level, CantOpenFileQuestion(host)).scanned);
    for (const std::string& entry : level.TextureList)
        tree.file("work/textures/" + entry, "texture " + entry);
    for (const std::string& entry : level.SoundList)
        tree.file("work/sound/" + TransferName(ResourceKind::Sounds, entry), "sound " + entry);

    TransferJob job;
    job.target = job.targPath = tree.path("game");
    job.srcPath = tree.path("work/maps");
    job.currentMapPath = map;
    TransferSession session;
    TransferLog log;
    ASSERT_EQ(RunTransferCommand(job, level.TextureList, level.SoundList, session, log, host).outcome,
              TransferOutcome::RanThrough);
    EXPECT_TRUE(host.prompts.empty());
    EXPECT_TRUE(host.boxes.empty());
    std::size_t copied = 0;
    for (const std::string& line : log.lines())
        copied += line.rfind("Copied: ", 0) == 0 ? 1 : 0;
    EXPECT_EQ(copied, 1 + level.TextureList.size() + level.SoundList.size());
    for (const std::string& entry : level.TextureList)
        EXPECT_EQ(tree.read("game/textures/" + entry), "texture " + entry);
    for (const std::string& entry : level.SoundList)
        EXPECT_EQ(tree.read("game/sound/" + TransferName(ResourceKind::Sounds, entry)), "sound " + entry);
    EXPECT_EQ(tree.read("game/maps/" + name), tree.read("work/maps/" + name));

    const std::vector<std::string> before = tree.entries();
    host.answerPrompt(OverwriteAnswer::Yes);  // go on into the existing target
    host.answerPrompt(OverwriteAnswer::No);   // keep the .bsp
    for (std::size_t i = 0; i < level.TextureList.size() + level.SoundList.size(); ++i)
        host.answerPrompt(OverwriteAnswer::NoToAll);  // one per resource folder is used
    ASSERT_EQ(RunTransferCommand(job, level.TextureList, level.SoundList, session, log, host).outcome,
              TransferOutcome::RanThrough);
    EXPECT_EQ(tree.entries(), before);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RealLevelTransfer,
                         ::testing::Values("levels/ericw__q2_long_texture_name.map",
                                           "levels/q2rtxp__q2rtxp_dev_localents_env_sound.map",
                                           "levels/q2rtxp__q2rtxp_dev_sigio_targetrange.map",
                                           "levels/q2rtxp__q2rtxp_dm_office.map",
                                           "levels/zaereo__zdef3.map", "levels/zaereo__zdm4.map"),
                         [](const auto& instance) {
                             std::string name = fs::path(instance.param).stem().string();
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

}  // namespace
}  // namespace corvane
