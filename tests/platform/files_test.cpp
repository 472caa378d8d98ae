#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <string>

#include "platform/file_facts.h"
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

// What a plan reads of a file agrees with the existence test a transfer
// uses, for every kind of entry.
TEST(FileFacts, agreeWithTheExistenceTestAndGiveSizeAndTime)
{
    TempTree tree;
    const std::string file = tree.file("a/file.wal", "12345");
    std::filesystem::create_symlink(file, tree.path("link.wal"));
    std::filesystem::create_symlink(tree.path("gone"), tree.path("broken.wal"));
    ASSERT_EQ(::mkfifo(tree.path("fifo.wal").c_str(), 0600), 0);
    for (const char* name : {"a/file.wal", "link.wal", "broken.wal", "fifo.wal", "a", "nothing"})
        EXPECT_EQ(ReadFileFacts(tree.path(name)).file, FileExists(tree.path(name))) << name;

    // A reader that keeps its folder open says the same, folder after folder,
    // for folders that are missing, linked or files themselves.
    tree.file("b/other.wal", "1");
    std::filesystem::create_symlink(tree.path("a"), tree.path("linked"));
    FileFactsReader reader;
    for (const char* name : {"a/file.wal", "a/none.wal", "b/other.wal", "a/file.wal", "missing/x.wal",
                             "missing/y.wal", "a/file.wal/z", "linked/file.wal", "fifo.wal", "link.wal", "b",
                             "broken.wal"}) {
        const FileFacts read = reader.read(tree.path(name));
        const FileFacts alone = ReadFileFacts(tree.path(name));
        EXPECT_EQ(read.file, alone.file) << name;
        EXPECT_EQ(read.size, alone.size) << name;
        EXPECT_EQ(read.modified, alone.modified) << name;
    }

    const FileFacts facts = ReadFileFacts(tree.path("link.wal"));
    EXPECT_EQ(facts.size, 5u);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(facts.modified, std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec);
    EXPECT_EQ(ReadFileFacts(tree.path("a")).size, 0u);
}

TEST(FileFacts, sameContentComparesSizeAndEveryByte)
{
    TempTree tree;
    std::string big(600 * 1024, 'x');
    const std::string a = tree.file("a.wal", big);
    const std::string same = tree.file("same.wal", big);
    big[big.size() - 1] = 'y';  // past the first chunk of the comparison
    const std::string last = tree.file("last.wal", big);
    const std::string longer = tree.file("longer.wal", big + "x");
    EXPECT_TRUE(SameContent(a, same));
    EXPECT_TRUE(SameContent(a, a));
    EXPECT_FALSE(SameContent(a, last));
    EXPECT_FALSE(SameContent(a, longer));
    EXPECT_FALSE(SameContent(a, tree.path("missing.wal")));
    EXPECT_TRUE(SameContent(tree.file("e1"), tree.file("e2")));
    EXPECT_FALSE(SameContent(tree.dir("d1"), tree.dir("d2")));
}

}  // namespace
}  // namespace corvane
