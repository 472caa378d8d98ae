// Transfers that meet other writers: a second transfer into the same target
// at the same time (two real processes, the first held at a barrier between
// its decision and its copy), a name taken by someone else while a copy is
// made, a source swapped between its copy and its delete, and a transfer
// killed while it replaces a file. Nothing is lost, nothing is replaced that
// was not decided, and nothing is left behind.

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli.h"
#include "hardening_fixture.h"
#include "platform/faults.h"
#include "support/temp_tree.h"
#include "surroundings.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::HardeningFixture;
using test::Face;
using test::TempTree;

const std::string kLevel = "{\n\"classname\" \"worldspawn\"\n{\n" + Face("w/a") + Face("w/b") +
                           "}\n}\n{\n\"classname\" \"target_speaker\"\n\"noise\" \"w/s.wav\"\n}\n";
const std::vector<std::string> kResources{"textures/w/a.wal", "textures/w/b.wal", "sound/w/s.wav"};

// Runs corvane-cli in a child process with its output and errors going to
// files as they are written; `prepare` runs in the child first.
pid_t StartCli(const std::vector<std::string>& args, const std::string& outPath, const std::string& errPath,
               const std::function<void()>& prepare = {})
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    ::alarm(60);
    if (prepare)
        prepare();
    std::ofstream out(outPath);
    std::ofstream err(errPath);
    err << std::unitbuf;
    std::istringstream in;
    const int status = cli::RunCli(args, in, out, err);
    out.flush();
    ::_exit(status);
}

