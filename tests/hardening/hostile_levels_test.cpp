// Levels written to do harm, run through the command-line program as a user
// would: names that climb out of their folder or name absolute places, names
// with control bytes and bytes above 127, names longer than the file system
// allows, a sky that climbs out of env, and levels built to exhaust memory or
// time. Each gives its refusal or its ordinary result, within bounds, and the
// surroundings of the trees stay as they were.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "cli/cli.h"
#include "hardening_fixture.h"
#include "measured.h"
#include "platform/file_ops.h"
#include "support/temp_tree.h"
#include "surroundings.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::Snapshot;
using test::Face;
using test::TempTree;

class HostileLevel : public ::testing::Test {
protected:
    TempTree tree;
    std::string out;
    std::string err;

    HostileLevel()
    {
        tree.file("outside/keep.txt", "bystander");
        tree.file("outside/w/a.wal", "bystander texture");
        tree.file("outside/keep.wav", "bystander sound");
        tree.file("outside/skybk.tga", "bystander sky");
        tree.file("work/maps/w.bsp", "compiled");
        tree.file("work/env/skybk.tga", "a sky");
    }

    std::string level(const std::string& text) { return tree.file("work/maps/w.map", text); }

    // corvane-cli with these arguments, answering every question with "all".
    int cli(std::vector<std::string> args)
    {
        std::istringstream in;
        std::ostringstream stdOut, stdErr;
        const int status = cli::RunCli(args, in, stdOut, stdErr);
        out = stdOut.str();
        err = stdErr.str();
        return status;
    }

    int transfer()
    {
        return cli({"transfer", tree.path("work/maps/w.map"), "--target", tree.path("game"), "--sky",
                    "--overwrite", "all"});
    }

