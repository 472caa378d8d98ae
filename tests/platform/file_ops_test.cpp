#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/faults.h"
#include "platform/file_ops.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using test::TempTree;

TEST(ListDirectory, listsByByteOrderWithTypesAndSizes)
{
    TempTree tree;
    tree.file("dir/b.wal", "12345");
    tree.file("dir/B.wal", "1");
    tree.file("dir/.hidden", "xy");
    tree.dir("dir/a");
    ASSERT_EQ(::mkfifo(tree.path("dir/pipe").c_str(), 0600), 0);
    fs::create_directory_symlink(tree.path("dir/a"), tree.path("dir/link"));
    fs::create_symlink(tree.path("nowhere"), tree.path("dir/dangling"));

    const Listing listing = ListDirectory(tree.path("dir"));
    ASSERT_TRUE(listing.ok);
    Names names;
    for (const DirEntry& entry : listing.entries)
        names.push_back(entry.name);
    EXPECT_EQ(names, (Names{".hidden", "B.wal", "a", "b.wal", "dangling", "link", "pipe"}));
    const auto& e = listing.entries;
    EXPECT_EQ(e[0].type, EntryType::File);
    EXPECT_EQ(e[0].size, 2u);
    EXPECT_EQ(e[2].type, EntryType::Directory);
    EXPECT_FALSE(e[2].link);
    EXPECT_EQ(e[3].size, 5u);
    EXPECT_EQ(e[4].type, EntryType::Unknown);
    EXPECT_TRUE(e[4].link);
    EXPECT_EQ(e[5].type, EntryType::Directory);
    EXPECT_TRUE(e[5].link);
    EXPECT_EQ(e[6].type, EntryType::System);

    const Listing missing = ListDirectory(tree.path("none"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, "No such file or directory");

    ScopedFaultInjector faults([](FileOp op, std::string_view) { return op == FileOp::List ? EACCES : 0; });
    EXPECT_EQ(ListDirectory(tree.path("dir")).error, "Permission denied");
}

TEST(FindFiles, matchesOrdinaryFilesWithoutRegardToCase)
{
    TempTree tree;
    tree.file("env/skyBK.tga");
    tree.file("env/skybk.pcx");
    tree.file("env/skybkx.tga");
    tree.file("env/SKYBK.TGA");
    tree.dir("env/skybk.dir");
    EXPECT_EQ(FindFiles(tree.path("env"), "skybk.*"), (Names{"SKYBK.TGA", "skyBK.tga", "skybk.pcx"}));
    EXPECT_TRUE(FindFiles(tree.path("missing"), "*").empty());
}

TEST(DirectoryEntryExists, countsFilesAndFoldersOnly)
{
    TempTree tree;
    EXPECT_TRUE(DirectoryEntryExists(tree.file("f")));
    EXPECT_TRUE(DirectoryEntryExists(tree.dir("d")));
    ASSERT_EQ(::mkfifo(tree.path("p").c_str(), 0600), 0);
    EXPECT_FALSE(DirectoryEntryExists(tree.path("p")));
    EXPECT_FALSE(DirectoryEntryExists(tree.path("none")));
}

class CopyFileAtomicTest : public ::testing::Test {
protected:
    TempTree tree;
    std::string source = tree.file("src/a.wal", "new content");
    std::string target = tree.path("dst/a.wal");

    void SetUp() override { tree.dir("dst"); }
};

TEST_F(CopyFileAtomicTest, copiesBytesTimeAndPermissions)
{
    ::chmod(source.c_str(), 0640);
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(50);
    fs::last_write_time(source, old);
    ASSERT_TRUE(CopyFileAtomic(source, target).ok);
    EXPECT_EQ(tree.read("dst/a.wal"), "new content");
    EXPECT_EQ(fs::last_write_time(target), old);
    EXPECT_EQ(fs::status(target).permissions(), fs::status(source).permissions());
    EXPECT_EQ(tree.entries("dst"), (Names{"a.wal"})) << "no temporary file is left";
}

TEST_F(CopyFileAtomicTest, replacesOrRefusesAnExistingTarget)
{
    tree.file("dst/a.wal", "old");
    const OpResult refused = CopyFileAtomic(source, target, CopyMode::FailIfExists);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, "File exists");
    EXPECT_EQ(tree.read("dst/a.wal"), "old");
    ASSERT_TRUE(CopyFileAtomic(source, target, CopyMode::Replace).ok);
    EXPECT_EQ(tree.read("dst/a.wal"), "new content");
    EXPECT_EQ(tree.entries("dst"), (Names{"a.wal"}));
}

