#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <sys/stat.h>

#include "archive/pack.h"
#include "archive/pak_reader.h"
#include "archive/zip_reader.h"
#include "platform/faults.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// Every entry of an archive with its bytes, read back with our readers.
std::map<std::string, std::string> ReadBack(const std::string& path, ArchiveFormat format)
{
    std::map<std::string, std::string> files;
    auto take = [&files](const ArchiveListing& listing, auto& reader) {
        EXPECT_TRUE(listing.ok);
        EXPECT_TRUE(listing.warnings.empty());
        std::vector<std::string> order;
        for (const ArchiveEntry& entry : listing.entries) {
            const EntryBytes bytes = reader.read(entry, 1 << 20);
            EXPECT_TRUE(bytes.ok) << bytes.error;
            files[entry.name] = bytes.data;
            order.push_back(entry.name);
        }
        EXPECT_TRUE(std::is_sorted(order.begin(), order.end())) << "entries in byte order";
    };
    if (format == ArchiveFormat::Pak) {
        const PakReader reader = PakReader::Open(path);
        take(reader.listing(), reader);
    } else {
        ZipReader reader = ZipReader::Open(path);
        take(reader.listing(), reader);
    }
    return files;
}

class PackTest : public ::testing::Test {
protected:
    test::TempTree tree;
    std::string game = tree.dir("game");
    std::map<std::string, std::string> expected{
        {"maps/harbor.bsp", std::string("IBSP\0\0\0\x26", 8) + std::string(500, 'b')},
        {"sound/harbor/bell.wav", "RIFF bell"},
        {"textures/harbor/Crate1.wal", std::string(7000, 'c')},
        {"textures/harbor/rope.wal", ""},
        {"env/harborskybk.tga", "sky"},
        {"readme.txt", "hello"},
    };

    void SetUp() override
    {
        for (const auto& [name, data] : expected)
            tree.file("game/" + name, data);
        tree.file("game/maps/harbor.map", "{ }");
        tree.file("game/MAPS/Other.MAP", "{ }");
        tree.file("game/.git/config", "[core]");
        tree.file("game/textures/.DS_Store", "x");
    }

    PackResult pack(ArchiveFormat format, const std::string& output, bool force = false, bool sources = false)
    {
        PackOptions options;
        options.format = format;
        options.force = force;
        options.withSources = sources;
        return PackFolder(game, output, options);
    }

    std::string errors(const PackResult& result) const
    {
        std::string text;
        for (const std::string& error : result.errors)
            text += error + "\n";
        return text;
    }
};

TEST_F(PackTest, everyFormatHoldsTheGameFilesAndReadsBackAlike)
{
    // The pak last: it lies in the folder, where the zips would pack it.
    for (const ArchiveFormat format : {ArchiveFormat::Pk3, ArchiveFormat::Pkz, ArchiveFormat::Pak}) {
        SCOPED_TRACE(std::string(ArchiveFormatName(format)));
        const std::string output = DefaultArchivePath(game, format);
        const PackResult result = pack(format, output);
        ASSERT_TRUE(result.ok) << errors(result);
        EXPECT_TRUE(result.warnings.empty()) << result.warnings.front().text();
        EXPECT_EQ(result.entries, expected.size());
        EXPECT_EQ(result.bytes, fs::file_size(output));
        EXPECT_EQ(ReadBack(output, format), expected);
    }
    EXPECT_EQ(DefaultArchivePath(game, ArchiveFormat::Pak), game + "/pak0.pak");
    EXPECT_EQ(DefaultArchivePath(game + "/", ArchiveFormat::Pk3), game + ".pk3");
    EXPECT_EQ(tree.read("game.pk3"), tree.read("game.pkz")) << "one zip under two names";
    EXPECT_LT(fs::file_size(tree.path("game.pk3")), 1500u) << "deflated";
}

TEST_F(PackTest, theSameFilesGiveTheSameBytesWhateverTheirTimesAndOwners)
{
    for (const ArchiveFormat format : {ArchiveFormat::Pak, ArchiveFormat::Pk3}) {
        SCOPED_TRACE(std::string(ArchiveFormatName(format)));
        const std::string first = tree.path("first." + std::string(ArchiveFormatName(format)));
        const std::string second = tree.path("second." + std::string(ArchiveFormatName(format)));
        ASSERT_TRUE(pack(format, first).ok);
        for (const auto& [name, data] : expected) {
            const std::string path = game + "/" + name;
            fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(1000));
            ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
            ASSERT_EQ(::chown(path.c_str(), 4321, 4321), 0);
        }
        ASSERT_TRUE(pack(format, second).ok);
        EXPECT_EQ(tree.read(fs::path(first).filename().string()), tree.read(fs::path(second).filename().string()));
    }
    // The pak's layout to the byte: header, data in name order, directory.
    const std::string pak = tree.read("first.pak");
    EXPECT_EQ(pak.substr(0, 4), "PACK");
    EXPECT_EQ(pak.substr(12, 3), "sky") << "env/harborskybk.tga comes first";
    EXPECT_EQ(pak.size(), 12 + 8 + 500 + 5 + 9 + 7000 + 3 + 0 + 6 * 64);
}

