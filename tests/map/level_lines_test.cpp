#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "map/level_lines.h"
#include "platform/faults.h"
#include "platform/file_view.h"
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

TEST(LineStarts, keepStartsBeyondFourGibibytes)
{
    // Texts that big are not made in a test; the record of their starts is.
    constexpr std::size_t kGiB4 = std::size_t{1} << 32;
    const std::vector<std::size_t> positions = {0, 7, kGiB4 - 1, kGiB4, kGiB4 + 9, 3 * kGiB4 + 1, 3 * kGiB4 + 2,
                                                9 * kGiB4};
    // Kept whole, and in two parts put together, cut anywhere.
    for (std::size_t cut = 0; cut <= positions.size(); ++cut) {
        LineStarts starts, later;
        for (std::size_t i = 0; i < positions.size(); ++i)
            (i < cut ? starts : later).push_back(positions[i]);
        starts.append(later);
        ASSERT_EQ(starts.size(), positions.size());
        for (std::size_t i = 0; i < positions.size(); ++i)
            EXPECT_EQ(starts[i], positions[i]) << "cut " << cut << ", start " << i;
    }
}

// A level file is read as the text splitter splits it, wherever its line
// breaks fall: at the end of a block of the search, of a stretch the reader
// prepares at a time, and in a file read rather than mapped.
Lines ReadLines(const std::string& path)
{
    const LevelRead read = ReadLevelLines(path);
    EXPECT_TRUE(read.ok) << read.error;
    Lines out;
    for (std::size_t i = 0; i < read.lines.size(); ++i)
        out.emplace_back(read.lines[i]);
    return out;
}

TEST(ReadLevelLines, givesTheLinesOfTheWholeTextWhereverItsBreaksFall)
{
    test::TempTree tree;
    constexpr std::size_t kStretch = 1024 * 1024;  // what the reader prepares at a time
    int n = 0;
    for (const std::size_t length : {std::size_t{64}, kStretch}) {
        const std::string filler(length - 4, 'x');
        for (const std::string& tail : {std::string("\r\n"), std::string("\r"), std::string("\n"),
                                        std::string("\r\r\n"), std::string("\n\r"), std::string(1, '\0'),
                                        std::string("\r\n\0", 3)}) {
            for (std::size_t shift = 0; shift < 8; ++shift) {
                const std::string text = filler.substr(shift) + "ab" + tail + "cd" + tail + "ef\r";
                const std::string path = tree.file("level" + std::to_string(++n) + ".map", text);
                EXPECT_EQ(ReadLines(path), Split(text)) << n;
                EXPECT_EQ(ReadLevelLines(path).lines.text(), text.substr(0, text.find('\0'))) << n;
            }
        }
    }
    // Text that only starts after the first stretch, and a NUL in a later one.
    std::string text = std::string(3 * kStretch, '\n') + "late\r";
    EXPECT_EQ(ReadLines(tree.file("late.map", text)), Split(text));
    text = std::string(kStretch + 10, 'y') + "\nz" + std::string(1, '\0') + "\nafter\n";
    EXPECT_EQ(ReadLines(tree.file("nul.map", text)), Split(text));
    EXPECT_EQ(ReadLines(tree.file("nul.map", text)).size(), 2u);
    EXPECT_TRUE(ReadLines(tree.file("empty.map")).empty());
}