TEST_F(CopyFileAtomicTest, theSameFileUnderAnotherNameIsNeverCopiedOntoItself)
{
    fs::create_directory_symlink(tree.path("src"), tree.path("alias"));
    const OpResult viaLink = CopyFileAtomic(source, tree.path("alias/a.wal"));
    EXPECT_FALSE(viaLink.ok);
    EXPECT_EQ(viaLink.error, "Source and target are the same file");
    ASSERT_EQ(::link(source.c_str(), tree.path("dst/hard.wal").c_str()), 0);
    EXPECT_FALSE(CopyFileAtomic(source, tree.path("dst/hard.wal")).ok);
    EXPECT_FALSE(CopyFileAtomic(source, tree.path("src/./a.wal")).ok);
    EXPECT_EQ(tree.read("src/a.wal"), "new content");
    EXPECT_TRUE(SameFile(source, tree.path("alias/a.wal")));
    EXPECT_FALSE(SameFile(source, tree.path("dst/none")));
}

TEST_F(CopyFileAtomicTest, aFailureLeavesNoPartialFileAndTheTargetAsItWas)
{
    tree.file("dst/a.wal", "old");
    for (FileOp failing : {FileOp::Read, FileOp::Write, FileOp::Rename}) {
        ScopedFaultInjector faults([failing](FileOp op, std::string_view) {
            return op == failing ? ENOSPC : 0;
        });
        const OpResult result = CopyFileAtomic(source, target);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, "No space left on device");
        EXPECT_EQ(tree.read("dst/a.wal"), "old");
        EXPECT_EQ(tree.entries("dst"), (Names{"a.wal"}));
    }
    EXPECT_FALSE(CopyFileAtomic(source, tree.path("nofolder/a.wal")).ok);
    EXPECT_FALSE(CopyFileAtomic(tree.path("src/none.wal"), target).ok);
    EXPECT_EQ(tree.read("dst/a.wal"), "old");
}

// A process that dies with the copy's data written but not yet in place (a
// crash, a kill, a power cut) leaves no file under any name, and an existing
// target as it was.
TEST_F(CopyFileAtomicTest, aCopyCutShortLeavesNothingBehind)
{
    const std::string big(3 << 20, 'x');
    const std::string bigSource = tree.file("src/big.wal", big);
    for (const bool existing : {false, true}) {
        if (existing)
            tree.file("dst/big.wal", "old");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SetFaultInjector([](FileOp op, std::string_view) -> int {
                if (op == FileOp::Rename)
                    ::_exit(42);  // dies with the data written
                return 0;
            });
            CopyFileAtomic(bigSource, tree.path("dst/big.wal"));
            ::_exit(1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 42) << "the copy did not reach the point of naming its file";
        if (existing) {
            EXPECT_EQ(tree.entries("dst"), (Names{"big.wal"}));
            EXPECT_EQ(tree.read("dst/big.wal"), "old");
        } else {
            EXPECT_TRUE(tree.entries("dst").empty());
        }
    }
    ASSERT_TRUE(CopyFileAtomic(bigSource, tree.path("dst/big.wal")).ok);
    EXPECT_EQ(tree.read("dst/big.wal"), big);
    EXPECT_EQ(tree.entries("dst"), (Names{"big.wal"}));
}

TEST_F(CopyFileAtomicTest, refusesSpecialFilesWithoutBlocking)
{
    ASSERT_EQ(::mkfifo(tree.path("src/pipe").c_str(), 0600), 0);
    const OpResult result = CopyFileAtomic(tree.path("src/pipe"), target);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "Not a regular file");
    EXPECT_TRUE(tree.entries("dst").empty());
}

TEST(FileOps, createDeleteAndDatesSayWhatFailed)
{
    TempTree tree;
    EXPECT_TRUE(CreateDirectoryLevel(tree.path("one")).ok);
    EXPECT_EQ(CreateDirectoryLevel(tree.path("one")).error, "File exists");
    EXPECT_EQ(CreateDirectoryLevel(tree.path("a/b")).error, "No such file or directory");
    const std::string file = tree.file("gone.wal", "x");
    {
        ScopedFaultInjector faults([](FileOp op, std::string_view) { return op == FileOp::Delete ? EBUSY : 0; });
        EXPECT_EQ(DeleteFile(file).error, "Device or resource busy");
    }
    EXPECT_TRUE(DeleteFile(file).ok);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(FileDateText(file), "(date unknown)");
    EXPECT_EQ(FileSize(tree.file("five", "12345")), 5u);
    EXPECT_NE(FileDateText(tree.path("five")), "(date unknown)");
}


