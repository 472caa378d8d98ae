#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "map/level_lines.h"

namespace corvane {
namespace {

std::vector<std::string> Split(std::string text)
{
    const LevelLines lines = LevelLines::FromText(std::move(text));
    std::vector<std::string> out;
    for (std::size_t i = 0; i < lines.size(); ++i)
        out.emplace_back(lines[i]);
    return out;
}

using Lines = std::vector<std::string>;

TEST(LevelLines, everyLineBreakKindEndsALine)
{
    EXPECT_EQ(Split("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(Split("a\n\rb"), (Lines{"a", "", "b"})) << "LF CR is two breaks";
    EXPECT_EQ(Split("a\r\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(Split("\r\n\r\n"), (Lines{"", ""}));
}

TEST(LevelLines, finalBreakAddsNoEmptyLineButALastLineWithoutOneCounts)
{
    EXPECT_EQ(Split("a\n"), (Lines{"a"}));
    EXPECT_EQ(Split("a\r"), (Lines{"a"}));
    EXPECT_EQ(Split("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(Split("a\n\n"), (Lines{"a", ""}));
    EXPECT_EQ(Split("a\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(Split("\n"), (Lines{""}));
    EXPECT_TRUE(Split("").empty());
}

TEST(LevelLines, nulEndsTheText)
{
    EXPECT_EQ(Split(std::string("a\nb\0c\nd", 7)), (Lines{"a", "b"}));
    EXPECT_EQ(Split(std::string("a\n\0", 3)), (Lines{"a"}));
    EXPECT_TRUE(Split(std::string("\0abc\n", 5)).empty());
}

TEST(LevelLines, bytesAreKeptAsRead)
{
    const std::string line = "  \t( 1 2 3 ) caf\xe9/\xff\x01 0  ";
    EXPECT_EQ(Split(line + "\r\n"), (Lines{line}));
}

TEST(LevelLines, manyLinesKeepTheirOrder)
{
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += std::to_string(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    const LevelLines lines = LevelLines::FromText(text);
    ASSERT_EQ(lines.size(), 10000u);
    EXPECT_EQ(lines[0], "0");
    EXPECT_EQ(lines[4567], "4567");
    EXPECT_EQ(lines[9999], "9999");
}

}  // namespace
}  // namespace corvane