TEST_F(PackTest, sourcesAndHiddenNamesAndTheArchiveItselfStayOut)
{
    const std::string output = game + "/pak0.pak";
    ASSERT_TRUE(pack(ArchiveFormat::Pak, output).ok);
    const PackResult again = pack(ArchiveFormat::Pak, output, true, true);
    ASSERT_TRUE(again.ok) << errors(again);
    std::map<std::string, std::string> withSources = expected;
    withSources["maps/harbor.map"] = "{ }";
    withSources["MAPS/Other.MAP"] = "{ }";
    EXPECT_EQ(ReadBack(output, ArchiveFormat::Pak), withSources) << "no pak0.pak inside pak0.pak";

    // Also when it is reached under another name.
    fs::create_hard_link(output, game + "/copy.pak");
    const PackResult linked = pack(ArchiveFormat::Pak, output, true);
    ASSERT_TRUE(linked.ok);
    EXPECT_EQ(ReadBack(output, ArchiveFormat::Pak), expected);
}

TEST_F(PackTest, linkedFoldersAreNotEnteredLinkedFilesArePacked)
{
    tree.file("elsewhere/big.wal", "elsewhere");
    fs::create_directory_symlink(tree.path("elsewhere"), game + "/textures/linked");
    fs::create_symlink(tree.path("elsewhere/big.wal"), game + "/textures/harbor/alias.wal");
    ASSERT_EQ(::mkfifo((game + "/sound/pipe.wav").c_str(), 0644), 0);
    const PackResult result = pack(ArchiveFormat::Pk3, tree.path("game.pk3"));
    ASSERT_TRUE(result.ok) << errors(result);
    std::vector<std::string> warnings;
    for (const ArchiveWarning& warning : result.warnings)
        warnings.push_back(warning.text());
    EXPECT_EQ(warnings, (std::vector<std::string>{game + "/sound/pipe.wav: not a regular file, left out",
                                                  game + "/textures/linked: a linked folder, not entered"}));
    std::map<std::string, std::string> withAlias = expected;
    withAlias["textures/harbor/alias.wal"] = "elsewhere";
    EXPECT_EQ(ReadBack(tree.path("game.pk3"), ArchiveFormat::Pk3), withAlias);
}

TEST_F(PackTest, namesAPakCannotHoldStopItAndLeaveNothing)
{
    const std::string longest(55 - 9, 'x');  // "textures/" + 46 = 55 bytes
    tree.file("game/textures/" + longest, "fits");
    ASSERT_TRUE(pack(ArchiveFormat::Pak, tree.path("pak0.pak")).ok);
    fs::remove(tree.path("pak0.pak"));

    const std::string tooLong = "textures/" + std::string(47, 'y');
    tree.file("game/" + tooLong, "too long");
    tree.file("game/sound/back\\slash.wav", "x");
    const auto before = tree.entries();
    const PackResult result = pack(ArchiveFormat::Pak, tree.path("pak0.pak"));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(errors(result), "'sound/back\\slash.wav' cannot be stored in an archive: a backslash in the name\n"
                              "'" + tooLong + "' is 56 bytes long; a pak holds 55 at most\n");
    EXPECT_EQ(tree.entries(), before);

    fs::remove(tree.path("game/sound/back\\slash.wav"));
    EXPECT_TRUE(pack(ArchiveFormat::Pk3, tree.path("game.pk3")).ok) << "a zip holds long names";
}

TEST_F(PackTest, aFailureMidwayLeavesNoFileAndTheOldArchiveWhole)
{
    const std::string pak = tree.path("pak0.pak");
    const std::string zip = tree.path("game.pk3");
    ASSERT_TRUE(pack(ArchiveFormat::Pak, pak).ok);
    ASSERT_TRUE(pack(ArchiveFormat::Pk3, zip).ok);
    const std::string oldPak = tree.read("pak0.pak");
    const std::string oldZip = tree.read("game.pk3");
    tree.file("game/textures/harbor/new.wal", "new");
    const auto before = tree.entries();

    // The pak's third write (its second file), the zip's temporary file, and
    // the last step of either: giving the finished file its name.
    struct Failure {
        ArchiveFormat format;
        FileOp op;
        int nth;
    };
    for (const Failure failure : {Failure{ArchiveFormat::Pak, FileOp::Write, 3}, Failure{ArchiveFormat::Pak, FileOp::Rename, 1},
                                  Failure{ArchiveFormat::Pk3, FileOp::Write, 1}, Failure{ArchiveFormat::Pk3, FileOp::Rename, 1}}) {
        int calls = 0;
        ScopedFaultInjector faults([&](FileOp op, std::string_view) {
            return op == failure.op && ++calls == failure.nth ? ENOSPC : 0;
        });
        const PackResult result = pack(failure.format, failure.format == ArchiveFormat::Pak ? pak : zip, true);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(errors(result).find("No space left on device"), std::string::npos) << errors(result);
        EXPECT_EQ(tree.entries(), before);
    }
    EXPECT_EQ(tree.read("pak0.pak"), oldPak);
    EXPECT_EQ(tree.read("game.pk3"), oldZip);
}