// --- what a transfer's copies promise beyond a single copy ----------------------

// Blocks of 512 bytes that a file takes on the disk.
std::uint64_t Blocks(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_blocks) : 0;
}

void WriteAt(const std::string& path, off_t at, const std::string& data)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, data.data(), data.size(), at), static_cast<ssize_t>(data.size()));
    ::close(fd);
}

TEST_F(CopyFileAtomicTest, aSparseFileKeepsItsHolesAndItsBytes)
{
    // 16 MiB with data in three places and a hole at the end.
    const std::string sparse = tree.path("src/sparse.pak");
    const std::string chunk(1 << 20, 'd');
    WriteAt(sparse, 0, chunk);
    WriteAt(sparse, 8 << 20, chunk);
    WriteAt(sparse, (12 << 20) + 5, "tail of the data");
    ASSERT_EQ(::truncate(sparse.c_str(), 16 << 20), 0);
    if (Blocks(sparse) * 512 >= (16u << 20))
        GTEST_SKIP() << "this file system keeps no holes";

    for (const bool flush : {false, true}) {
        const TargetFolder into(tree.path("dst"));
        const std::string copy = tree.path(flush ? "dst/flushed.pak" : "dst/sparse.pak");
        ASSERT_TRUE(into.copyFile(sparse, copy, {CopyMode::FailIfExists, flush}).ok);
        EXPECT_EQ(fs::file_size(copy), 16u << 20);
        EXPECT_LE(Blocks(copy), Blocks(sparse) + 128) << "the holes were written out";
        EXPECT_TRUE(tree.read(flush ? "dst/flushed.pak" : "dst/sparse.pak") == tree.read("src/sparse.pak"));
    }
}

TEST_F(CopyFileAtomicTest, aNameTakenWhileCopyingIsNeverReplaced)
{
    // Another writer takes the name between the decision and the copy's last
    // step, with and without files that have no name.
    for (const bool unnamed : {true, false}) {
        const std::string taken = tree.path(unnamed ? "dst/unnamed.wal" : "dst/named.wal");
        ScopedFaultInjector faults([&](FileOp op, std::string_view at) {
            if (op == FileOp::UnnamedFile && !unnamed)
                return EOPNOTSUPP;
            if (op == FileOp::Rename && at == taken)
                std::ofstream(taken) << "the other writer's";
            return 0;
        });
        const TargetFolder into(tree.path("dst"));
        const CopyResult copied = into.copyFile(source, taken, {CopyMode::FailIfExists, false});
        EXPECT_FALSE(copied.ok);
        EXPECT_EQ(copied.cause, OpResult::Cause::Exists);
        EXPECT_EQ(copied.error, "File exists");
        std::ifstream kept(taken);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "the other writer's");
    }
    EXPECT_EQ(tree.entries("dst"), (Names{"named.wal", "unnamed.wal"})) << "no temporary file is left";
}

TEST(TargetFolder, followsNoLinkBelowItself)
{
    TempTree tree;
    const std::string source = tree.file("src/a.wal", "data");
    tree.dir("real/textures/w");
    tree.file("outside/keep.txt", "bystander");
    fs::create_directory_symlink(tree.path("real"), tree.path("target"));  // the target itself may be one
    fs::create_directory_symlink(tree.path("outside"), tree.path("real/sound"));
    fs::create_directory_symlink(tree.path("outside"), tree.path("real/textures/w/deeper"));
    const std::string target = tree.path("target");

    // With the kernel's one-call resolution, and without it.
    for (const bool walk : {false, true}) {
        ScopedFaultInjector faults([walk](FileOp op, std::string_view) {
            return walk && op == FileOp::ResolveBeneath ? ENOSYS : 0;
        });
        const TargetFolder into(target);
        EXPECT_TRUE(into.copyFile(source, target + "/textures/w/a.wal").ok) << "walk " << walk;
        EXPECT_EQ(into.probe(target + "/textures/w").kind, PathKind::Directory);

        const PathProbe link = into.probe(target + "/sound");
        EXPECT_EQ(link.kind, PathKind::Link);
        EXPECT_EQ(link.error, target + "/sound is a link");
        EXPECT_EQ(into.probe(target + "/sound/w").error, target + "/sound is a link");

        const OpResult folder = into.createDirectory(target + "/sound/w");
        EXPECT_EQ(folder.cause, OpResult::Cause::Link);
        EXPECT_EQ(folder.error, target + "/sound is a link");
        const CopyResult copy = into.copyFile(source, target + "/textures/w/deeper/a.wal");
        EXPECT_EQ(copy.cause, OpResult::Cause::Link);
        EXPECT_EQ(copy.error, target + "/textures/w/deeper is a link");
        EXPECT_EQ(into.createDirectory(target + "/sound").cause, OpResult::Cause::Link);
        EXPECT_FALSE(into.copyFile(source, tree.path("outside/a.wal")).ok) << "a path elsewhere";
    }
    EXPECT_EQ(tree.entries("outside"), (Names{"keep.txt"}));
    EXPECT_EQ(tree.read("real/textures/w/a.wal"), "data");
}