// The lines of a text by the rules, one byte at a time.
Lines SplitByTheRules(const std::string& text)
{
    const std::size_t end = std::min(text.find('\0'), text.size());
    Lines lines;
    std::size_t start = 0;
    for (std::size_t at = 0; at < end; ++at) {
        if (text[at] != '\n' && text[at] != '\r')
            continue;
        lines.push_back(text.substr(start, at - start));
        if (text[at] == '\r' && at + 1 < end && text[at + 1] == '\n')
            ++at;
        start = at + 1;
    }
    if (start < end)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// A text of 8 MiB or more is split in two halves at once, the second from the
// first line that starts past the middle: whatever stands there, the lines
// are those of one split.
TEST(ReadLevelLines, givesTheLinesOfABigTextWhateverStandsInItsMiddle)
{
    test::TempTree tree;
    std::string body;
    for (int i = 0; body.size() < (9u << 20); ++i)
        body += "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) w/t" + std::to_string(i) + " 0 0 0 1 1" + (i % 3 ? "\n" : "\r\n");
    const std::size_t middle = body.size() / 2;
    const std::string nul(1, '\0');
    const std::vector<std::pair<std::size_t, std::string>> middles = {
        {middle - 1, "\r\n"}, {middle, "\r\n"}, {middle, "\r"}, {middle, "\n"}, {middle, "\n\r"},
        {middle, "\n" + nul}, {middle, "\r\n" + nul}, {middle, nul}, {middle - 100, nul},
        {middle + 100, nul}, {middle, std::string(2u << 20, 'x')}};
    int n = 0;
    for (const auto& [at, what] : middles) {
        std::string text = body;
        text.replace(at, what.size(), what);
        const std::string path = tree.file("big" + std::to_string(++n) + ".map", text);
        const Lines want = SplitByTheRules(text);
        EXPECT_EQ(ReadLines(path), want) << n;
        EXPECT_EQ(Split(text), want) << n;
        EXPECT_EQ(ReadLevelLines(path).lines.text(), text.substr(0, text.find('\0'))) << n;
    }
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

// A level must be a regular file: a pipe (which would wait for a writer, or
// never end), a device or a link to one is refused at once.
TEST(ReadLevelLines, refusesAnythingButARegularFileAtOnce)
{
    test::TempTree tree;
    const std::string pipe = tree.path("pipe.map");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // In a child that an alarm ends, so that a read that waits fails the test
    // instead of hanging it.
    EXPECT_EXIT(
        {
            ::alarm(10);
            const LevelRead read = ReadLevelLines(pipe);
            std::fputs(read.error.c_str(), stderr);
            std::_Exit(read.ok || !read.lines.empty() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "^Not a regular file$");
    std::filesystem::create_symlink("/dev/zero", tree.path("zero.map"));
    for (const std::string& path : {std::string("/dev/null"), tree.path("zero.map")}) {
        const LevelRead read = ReadLevelLines(path);
        EXPECT_FALSE(read.ok) << path;
        EXPECT_EQ(read.error, "Not a regular file") << path;
    }
}

// A big level is mapped, and the file may change while it is: the reader is
// given the moment between mapping it and reading it, through the fault seam.
class ChangingLevel : public ::testing::Test {
protected:
    test::TempTree tree;
    std::string text;
    std::string path;

    ChangingLevel()
    {
        for (int i = 0; text.size() < 2 * FileView::kMapFrom; ++i)
            text += "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) w/t" + std::to_string(i) + " 0 0 0 1 1\r\n";
        path = tree.file("maps/level.map", text);
    }

    // Reads the level with `change` done to the file once it is mapped.
    LevelRead readChanging(const std::function<void()>& change)
    {
        const ScopedFaultInjector seam([&](FileOp op, std::string_view) {
            if (op == FileOp::Map)
                change();
            return 0;
        });
        return ReadLevelLines(path);
    }

    void resize(std::size_t size) { std::filesystem::resize_file(path, size); }
};

TEST_F(ChangingLevel, cutShortBeforeItIsReadGivesAReasonAndNoCrash)
{
    // Cut at a page's end the read runs into the pages that have gone (the
    // guard against SIGBUS keeps it alive); cut within a page it finds zeros.
    for (const std::size_t left : {std::size_t{0}, std::size_t{100}, std::size_t{8192}, text.size() / 2}) {
        const LevelRead read = readChanging([&] { resize(left); });
        EXPECT_FALSE(read.ok) << left;
        EXPECT_EQ(read.error, kLevelChangedWhileRead) << left;
        EXPECT_TRUE(read.lines.empty()) << left;
        std::ofstream(path, std::ios::binary) << text;
    }
    // Read again once the file is whole, the level is all there.
    EXPECT_EQ(ReadLines(path), Split(text));
}

TEST_F(ChangingLevel, growingWhileItIsReadIsToldAndGrowingLaterChangesNothing)
{
    const auto append = [&] { std::ofstream(path, std::ios::app) << "( 1 1 1 ) late/one 0\n"; };
    const LevelRead during = readChanging(append);
    EXPECT_FALSE(during.ok);
    EXPECT_EQ(during.error, kLevelChangedWhileRead);

    std::ofstream(path, std::ios::binary) << text;
    const LevelRead read = ReadLevelLines(path);
    ASSERT_TRUE(read.ok) << read.error;
    append();
    EXPECT_EQ(read.lines.text(), text);
    EXPECT_EQ(read.lines.size(), Split(text).size());
}

TEST_F(ChangingLevel, aMappingRefusedIsReadInstead)
{
    const ScopedFaultInjector seam([](FileOp op, std::string_view) { return op == FileOp::Map ? ENOMEM : 0; });
    const LevelRead read = ReadLevelLines(path);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.lines.text(), text);
}

TEST_F(ChangingLevel, cutShortWhileItIsHeldReadsAsNulBytes)
{
    LevelRead read = ReadLevelLines(path);
    ASSERT_TRUE(read.ok) << read.error;
    const LevelLines copy = read.lines;
    const std::string first(read.lines[0]);
    const std::size_t count = read.lines.size();
    resize(4096);
    // The first page is still the file's; past it the bytes have gone.
    EXPECT_EQ(read.lines[0], first);
    const std::string_view last = copy[count - 1];
    EXPECT_EQ(last, std::string(last.size(), '\0'));
    EXPECT_EQ(read.lines.text().substr(4096), std::string(text.size() - 4096, '\0'));
}

}  // namespace
}  // namespace corvane