// A pack cancelled before its first file, between files, or (a zip) while
// it is written leaves nothing new behind and the older archive whole.
TEST_F(PackTest, aCancelledPackLeavesNothingAndTheOldArchiveWhole)
{
    const std::string pak = tree.path("pak0.pak");
    const std::string zip = tree.path("game.pk3");
    ASSERT_TRUE(pack(ArchiveFormat::Pak, pak).ok);
    const std::string oldPak = tree.read("pak0.pak");
    const auto before = tree.entries();
    // The zip asks once for each of its six files, then while it writes them.
    for (const auto& [format, output, nth] : {std::tuple{ArchiveFormat::Pak, pak, 1}, std::tuple{ArchiveFormat::Pak, pak, 4},
                                              std::tuple{ArchiveFormat::Pk3, zip, 1}, std::tuple{ArchiveFormat::Pk3, zip, 8}}) {
        SCOPED_TRACE(std::string(ArchiveFormatName(format)) + " cancelled at " + std::to_string(nth));
        int asked = 0;
        PackOptions options;
        options.format = format;
        options.force = true;
        options.cancelled = [&] { return ++asked >= nth; };
        const PackResult result = PackFolder(game, output, options);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.cancelled);
        EXPECT_EQ(errors(result), output + ": not written: the pack was cancelled\n");
        EXPECT_GE(asked, nth);
        EXPECT_EQ(tree.entries(), before);
    }
    EXPECT_EQ(tree.read("pak0.pak"), oldPak);
}

TEST_F(PackTest, anExistingOutputIsReplacedOnlyWithForce)
{
    const std::string output = tree.file("release.pk3", "an older release");
    const PackResult kept = pack(ArchiveFormat::Pk3, output);
    EXPECT_FALSE(kept.ok);
    EXPECT_EQ(errors(kept), output + ": already exists and is not replaced without force\n");
    EXPECT_EQ(tree.read("release.pk3"), "an older release");

    EXPECT_TRUE(pack(ArchiveFormat::Pk3, output, true).ok);
    EXPECT_EQ(ReadBack(output, ArchiveFormat::Pk3), expected);

    const PackResult folder = pack(ArchiveFormat::Pk3, tree.dir("a-folder.pk3"), true);
    EXPECT_EQ(errors(folder), tree.path("a-folder.pk3") + ": is a folder\n");
}

TEST_F(PackTest, nothingToPackIsRefused)
{
    const std::string empty = tree.dir("empty");
    tree.file("empty/maps/only.map", "{ }");
    tree.file("empty/.hidden", "x");
    PackOptions options;
    const PackResult result = PackFolder(empty, tree.path("empty.pak"), options);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(errors(result), empty + ": nothing to pack (the .map sources are left out)\n");
    EXPECT_FALSE(fs::exists(tree.path("empty.pak")));

    const PackResult missing = PackFolder(tree.path("missing"), tree.path("m.pak"), options);
    EXPECT_EQ(errors(missing), tree.path("missing") + ": cannot be read: No such file or directory\n");
}

TEST_F(PackTest, warnsAboutWhatTheOriginalEngineWouldNotLoad)
{
    for (int i = 0; i < 4096 - static_cast<int>(expected.size()) + 1; ++i)
        tree.file("game/many/" + std::to_string(i), "");
    std::vector<std::size_t> progress;
    PackOptions options;
    options.progress = [&progress](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 4097u);
        progress.push_back(done);
    };
    const PackResult result = PackFolder(game, tree.path("mymod.pak"), options);
    ASSERT_TRUE(result.ok) << errors(result);
    ASSERT_EQ(result.warnings.size(), 2u);
    EXPECT_EQ(result.warnings[0].text(),
              tree.path("mymod.pak") + ": 4097 entries; the original engine loads 4096 from one pak at most");
    EXPECT_EQ(result.warnings[1].text(), tree.path("mymod.pak") + ": the original engine loads only pak0.pak to pak9.pak");
    ASSERT_EQ(progress.size(), 4097u);
    EXPECT_EQ(progress.back(), 4097u);

    fs::remove_all(game + "/many");
    tree.file("game/pak1.pak", "an older pak");
    options.progress = {};
    const PackResult nested = PackFolder(game, tree.path("pak2.pak"), options);
    ASSERT_EQ(nested.warnings.size(), 1u);
    EXPECT_EQ(nested.warnings[0].text(), game + "/pak1.pak: an archive packed into the archive; the game does not look inside it");
}

}  // namespace
}  // namespace corvane
