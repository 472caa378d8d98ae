// Real levels saved by several editors and a decompiler (tests/fixtures/levels),
// and the example tree's level.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "map/load.h"
#include "map/scan.h"
#include "map/sky.h"
#include "ui/level_model.h"
#include "platform/files.h"
#include "support/scripted_host.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

struct RealLevel {
    const char* file;
    std::size_t textures;
    std::size_t sounds;
    const char* sky;
    const char* someTexture;  // "" when the level has no custom texture
};

void PrintTo(const RealLevel& level, std::ostream* out)
{
    *out << level.file;
}

// Counts and names read off the files by hand (grep) and by a separate reading of the rules.
const RealLevel kRealLevels[] = {
    {"levels/bsptool__mp_lobby_q2.map", 0, 0, "not found", ""},
    {"levels/ericw__base1-test.map", 0, 0, "unit1_", ""},
    {"levels/ericw__q2_long_texture_name.map", 1, 0, "not found",
     "long_folder_name_test/long_texture_name_test.wal"},
    {"levels/ericw__q2_mirrorinside.map", 0, 0, "not found", ""},
    {"levels/q2rtxp__q2rtxp_dev_localents_env_sound.map", 19, 0, "not found", "prototype/#water3_1.wal"},
    {"levels/q2rtxp__q2rtxp_dev_sigio_targetrange.map", 22, 0, "not found",
     "lightsanim/+0d2aa99_757161.wal"},
    {"levels/q2rtxp__q2rtxp_dm_office.map", 12, 0, "not found", "prototype/+0button_0.wal"},
    {"levels/zaereo__zdef3.map", 99, 3, "not found", "z1/+1comp11_1.wal"},
    {"levels/zaereo__zdm4.map", 23, 0, "env5n", "z4/floor1_6.wal"},
};

class RealLevels : public ::testing::TestWithParam<RealLevel> {};

TEST_P(RealLevels, scanAsTheRulesSay)
{
    const RealLevel& expected = GetParam();
    const std::string path = test::FixturePath(expected.file);
    test::ScriptedHost host;
    ui::WindowLevel level;
    ASSERT_TRUE(ui::LoadLevelIntoWindow(path, ui::LoadNaming::NameLevel, level, host).scanned);
    ui::ApplySkyChoice(level, true);

    const auto& textures = level.TextureList.entries();
    const auto& sounds = level.SoundList.entries();
    EXPECT_EQ(textures.size(), expected.textures);
    EXPECT_EQ(sounds.size(), expected.sounds);
    EXPECT_EQ(level.lblSky, expected.sky);
    if (*expected.someTexture) {
        EXPECT_NE(std::find(textures.begin(), textures.end(), expected.someTexture), textures.end());
    }

    EXPECT_TRUE(std::is_sorted(textures.begin(), textures.end()));
    EXPECT_EQ(std::adjacent_find(textures.begin(), textures.end()), textures.end());
    const std::string text = ReadWholeFile(path).data;
    for (const std::string& name : textures) {
        EXPECT_FALSE(IsStockTexture(name)) << name;
        EXPECT_FALSE(name.starts_with("//")) << name;
        ASSERT_TRUE(name.ends_with(".wal"));
        EXPECT_NE(text.find(" " + name.substr(0, name.size() - 4) + " "), std::string::npos) << name;
    }
    EXPECT_EQ(level.lblWalCount, std::to_string(textures.size()));
    EXPECT_TRUE(host.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RealLevels, ::testing::ValuesIn(kRealLevels));

TEST(RealLevels, crlfAndDecompilerCommentsScanLikeTheirPlainForm)
{
    // The same brushes saved with CR LF and with "{ //brush N" openers.
    const std::string lf = ReadWholeFile(test::FixturePath("levels/zaereo__zdm4.map")).data;
    std::string crlf;
    for (const char c : lf) {
        if (c == '\n')
            crlf += "\r\n";
        else
            crlf += c;
    }
    std::string commented;
    std::size_t brush = 0;
    for (std::size_t at = 0; at < lf.size();) {
        const std::size_t end = lf.find('\n', at);
        const std::string line = lf.substr(at, end - at);
        commented += line == "{" && at != 0 ? "{ //brush " + std::to_string(brush++) : line;
        commented += '\n';
        at = end == std::string::npos ? lf.size() : end + 1;
    }
    ASSERT_GT(brush, 100u);

    const auto scan = [](std::string text) {
        LoadedLevel level;
        level.MapLines = LevelLines::FromText(std::move(text));
        ScanTextures(level);
        ScanSounds(level);
        return level.TextureList.entries();
    };
    const auto expected = scan(lf);
    EXPECT_EQ(scan(crlf), expected);
    EXPECT_EQ(scan(commented), expected);
}

TEST(ExampleTree, levelScansToTheDocumentedResult)
{
    const std::string path = std::string(CORVANE_EXAMPLES_DIR) + "/harbor/maps/harbor.map";
    test::ScriptedHost host;
    ui::WindowLevel level;
    ASSERT_TRUE(ui::LoadLevelIntoWindow(path, ui::LoadNaming::NameLevel, level, host).scanned);
    ui::ApplySkyChoice(level, true);
    const std::vector<std::string> textures = {
        "harbor/Crate1.wal", "harbor/planks.wal",     "harbor/planks2.wal",
        "harbor/quaywall.wal", "harbor/rope.wal",     "harbor/water1.wal",
        "harbor_trim/lamp1.wal", "harbor_trim/metal_edge.wal", "harbor_trim/rail.wal"};
    EXPECT_EQ(level.TextureList.entries(), textures);
    EXPECT_EQ(level.SoundList.entries(), (std::vector<std::string>{"harbor/bell", "harbor/gulls.wav"}));
    EXPECT_EQ(level.lblSky, "harborsky");
    // Every listed resource is there in the working tree beside the level.
    const std::string root = std::string(CORVANE_EXAMPLES_DIR) + "/harbor/";
    for (const std::string& name : textures)
        EXPECT_TRUE(FileExists(root + "textures/" + name)) << name;
    EXPECT_TRUE(FileExists(root + "sound/harbor/gulls.wav"));
    EXPECT_TRUE(FileExists(root + "sound/harbor/bell.wav"));
}

}  // namespace
}  // namespace corvane
