#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/bsp.h"
#include "formats/entity_keys.h"
#include "map/level_lines.h"
#include "support/game_files.h"

namespace corvane {
namespace {

// Each pair found, as "line key value -> path".
std::vector<std::string> Described(const std::vector<EntityFileKey>& found)
{
    std::vector<std::string> described;
    for (const EntityFileKey& key : found)
        described.push_back(std::to_string(key.line) + " " + key.key + " " + key.value + " -> " + GameFilePath(key));
    return described;
}

TEST(EntityFileKeys, findTheKeysThatNameFilesWithTheirPaths)
{
    const LevelLines lines = LevelLines::FromText("{\n"
                                                  "\"classname\" \"func_door\"\n"
                                                  "\"model\" \"*3\"\n"
                                                  "\"noise_start\" \"doors/dr1_strt.wav\"\n"
                                                  "\t\"noise_middle\"\t\"doors/dr1_mid\"\r\n"
                                                  "\"noise_end\" \"\"\n"
                                                  "\"noise\" \"world/x.wav\"\n"
                                                  "}\n{\n"
                                                  "\"MODEL\" \"models/boat/tris.md2\" // the boat\n"
                                                  "\"image\" \"harbor/sign\"\n"
                                                  "\"image\" \"harbor.v2/sign.tga\"\n"
                                                  "\"image\" \"harbor.v2/sign\"\n"
                                                  "\"model\"\"models/x.md2\"\n"
                                                  "x \"model\" \"models/y.md2\"\n"
                                                  "\"model\" models/z.md2\n"
                                                  "\"model\" \"models/unclosed\n"
                                                  "}\n");
    EXPECT_EQ(Described(FindEntityFileKeys(lines)), (std::vector<std::string>{
                                                        "3 noise_start doors/dr1_strt.wav -> sound/doors/dr1_strt.wav",
                                                        "4 noise_middle doors/dr1_mid -> sound/doors/dr1_mid",
                                                        "9 model models/boat/tris.md2 -> models/boat/tris.md2",
                                                        "10 image harbor/sign -> pics/harbor/sign.pcx",
                                                        "11 image harbor.v2/sign.tga -> pics/harbor.v2/sign.tga",
                                                        "12 image harbor.v2/sign -> pics/harbor.v2/sign.pcx",
                                                        "13 model models/x.md2 -> models/x.md2",
                                                    }));
}

TEST(EntityFileKeys, readACompiledLevelsEntityText)
{
    const BspContents bsp =
        ReadBsp(test::MakeBsp("{\r\n\"model\" \"models/a.md2\"\r\n}\r{\r\"image\" \"b\"\r}\n{\n\"noise_end\" \"c\"", {}));
    const std::vector<std::string_view> lines = SplitLines(bsp.entities);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(Described(FindEntityFileKeys(lines)),
              (std::vector<std::string>{"1 model models/a.md2 -> models/a.md2", "4 image b -> pics/b.pcx",
                                        "7 noise_end c -> sound/c"}));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(SplitLines("a\n\nb\r\n"), (std::vector<std::string_view>{"a", "", "b"}));
}

}  // namespace
}  // namespace corvane