int Finish(pid_t child)
{
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// True once `path` holds `text`, waiting up to 20 seconds.
bool WaitForText(const std::string& path, const std::string& text)
{
    for (int i = 0; i < 400; ++i) {
        if (ReadFile(path).find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

class Races : public ::testing::Test {
protected:
    TempTree tree;

    // A working tree whose files all say which tree they come from.
    void workTree(const std::string& name)
    {
        tree.file(name + "/maps/lev.map", kLevel);
        tree.file(name + "/maps/lev.bsp", name + " bsp");
        for (const std::string& resource : kResources)
            tree.file(name + "/" + resource, name + " " + resource);
    }

    std::vector<std::string> transferArgs(const std::string& work, const std::string& overwrite,
                                          bool move)
    {
        std::vector<std::string> args{"transfer", tree.path(work + "/maps/lev.map"), "--target", tree.path("game"),
                                      "--overwrite", overwrite};
        if (move)
            args.push_back("--move");
        return args;
    }
};

TEST_F(Races, aSecondTransferIntoTheTargetWaitsAndLosesNothing)
{
    workTree("one");
    workTree("two");
    tree.dir("game");
    int ready[2], go[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(go), 0);

    // The first transfer stops at its first copy of a resource, after it has
    // decided that the file is new, until the test lets it go on.
    const std::string first = tree.path("game/textures/w/a.wal");
    const pid_t one = StartCli(transferArgs("one", "none", true), tree.path("one.out"), tree.path("one.err"), [&] {
        SetFaultInjector([&](FileOp op, std::string_view at) {
            if (op == FileOp::Write && at == first) {
                char byte = 'r';
                (void)!::write(ready[1], &byte, 1);
                (void)!::read(go[0], &byte, 1);
            }
            return 0;
        });
    });
    struct pollfd waiting {ready[0], POLLIN, 0};
    ASSERT_EQ(::poll(&waiting, 1, 20000), 1) << "the first transfer never reached its copy";

    const pid_t two = StartCli(transferArgs("two", "none", true), tree.path("two.out"), tree.path("two.err"));
    EXPECT_TRUE(WaitForText(tree.path("two.err"),
                            "corvane-cli: another transfer into " + tree.path("game") + " is running; waiting"))
        << ReadFile(tree.path("two.err"));
    EXPECT_EQ(ReadFile(tree.path("two.out")), "") << "the second transfer began while the first ran";

    char byte = 'g';
    ASSERT_EQ(::write(go[1], &byte, 1), 1);
    EXPECT_EQ(Finish(one), 0) << ReadFile(tree.path("one.err"));
    EXPECT_EQ(Finish(two), 0) << ReadFile(tree.path("two.err"));
    for (int fd : {ready[0], ready[1], go[0], go[1]})
        ::close(fd);

    // The first moved every file; the second kept every one of its own.
    for (const std::string& resource : kResources) {
        EXPECT_EQ(tree.read("game/" + resource), "one " + resource);
        EXPECT_FALSE(fs::exists(tree.path("one/" + resource))) << resource;
        EXPECT_EQ(tree.read("two/" + resource), "two " + resource);
    }
    EXPECT_EQ(tree.read("game/maps/lev.bsp"), "one bsp");
    EXPECT_EQ(tree.read("two/maps/lev.bsp"), "two bsp");
    const std::string second = ReadFile(tree.path("two.out"));
    EXPECT_NE(second.find("Already Exists: w/a.wal\nAlready Exists: w/b.wal\n"), std::string::npos) << second;
    EXPECT_EQ(test::LeftoverTemporaries(tree.root()), std::vector<std::string>{});
}

TEST_F(Races, aNameTakenWhileItIsCopiedIsAskedAboutOrKept)
{
    workTree("one");
    const std::string taken = tree.path("game/textures/w/a.wal");
    bool once = false;
    ScopedFaultInjector other([&](FileOp op, std::string_view at) {
        if (op == FileOp::Rename && at == taken && !once) {
            once = true;
            std::ofstream(taken) << "another writer's";
        }
        return 0;
    });

    // Kept under "none": the other writer's file stays, and so does the source.
    std::istringstream none;
    std::ostringstream keptOut, keptErr;
    EXPECT_EQ(cli::RunCli(transferArgs("one", "none", true), none, keptOut, keptErr), 0) << keptErr.str();
    EXPECT_NE(keptOut.str().find("\nAlready Exists: w/a.wal\nMoved: w/b.wal\n"), std::string::npos)
        << keptOut.str();
    EXPECT_EQ(tree.read("game/textures/w/a.wal"), "another writer's");
    EXPECT_EQ(tree.read("one/textures/w/a.wal"), "one textures/w/a.wal");

    // Asked about when someone is there to ask.
    fs::remove_all(tree.path("game"));
    workTree("one");
    once = false;
    std::istringstream yes("y\n");
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCli(transferArgs("one", "ask", false), yes, out, err), 0) << err.str();
    EXPECT_NE(err.str().find("[Textures dir exists! W]\nOverwrite?\n  \n" + taken), std::string::npos) << err.str();
    EXPECT_NE(out.str().find("Copied: w/a.wal\tOverwritten\nCopied: w/b.wal\n"), std::string::npos) << out.str();
    EXPECT_EQ(tree.read("game/textures/w/a.wal"), "one textures/w/a.wal");
}

TEST_F(Races, aTransferKilledWhileReplacingLeavesNothingTheNextOneKeeps)
{
    workTree("one");
    tree.file("game/textures/w/a.wal", "older");
    // A file system without unnamed files: the replacement is written under a
    // temporary name, and the process dies in the middle of it.
    const std::string replaced = tree.path("game/textures/w/a.wal");
    const pid_t killed = StartCli(transferArgs("one", "all", false), tree.path("k.out"), tree.path("k.err"), [&] {
        SetFaultInjector([&](FileOp op, std::string_view at) {
            if (op == FileOp::UnnamedFile)
                return EOPNOTSUPP;
            if (op == FileOp::Write && at == replaced)
                ::kill(::getpid(), SIGKILL);
            return 0;
        });
    });
    EXPECT_EQ(Finish(killed), 128 + SIGKILL);
    EXPECT_EQ(test::LeftoverTemporaries(tree.root()),
              std::vector<std::string>{"game/textures/w/.a.wal.corvane-" + std::to_string(killed) + "-0"});
    EXPECT_EQ(tree.read("game/textures/w/a.wal"), "older");

    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCli(transferArgs("one", "all", false), in, out, err), 0) << err.str();
    EXPECT_EQ(tree.read("game/textures/w/a.wal"), "one textures/w/a.wal");
    EXPECT_EQ(test::LeftoverTemporaries(tree.root()), std::vector<std::string>{});
}

// A source replaced between its copy and its delete (a level recompiled
// during a move) is kept, and the log says so.
TEST_F(HardeningFixture, aSourceSwappedBeforeItsDeleteIsKept)
{
    const std::string bsp = path("work/maps/w.bsp");
    const std::string texture = path("work/textures/w/b.wal");
    {
        ScopedFaultInjector swap([&](FileOp op, std::string_view at) {
            if (op == FileOp::Delete && at == bsp) {
                std::ofstream(bsp + ".new") << "compiled again";
                fs::rename(bsp + ".new", bsp);
            }
            if (op == FileOp::Delete && at == texture)
                std::ofstream(texture, std::ios::app) << ", edited";  // the same file, changed
            return 0;
        });
        ASSERT_EQ(run(TransferMode::Move), TransferOutcome::RanThrough);
    }
    const std::vector<std::string>& lines = log.lines();
    const auto follows = [&](const std::string& line, const std::string& next) {
        const auto at = std::find(lines.begin(), lines.end(), line);
        return at != lines.end() && at + 1 != lines.end() && at[1] == next;
    };
    EXPECT_TRUE(follows("Copied: " + path("game/maps/w.bsp") + "\tOverwritten", "   Could not delete source: " + bsp));
    EXPECT_TRUE(follows("Copied: w/b.wal", "   Could not delete source: " + texture));
    EXPECT_EQ(read("work/maps/w.bsp"), "compiled again");
    EXPECT_EQ(read("game/maps/w.bsp"), "compiled level");
    EXPECT_EQ(read("work/textures/w/b.wal"), "texture b, edited");
    EXPECT_EQ(read("game/textures/w/b.wal"), "texture b");
    EXPECT_FALSE(exists("work/textures/w/a.wal")) << "an unchanged source is still moved";
    EXPECT_EQ(log.failures(), (std::vector<TransferFailure>{{bsp, "changed after it was copied"},
                                                             {texture, "changed after it was copied"}}));
}

}  // namespace
}  // namespace corvane
