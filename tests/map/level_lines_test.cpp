#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <thread>

#include "map/level_lines.h"
#include "platform/faults.h"
#include "support/temp_tree.h"

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

// Reading a file splits it in pieces as they arrive; the lines must be those
// of the whole text, wherever a piece ends.
Lines ReadLines(const std::string& path)
{
    const LevelRead read = ReadLevelLines(path);
    EXPECT_TRUE(read.ok) << read.error;
    Lines out;
    for (std::size_t i = 0; i < read.lines.size(); ++i)
        out.emplace_back(read.lines[i]);
    return out;
}

TEST(ReadLevelLines, givesTheLinesOfTheWholeTextWhereverThePiecesEnd)
{
    test::TempTree tree;
    constexpr std::size_t kPiece = 256 * 1024;  // the size the reader reads at a time
    const std::string filler(kPiece - 4, 'x');
    int n = 0;
    for (const std::string& tail : {std::string("\r\n"), std::string("\r"), std::string("\n"),
                                    std::string("\r\r\n"), std::string("\n\r"), std::string(1, '\0')}) {
        for (std::size_t shift = 0; shift < 8; ++shift) {
            const std::string text = filler.substr(shift) + "ab" + tail + "cd" + tail + "ef\r";
            const std::string path = tree.file("level" + std::to_string(++n) + ".map", text);
            EXPECT_EQ(ReadLines(path), Split(text)) << n;
            EXPECT_EQ(ReadLevelLines(path).lines.text(), text.substr(0, text.find('\0'))) << n;
        }
    }
    // Text that only starts after the first piece, and a NUL in a later one.
    std::string text = std::string(3 * kPiece, '\n') + "late\r";
    EXPECT_EQ(ReadLines(tree.file("late.map", text)), Split(text));
    text = std::string(kPiece + 10, 'y') + "\nz" + std::string(1, '\0') + "\nafter\n";
    EXPECT_EQ(ReadLines(tree.file("nul.map", text)), Split(text));
    EXPECT_EQ(ReadLines(tree.file("nul.map", text)).size(), 2u);
    EXPECT_TRUE(ReadLines(tree.file("empty.map")).empty());
}

TEST(ReadLevelLines, readsWhatArrivesBeyondTheExpectedSize)
{
    // A pipe has no size to go by: the buffer grows as the text arrives.
    test::TempTree tree;
    const std::string path = tree.path("pipe.map");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    std::string text;
    for (int i = 0; i < 60000; ++i)
        text += "line " + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
    std::thread writer([&] {
        std::ofstream out(path, std::ios::binary);
        out << text;
    });
    const LevelRead read = ReadLevelLines(path);
    writer.join();
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.lines.size(), 60000u);
    EXPECT_EQ(read.lines[0], "line 0");
    EXPECT_EQ(read.lines[59999], "line 59999");
    EXPECT_EQ(read.lines.text(), text);
}

TEST(ReadLevelLines, failuresSayWhy)
{
    test::TempTree tree;
    LevelRead read = ReadLevelLines(tree.path("missing.map"));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, "No such file or directory");
    read = ReadLevelLines(tree.dir("folder.map"));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, "Is a directory");
    EXPECT_TRUE(read.lines.empty());
    const ScopedFaultInjector fault([](FileOp op, std::string_view) { return op == FileOp::Read ? EIO : 0; });
    read = ReadLevelLines(tree.file("level.map", "{\n}\n"));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, std::strerror(EIO));
}

}  // namespace
}  // namespace corvane