    static std::size_t count(const std::string& text, const std::string& what)
    {
        std::size_t n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
};

TEST_F(HostileLevel, climbingAbsoluteAndStrangeNamesStayInsideTheTrees)
{
    const std::string longest(240, 'b');  // fits; its temporary name would not
    const std::string tooLong(300, 'c');                         // no file system takes it
    const std::string high = "h/\xe9\xffmix";                     // bytes above 127 are names like any other
    const std::string control = "h/\x01\x7f\tmix";                // control bytes are refused
    tree.file("work/textures/h/ok.wal", "ok");
    tree.file("work/textures/" + high + ".wal", "high");
    tree.file("work/textures/" + control + ".wal", "control");
    tree.file("work/textures/h/" + longest + ".wal", "long");
    tree.file("work/sound/h/\x1b[31mred.wav", "escape");

    level("{\n\"classname\" \"worldspawn\"\n\"sky\" \"../../outside/sky\"\n{\n" +
          Face("../../outside/w/a") + Face("h/../../../outside/w/a") + Face("h/..\\..\\..\\outside\\w\\a") +
          Face("C:/outside/w/a") + Face("//outside/w/a") + Face(tree.path("outside/w/a")) + Face("h/ok") +
          Face(high) + Face(control) + Face("h/" + longest) + Face("h/" + tooLong) +
          "}\n}\n{\n\"classname\" \"target_speaker\"\n\"noise\" \"../../../outside/keep\"\n}\n"
          "{\n\"noise\" \"h/..\\..\\..\\..\\outside\\keep.wav\"\n}\n{\n\"noise\" \"h/\x1b[31mred\"\n}\n");
    const Snapshot before(tree.root());

    EXPECT_EQ(transfer(), 3) << err;

    // Six textures and three sounds; "//outside/w/a" is a comment, not a texture.
    EXPECT_EQ(count(out, "Unsafe name refused:"), 9u) << out;
    EXPECT_NE(err.find("Sky env file name not allowed: ../../outside/sky"), std::string::npos) << err;
    EXPECT_EQ(tree.read("game/textures/h/ok.wal"), "ok");
    EXPECT_EQ(tree.read("game/textures/" + high + ".wal"), "high");
    EXPECT_EQ(tree.read("game/textures/h/" + longest + ".wal"), "long") << out;
    // Control bytes never reach the terminal: the refused names are shown as \xNN.
    EXPECT_NE(out.find("   h/\\x01\\x7F\\x09mix.wal\n"), std::string::npos) << out;
    EXPECT_NE(out.find("   h/\\x1B[31mred\n"), std::string::npos) << out;
    for (const std::string& text : {out, err})
        EXPECT_EQ(text.find_first_of(std::string("\x01\x09\x1b\x7f", 4)), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(tree.path("game/textures/" + control + ".wal")));
    EXPECT_FALSE(fs::exists(tree.path("game/sound/h/\x1b[31mred.wav")));
    // The name no file system takes is refused like the others, and the transfer goes on.
    EXPECT_NE(out.find("   h/" + tooLong + ".wal\n"), std::string::npos);
    // Nothing but the target changed. An absolute name is looked for, and its
    // folders made, below the kind's folder like any other.
    EXPECT_EQ(Snapshot(tree.root()).changesSince(before, {"game"}), std::vector<std::string>{});
    EXPECT_NE(out.find("Does not exist:  \n   " + tree.path("work/textures/") + tree.path("outside/w/a.wal")),
              std::string::npos) << out;
    EXPECT_FALSE(fs::exists(tree.path("game/env")));
    EXPECT_EQ(test::LeftoverTemporaries(tree.root()), std::vector<std::string>{});
}

TEST_F(HostileLevel, skyNamesThatClimbOrWildcardStayInsideEnv)
{
    tree.file("work/env/otherbk.tga", "another sky");
    const std::pair<std::string, std::string> refused[] = {
        {"..", ".."}, {"../outside/sky", "../outside/sky"}, {"..\\..\\outside\\sky", "..\\..\\outside\\sky"},
        {"/outside/sky", "/outside/sky"}, {"env/../../x", "env/../../x"}, {"*", "*"}, {"s?y", "s?y"},
        {"[a-z]*", "[a-z]*"}, {"sky\x1b[2J", "sky\\x1B[2J"}};
    for (const auto& [sky, shown] : refused) {
        level("{\n\"sky\" \"" + sky + "\"\n{\n" + Face("h/ok") + "}\n}\n");
        const Snapshot before(tree.root());
        EXPECT_EQ(transfer(), 3) << err;
        EXPECT_NE(err.find("Sky env file name not allowed: " + shown + "\n"), std::string::npos) << sky << err;
        EXPECT_NE(err.find("\nRefused sky: " + shown + ": "), std::string::npos) << sky << err;
        EXPECT_FALSE(fs::exists(tree.path("game/env"))) << sky;
        EXPECT_EQ(Snapshot(tree.root()).changesSince(before, {"game"}), std::vector<std::string>{}) << sky;
    }
}

TEST_F(HostileLevel, aNameLongerThanTheFileSystemAllowsIsRefusedAndMakesNoFolder)
{
    tree.file("work/textures/h/ok.wal", "ok");
    level("{\n{\n" + Face("h/ok") + Face(std::string(300, 'd') + "/x") + Face("n/" + std::string(300, 'e') + "/y") +
          "}\n}\n");
    const Snapshot before(tree.root());
    EXPECT_EQ(transfer(), 3) << err;
    EXPECT_EQ(count(out, "Unsafe name refused:"), 2u) << out;
    EXPECT_EQ(count(err, ": a name longer than the file system allows\n"), 2u) << err;
    EXPECT_EQ(tree.read("game/textures/h/ok.wal"), "ok");
    EXPECT_EQ(tree.entries("game/textures"), (std::vector<std::string>{"h/", "h/ok.wal"}));
    EXPECT_EQ(Snapshot(tree.root()).changesSince(before, {"game"}), std::vector<std::string>{});
}

// The longest name a file may have is copied, also over an older file, and
// refused when the target must not be replaced.
TEST_F(HostileLevel, theLongestFileNameCopiesAndReplaces)
{
    const std::string name(255, 'n');
    const std::string source = tree.file("work/" + name, "new");
    const std::string target = tree.path(name);
    EXPECT_TRUE(CopyFileAtomic(source, target).ok);
    EXPECT_EQ(tree.read(name), "new");
    tree.file(name, "older");
    EXPECT_TRUE(CopyFileAtomic(source, target, CopyMode::Replace).ok);
    EXPECT_EQ(tree.read(name), "new");
    tree.file(name, "older");
    EXPECT_FALSE(CopyFileAtomic(source, target, CopyMode::FailIfExists).ok);
    EXPECT_EQ(tree.read(name), "older");
    EXPECT_EQ(test::LeftoverTemporaries(tree.root()), std::vector<std::string>{});
}

// A 100 MB level without a single line break: one line, no brush, refused
// with the texture scan's error, in bounded time and memory, touching nothing.
TEST_F(HostileLevel, aHundredMegabytesWithoutALineBreak)
{
    constexpr std::size_t kSize = 100u << 20;
    {
        std::ofstream file(tree.path("work/maps/w.map"), std::ios::binary);
        const std::string chunk = "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) a/b \"noise\" \"x/y\" {";
        std::string block;
        while (block.size() < (1u << 20))
            block += chunk;
        block.resize(1u << 20);
        for (std::size_t written = 0; written < kSize; written += block.size())
            file.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    const Snapshot before(tree.root());
    const test::Measured run = test::RunMeasured([&] {
        const int status = transfer();
        return status == 1 && err.find("List index out of bounds.") != std::string::npos ? 0 : 2;
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_LT(run.peakBytes, test::kSanitizerFactor * 3 * kSize + (200u << 20));
    EXPECT_LT(run.seconds, 20.0 * test::kSanitizerFactor);
    EXPECT_FALSE(fs::exists(tree.path("game")));
    EXPECT_EQ(Snapshot(tree.root()).changesSince(before), std::vector<std::string>{});
}

// A level's first NUL ends its text, and the reading stops there: a big file
// is not read past it.
TEST_F(HostileLevel, aBigFileIsNotReadPastItsFirstNul)
{
    constexpr std::size_t kSize = 64u << 20;
    level("{\n" + std::string(1, '\0') + std::string(kSize, 'x'));
    // What the child holds before it reads anything (writing the file may
    // have left memory in this process that the child shares).
    const std::uint64_t baseline = test::RunMeasured([] { return 0; }).peakBytes;
    const test::Measured run = test::RunMeasured([&] {
        return transfer() == 1 && err.find("List index out of bounds.") != std::string::npos ? 0 : 2;
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_LT(run.peakBytes, baseline + kSize / 4) << "read past the NUL";
}

// A level must be a regular file: a device in its place (one that never
// ends) or a pipe without a writer is refused at once with the reason, before
// the target is touched.
TEST_F(HostileLevel, aLevelThatIsNotARegularFileIsRefusedAtOnce)
{
    const std::string path = tree.path("work/maps/w.map");
    fs::create_symlink("/dev/zero", path);
    const auto refused = [&] {
        return transfer() == 1 && err == "corvane-cli: can't open file '" + path + "': Not a regular file\n" ? 0 : 2;
    };
    EXPECT_EQ(test::RunMeasured(refused, 1ull << 30).status, 0);
    fs::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(test::RunMeasured(refused, 1ull << 30).status, 0);
    EXPECT_FALSE(fs::exists(tree.path("game")));
}

// Every line a face with its own texture: hundreds of thousands of names,
// a few of them present, the rest missing; all are scanned, each present one
// arrives, each missing one is noticed, and the run stays within bounds.
TEST_F(HostileLevel, hundredsOfThousandsOfUniqueTextures)
{
    constexpr int kFaces = 200000;
    constexpr int kPresent = 500;
    {
        std::ofstream file(tree.path("work/maps/w.map"), std::ios::binary);
        file << "{\n\"classname\" \"worldspawn\"\n{\n";
        char name[32];
        for (int i = 0; i < kFaces; ++i) {
            std::snprintf(name, sizeof name, "u%02d/t%06d", i % 50, i);
            file << Face(name);
        }
        file << "}\n}\n";
    }
    for (int i = 0; i < kPresent; ++i) {
        char name[48];
        std::snprintf(name, sizeof name, "work/textures/u%02d/t%06d.wal", i % 50, i);
        tree.file(name, "t");
    }
    const Snapshot before(tree.root());
    const test::Measured run = test::RunMeasured([&] {
        const int status = transfer();
        return status == 3 && count(out, "Copied: u") == kPresent &&
                       count(out, "Does not exist:") == kFaces - kPresent
                   ? 0
                   : 2;
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_LT(run.peakBytes, test::kSanitizerFactor * (1024ull << 20));
    EXPECT_LT(run.seconds, 60.0 * test::kSanitizerFactor);
    EXPECT_EQ(tree.entries("game/textures").size(), 50u + kPresent);
    EXPECT_EQ(Snapshot(tree.root()).changesSince(before, {"game"}), std::vector<std::string>{});
}

}  // namespace
}  // namespace corvane
