#include <gtest/gtest.h>

#include <string>

#include "map/sky.h"
#include "ui/level_model.h"

namespace corvane {
namespace {

std::string SkyOf(const std::string& text)
{
    return FindSkyCaption(LevelLines::FromText(text));
}

TEST(SkyDetection, takesTheValueOfTheSkyKey)
{
    EXPECT_EQ(SkyOf("{\n\"classname\" \"worldspawn\"\n\"sky\" \"unit1_\"\n}\n"), "unit1_");
    EXPECT_EQ(SkyOf("\"sky\" \"my sky\" trailing text\n"), "my sky");
    EXPECT_EQ(SkyOf("\"sky\" \"first\"\n\"sky\" \"second\"\n"), "first");
    EXPECT_EQ(SkyOf("\"sky\"\t\"tabbed\"\"extra\"\n"), "tabbed");
    EXPECT_EQ(SkyOf("\"sky\" \"\xe9t\xe9\"\n"), "\xe9t\xe9");
}

TEST(SkyDetection, otherTextWithSkyInItDoesNotCount)
{
    const std::string text = "{\n"
                             "\"skyaxis\" \"1 1 0\"\n"
                             "\"skyrotate\" \"10\"\n"
                             "\"_tb_name\" \"sky stuff\"\n"
                             "\"message\" \"a blue sky\"\n"
                             "\"Sky\" \"capital\"\n"
                             "\" sky\" \"blank\"\n"
                             "( 0 0 0 ) e1u1/sky1 0 0 0 1 1\n"
                             "\"sky\" \"three quotes\n"
                             "\"sky\" \"env5n\"\n"
                             "}\n";
    EXPECT_EQ(SkyOf(text), "env5n");
}

TEST(SkyDetection, reportsNotFoundForAMissingOrEmptySky)
{
    EXPECT_EQ(SkyOf("{\n\"classname\" \"worldspawn\"\n}\n"), "not found");
    EXPECT_EQ(SkyOf(""), "not found");
    // The first sky key decides, also when its value is empty.
    EXPECT_EQ(SkyOf("\"sky\" \"\"\n\"sky\" \"later\"\n"), "not found");
}

TEST(SkyDetection, tickingShowsTheSkyAndUntickingClearsIt)
{
    ui::WindowLevel level;
    level.MapLines = LevelLines::FromText("{\n\"sky\" \"harborsky\"\n}\n");
    ui::ApplySkyChoice(level, true);
    EXPECT_EQ(level.lblSky, "harborsky");
    ui::ApplySkyChoice(level, false);
    EXPECT_EQ(level.lblSky, "");
    level.MapLines = LevelLines::FromText("{\n}\n");
    ui::ApplySkyChoice(level, true);
    EXPECT_EQ(level.lblSky, "not found");
}

}  // namespace
}  // namespace corvane