TEST(TargetFolder, removesWhatCopiesOfEndedProcessesLeftAndNothingElse)
{
    TempTree tree;
    const std::string source = tree.file("src/a.wal", "new");
    tree.file("dst/a.wal", "old");
    // A replace through a named temporary file, killed with its data half written.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string target = tree.path("dst/a.wal");
        SetFaultInjector([&target](FileOp op, std::string_view at) -> int {
            if (op == FileOp::UnnamedFile)
                return EOPNOTSUPP;
            if (op == FileOp::Write && at == target)  // the data, into the temporary file
                ::kill(::getpid(), SIGKILL);
            return 0;
        });
        CopyFileAtomic(source, tree.path("dst/a.wal"));
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::string leftover = ".a.wal.corvane-" + std::to_string(child) + "-0";
    ASSERT_EQ(tree.entries("dst"), (Names{leftover, "a.wal"}));

    // Names that only look like leftovers, or of a process that still runs, stay.
    const std::string running = ".b.wal.corvane-" + std::to_string(::getpid()) + "-0";
    const Names others{".corvane-12-0", ".x.corvane-1x-0", ".x.corvane-99999999-", "x.corvane-" + std::to_string(child) + "-0",
                       running};
    for (const std::string& name : others)
        tree.file("dst/" + name, "kept");
    const TargetFolder into(tree.path("dst"));
    ASSERT_TRUE(into.copyFile(source, tree.path("dst/a.wal")).ok);
    EXPECT_EQ(tree.read("dst/a.wal"), "new");
    Names left = others;
    left.push_back("a.wal");
    std::sort(left.begin(), left.end());
    EXPECT_EQ(tree.entries("dst"), left);
}

TEST(DeleteCopiedFile, deletesOnlyTheFileThatWasCopied)
{
    TempTree tree;
    const std::string source = tree.file("src/a.bsp", "compiled");
    tree.dir("dst");
    const CopyResult copied = CopyFileAtomic(source, tree.path("dst/a.bsp"));
    ASSERT_TRUE(copied.ok);

    std::ofstream(source, std::ios::app) << " again";  // recompiled in place
    EXPECT_EQ(DeleteCopiedFile(source, copied.source).error, "changed after it was copied");
    fs::remove(source);
    tree.file("src/a.bsp", "compiled");  // another file of the same size under the name
    EXPECT_EQ(DeleteCopiedFile(source, copied.source).error, "changed after it was copied");
    EXPECT_TRUE(fs::exists(source));

    const CopyResult again = CopyFileAtomic(source, tree.path("dst/a.bsp"));
    ASSERT_TRUE(again.ok);
    EXPECT_TRUE(DeleteCopiedFile(source, again.source).ok);
    EXPECT_FALSE(fs::exists(source));

    // A source that is a link to the copied file is that file: the link goes.
    const std::string real = tree.file("elsewhere/b.bsp", "linked");
    fs::create_symlink(real, tree.path("src/b.bsp"));
    const CopyResult linked = CopyFileAtomic(tree.path("src/b.bsp"), tree.path("dst/b.bsp"));
    ASSERT_TRUE(linked.ok);
    EXPECT_TRUE(DeleteCopiedFile(tree.path("src/b.bsp"), linked.source).ok);
    EXPECT_FALSE(fs::exists(fs::symlink_status(tree.path("src/b.bsp"))));
    EXPECT_EQ(tree.read("elsewhere/b.bsp"), "linked");
}

}  // namespace
}  // namespace corvane
