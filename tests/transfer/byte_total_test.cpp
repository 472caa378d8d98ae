#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/faults.h"
#include "transfer/byte_total.h"
#include "support/scripted_host.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using Statuses = std::vector<std::pair<int, std::string>>;

TEST(FormatByteCount, groupsEveryThreeDigits)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0", "0"},           {"999", "999"},           {"1234", "1,234"},
        {"123456", "123,456"}, {"1234567", "1,234,567"}, {"1234567890", "1,234,567,890"},
        {"4294967296", "4,294,967,296"},
    };
    for (const auto& [digits, shown] : cases)
        EXPECT_EQ(FormatByteCount(digits), shown);
    EXPECT_EQ(TotalBytesText(5ull << 30), "Total Bytes:  5,368,709,120");
}

class TotalDirectoryBytesTest : public ::testing::Test {
protected:
    test::TempTree tree;
    test::ScriptedHost host;
    std::string target = tree.dir("game");

    std::uint64_t total() { return ShowDirectoryBytes(host, target, target, "/t/maps/w.map").bytes; }
};

TEST_F(TotalDirectoryBytesTest, showsTheRunningTotalAtTheEndOfEachFolderDeepestFirst)
{
    tree.file("game/z.bin", std::string(1500, 'z'));
    tree.file("game/sub/b.bin", std::string(2000000, 'b'));
    EXPECT_EQ(total(), 2001500u);
    EXPECT_EQ(host.statuses, (Statuses{{1, "Total Bytes:  2,000,000"}, {1, "Total Bytes:  2,001,500"}}));
    EXPECT_EQ(host.captions, (std::vector<std::string>(2, "Corvane - /t/maps/w.map")));
}

TEST_F(TotalDirectoryBytesTest, skipsDotFoldersLinksAndSpecialFilesButCountsDotFiles)
{
    tree.file("game/.dotfile", "12");
    tree.file("game/.git/objects", std::string(100, 'x'));
    tree.file("outside/big", std::string(1000, 'x'));
    fs::create_directory_symlink(tree.path("outside"), tree.path("game/linked"));
    fs::create_symlink(tree.path("nowhere"), tree.path("game/dangling"));
    ASSERT_EQ(::mkfifo(tree.path("game/pipe").c_str(), 0600), 0);
    EXPECT_EQ(total(), 2u);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(TotalDirectoryBytesTest, anEmptyTargetAndOneThatCannotBeListed)
{
    EXPECT_EQ(total(), 0u);
    EXPECT_EQ(host.statuses, (Statuses{{1, "Total Bytes:  0"}}));

    tree.file("game/sub/x", "123");
    tree.file("game/y", "45");
    host.statuses.clear();
    host.answer(MessageButton::Ok);
    ScopedFaultInjector faults([&](FileOp op, std::string_view path) {
        return op == FileOp::List && path == tree.path("game/sub") ? EACCES : 0;
    });
    EXPECT_EQ(total(), 2u);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Cant open target dir:\n" + target);
    EXPECT_EQ(host.boxes[0].caption, "Error");
    EXPECT_EQ(host.boxes[0].icon, MessageIcon::Warning);
    EXPECT_EQ(host.alerts, (std::vector<AlertSound>{AlertSound::Stop}));
    EXPECT_EQ(host.statuses, (Statuses{{1, "Total Bytes:  0"}, {1, "Total Bytes:  2"}}));
}

TEST(TotalDirectoryBytes, returnsTheSumAndTheFoldersItCouldNotRead)
{
    test::TempTree tree;
    tree.file("game/a/x", "123");
    tree.file("game/b/y", "4567");
    tree.file("game/c/z", "89");
    const ScopedFaultInjector faults([&](FileOp op, std::string_view path) {
        return op == FileOp::List && (path == tree.path("game/a") || path == tree.path("game/c")) ? EACCES : 0;
    });
    std::vector<std::string> reported;
    std::vector<std::uint64_t> running;
    ByteWalkWatch watch;
    watch.unreadable = [&](const std::string& dir, const std::string& reason) {
        reported.push_back(dir + ": " + reason);
    };
    watch.folderDone = [&](std::uint64_t bytes) { running.push_back(bytes); };
    const ByteTotal total = TotalDirectoryBytes(tree.path("game"), watch);
    EXPECT_EQ(total.bytes, 4u);
    EXPECT_EQ(total.unreadable, (std::vector<std::string>{tree.path("game/a"), tree.path("game/c")}));
    EXPECT_EQ(reported, (std::vector<std::string>{tree.path("game/a") + ": Permission denied",
                                                  tree.path("game/c") + ": Permission denied"}));
    EXPECT_EQ(running, (std::vector<std::uint64_t>{0, 4, 4, 4}));
    EXPECT_TRUE(TotalDirectoryBytes(tree.path("game/b")).unreadable.empty());
}

}  // namespace
}  // namespace corvane
