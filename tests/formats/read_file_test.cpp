#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

#include "formats/read_file.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

TEST(ReadFileCapped, readsUpToTheCapAndRefusesMore)
{
    test::TempTree tree;
    const std::string path = tree.file("f", std::string(100'000, 'x'));
    EXPECT_EQ(ReadFileCapped(path, 100'000).data.size(), 100'000u);
    const BoundedRead over = ReadFileCapped(path, 99'999);
    EXPECT_EQ(over.error, "larger than 99999 bytes");
    EXPECT_TRUE(over.data.empty());

    EXPECT_EQ(ReadFileHead(path, 10).data, "xxxxxxxxxx");
    EXPECT_EQ(ReadFileHead(tree.file("short", "ab"), 10).data, "ab");
    EXPECT_EQ(ReadFileCapped(tree.file("empty"), 10).error, "");
    EXPECT_EQ(ReadFileHead(tree.path("missing"), 10).error, "No such file or directory");
}

TEST(ReadFileCapped, refusesDevicesAndPipesWithoutOpeningThem)
{
    // A device would never end; a pipe without a writer would block the open.
    EXPECT_EQ(ReadFileCapped("/dev/zero", 10).error, "not a regular file");
    test::TempTree tree;
    const std::string fifo = tree.path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadFileHead(fifo, 10).error, "not a regular file");
}

}  // namespace
}  // namespace corvane
