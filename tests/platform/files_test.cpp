#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/files.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using test::TempTree;

TEST(ReadWholeFile, readsEveryByte)
{
    TempTree tree;
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    EXPECT_EQ(ReadWholeFile(tree.file("all.bin", bytes)).data, bytes);

    std::string big(300 * 1024 + 7, 'x');
    big[12345] = '\0';
    const ReadResult read = ReadWholeFile(tree.file("big.map", big));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.data, big);

    const ReadResult empty = ReadWholeFile(tree.file("empty.map"));
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(empty.data.empty());
}

TEST(ReadWholeFile, failuresSayWhy)
{
    TempTree tree;
    const ReadResult missing = ReadWholeFile(tree.path("missing.map"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, "No such file or directory");

    const ReadResult folder = ReadWholeFile(tree.dir("folder.map"));
    EXPECT_FALSE(folder.ok);
    EXPECT_EQ(folder.error, "Is a directory");
    EXPECT_TRUE(folder.data.empty());
}

TEST(ExistenceTests, tellFilesFoldersAndLinks)
{
    TempTree tree;
    const std::string file = tree.file("a/file.wal", "x");
    const std::string dir = tree.path("a");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_TRUE(DirectoryExists(dir));
    EXPECT_FALSE(FileExists(dir));
    EXPECT_TRUE(PathExists(dir));
    EXPECT_FALSE(PathExists(tree.path("nothing")));

    std::filesystem::create_symlink(file, tree.path("link.wal"));
    std::filesystem::create_symlink(tree.path("gone"), tree.path("broken.wal"));
    EXPECT_TRUE(FileExists(tree.path("link.wal")));
    EXPECT_FALSE(PathExists(tree.path("broken.wal")));
    EXPECT_FALSE(FileExists(tree.path("broken.wal")));
}

}  // namespace
}  // namespace corvane
