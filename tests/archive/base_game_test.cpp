#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include "archive/archive_bytes.h"
#include "archive/base_game.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::PakBytes;
using test::ZipBytes;

std::vector<std::string> Names(const BaseGameIndex& index)
{
    std::vector<std::string> names;
    for (const BaseGameFile* file : index.Files())
        names.push_back(file->name);
    return names;
}

std::vector<std::string> Texts(const std::vector<ArchiveWarning>& warnings)
{
    std::vector<std::string> texts;
    for (const ArchiveWarning& warning : warnings)
        texts.push_back(warning.text());
    return texts;
}

// A base game as an installation has it: paks, a zip of a later patch, and a
// few loose files, names written in more than one case.
class BaseGameTest : public ::testing::Test {
protected:
    test::TempTree tree;
    std::string base = tree.dir("baseq2");

    void SetUp() override
    {
        tree.file("baseq2/pak0.pak", PakBytes({{"pics/colormap.pcx", "pak0 palette"},
                                                {"textures/e1u1/floor1_3.wal", "pak0 floor"},
                                                {"sound/world/amb10.wav", "pak0 amb"},
                                                {"textures/e1u1/only0.wal", "pak0 only"}}));
        tree.file("baseq2/PAK1.PAK", PakBytes({{"textures/e1u1/floor1_3.wal", "pak1 floor"},
                                                {"sound/world/amb10.wav", "pak1 amb"}}));
        tree.file("baseq2/pak10.pak", PakBytes({{"sound/world/amb10.wav", "pak10 amb"}}));
        tree.file("baseq2/pak_extra.pak", PakBytes({{"pics/colormap.pcx", "extra palette"},
                                                    {"extra.txt", "extra"}}));
        tree.file("baseq2/patch.pk3", ZipBytes({{"Textures/E1U2/BASIC1_7.WAL", "zip basic"},
                                                {"sound/world/amb10.wav", "zip amb"}}));
        tree.file("baseq2/a_first.pkz", ZipBytes({{"sound/world/amb10.wav", "pkz amb"},
                                                  {"env/unit1_bk.tga", "pkz sky"}}));
        tree.file("baseq2/sound/world/amb10.wav", "loose amb");
        tree.file("baseq2/models/old/pak5.pak", "not read: archives below are loose files");
        tree.file("baseq2/config.cfg", "bind x y");
    }
};

TEST_F(BaseGameTest, indexesLooseFilesAndEveryArchiveByNameIgnoringCase)
{
    const BaseGameIndex index = BaseGameIndex::Load(base);
    ASSERT_TRUE(index.ok());
    EXPECT_TRUE(index.warnings().empty()) << Texts(index.warnings()).front();
    EXPECT_EQ(Names(index), (std::vector<std::string>{
                                "Textures/E1U2/BASIC1_7.WAL", "config.cfg", "env/unit1_bk.tga", "extra.txt",
                                "models/old/pak5.pak", "pics/colormap.pcx", "sound/world/amb10.wav",
                                "textures/e1u1/floor1_3.wal", "textures/e1u1/only0.wal"}));
    EXPECT_TRUE(index.Contains("textures/e1u2/basic1_7.wal"));
    EXPECT_TRUE(index.Contains("TEXTURES/E1U1/FLOOR1_3.WAL"));
    EXPECT_TRUE(index.Contains("Sound/World/Amb10.wav"));
    EXPECT_FALSE(index.Contains("textures/e1u1/floor1_3"));
    EXPECT_FALSE(index.Contains("pak0.pak")) << "archives are read, not listed";
    EXPECT_FALSE(index.Contains("textures\\e1u1\\floor1_3.wal"));
    EXPECT_EQ(index.looseFiles(), 3u);
}

TEST_F(BaseGameTest, theFileTheGameLoadsWins)
{
    const BaseGameIndex index = BaseGameIndex::Load(base);
    auto read = [&index](const std::string& name) { return index.Read(name, 1024).data; };
    EXPECT_EQ(read("sound/world/amb10.wav"), "loose amb");
    EXPECT_EQ(read("textures/e1u1/floor1_3.wal"), "pak1 floor") << "pak1 over pak0";
    EXPECT_EQ(read("PICS/COLORMAP.PCX"), "pak0 palette") << "a numbered pak over another pak";
    EXPECT_EQ(read("textures/e1u1/only0.wal"), "pak0 only");
    EXPECT_EQ(read("textures/e1u2/basic1_7.wal"), "zip basic");
    EXPECT_EQ(read("extra.txt"), "extra");

    fs::remove(tree.path("baseq2/sound/world/amb10.wav"));
    const BaseGameIndex noLoose = BaseGameIndex::Load(base);
    EXPECT_EQ(noLoose.Read("sound/world/amb10.wav", 1024).data, "zip amb") << "the last zip by name first";
    fs::remove(tree.path("baseq2/patch.pk3"));
    fs::remove(tree.path("baseq2/a_first.pkz"));
    EXPECT_EQ(BaseGameIndex::Load(base).Read("sound/world/amb10.wav", 1024).data, "pak10 amb")
        << "pak10 over pak1 by number, not by name";

    std::vector<std::string> order;
    for (const BaseGameArchive& archive : noLoose.archives())
        order.push_back(fs::path(archive.path).filename().string());
    EXPECT_EQ(order, (std::vector<std::string>{"patch.pk3", "a_first.pkz", "pak10.pak", "PAK1.PAK", "pak0.pak",
                                               "pak_extra.pak"}));
    EXPECT_EQ(noLoose.archives()[0].listed, 2u);
    EXPECT_EQ(noLoose.archives()[1].taken, 1u) << "its amb10.wav was found in patch.pk3 first";

    const EntryBytes big = index.Read("textures/e1u1/floor1_3.wal", 4);
    EXPECT_FALSE(big.ok);
    EXPECT_EQ(big.error, tree.path("baseq2/PAK1.PAK") +
                             ": 'textures/e1u1/floor1_3.wal' holds 10 bytes, more than the 4 allowed");
    EXPECT_EQ(index.Read("nowhere.wal", 10).error, "'nowhere.wal' is not in the base game " + base);
}

TEST_F(BaseGameTest, damagedArchivesAreLeftOutAndNamed)
{
    tree.file("baseq2/pak2.pak", std::string("PACK\x0c\0\0\0\x40\0\0\0", 12));
    tree.file("baseq2/broken.pk3", ZipBytes({{"a.wal", "a"}}).substr(0, 20));
    tree.file("baseq2/pak3.pak", PakBytes({{"../../../etc/shadow", "x"}, {"textures/ok.wal", "ok"}}));
    const BaseGameIndex index = BaseGameIndex::Load(base);
    ASSERT_TRUE(index.ok());
    EXPECT_EQ(Texts(index.warnings()),
              (std::vector<std::string>{
                  tree.path("baseq2/broken.pk3") + ": not a readable zip: Not a zip archive",
                  tree.path("baseq2/pak3.pak") + ": entry '../../../etc/shadow' left out: a '..' component in the name",
                  tree.path("baseq2/pak2.pak") +
                      ": damaged pak: the directory (bytes 12 to 76) lies beyond the end of the file (12 bytes)",
              }));
    EXPECT_TRUE(index.Contains("textures/ok.wal"));
    EXPECT_TRUE(index.Contains("pics/colormap.pcx"));
    const auto refused = std::count_if(index.archives().begin(), index.archives().end(),
                                       [](const BaseGameArchive& archive) { return archive.refused; });
    EXPECT_EQ(refused, 2);
}

TEST_F(BaseGameTest, linksAndSpecialFilesAreNeverFollowedOrOpened)
{
    const std::string outside = tree.file("outside/secret.wal", "secret");
    tree.file("outside/pak0.pak", PakBytes({{"secret/in_pak.wal", "x"}}));
    fs::create_symlink(tree.path("outside"), tree.path("baseq2/textures"));
    fs::create_symlink(outside, tree.path("baseq2/linked.wal"));
    fs::create_symlink(tree.path("outside/pak0.pak"), tree.path("baseq2/pak4.pak"));
    ASSERT_EQ(::mkfifo(tree.path("baseq2/pak7.pak").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(tree.path("baseq2/fifo.wav").c_str(), 0644), 0);

    const BaseGameIndex index = BaseGameIndex::Load(base);
    ASSERT_TRUE(index.ok());
    EXPECT_FALSE(index.Contains("textures/secret.wal"));
    EXPECT_FALSE(index.Contains("linked.wal"));
    EXPECT_FALSE(index.Contains("secret/in_pak.wal"));
    EXPECT_FALSE(index.Contains("fifo.wav"));
    EXPECT_EQ(Texts(index.warnings()), (std::vector<std::string>{
                                           base + "/fifo.wav: not a regular file, left out",
                                           base + "/linked.wal: a link, not followed",
                                           base + "/pak4.pak: a link, not followed",
                                           base + "/pak7.pak: not a regular file, left out",
                                           base + "/textures: a link, not followed",
                                       }));
    // Swapped for a link after the index was made, a loose file is not read through it.
    fs::remove(tree.path("baseq2/config.cfg"));
    fs::create_symlink(outside, tree.path("baseq2/config.cfg"));
    EXPECT_EQ(index.Read("config.cfg", 100).error, base + "/config.cfg: a link, not followed");
}

TEST_F(BaseGameTest, isCurrentUntilTheFolderOrAnArchiveChanges)
{
    BaseGameCache cache;
    const auto first = cache.Get(base);
    EXPECT_TRUE(first->IsCurrent());
    EXPECT_EQ(cache.Get(base), first) << "kept while current";

    // A new loose file deep below.
    tree.file("baseq2/sound/world/new.wav", "new");
    EXPECT_FALSE(first->IsCurrent());
    const auto second = cache.Get(base);
    EXPECT_NE(second, first);
    EXPECT_TRUE(second->Contains("sound/world/new.wav"));

    // An archive rewritten with the same size and an older time.
    const fs::path pak = tree.path("baseq2/pak0.pak");
    const auto time = fs::last_write_time(pak);
    tree.file("baseq2/pak0.pak", PakBytes({{"pics/colormap.pcx", "pak0 PALETTE"},
                                            {"textures/e1u1/floor1_3.wal", "pak0 floor"},
                                            {"sound/world/amb10.wav", "pak0 amb"},
                                            {"textures/e1u1/only0.wal", "pak0 only"}}));
    fs::last_write_time(pak, time - std::chrono::seconds(10));
    EXPECT_FALSE(second->IsCurrent());
    EXPECT_EQ(second->Read("pics/colormap.pcx", 100).error,
              pak.string() + ": changed since the base game was read");
    EXPECT_EQ(cache.Get(base)->Read("pics/colormap.pcx", 100).data, "pak0 PALETTE");

    // Another folder, and a folder that is not there.
    EXPECT_EQ(cache.Get(tree.dir("other"))->size(), 0u);
    const auto missing = cache.Get(tree.path("missing"));
    EXPECT_FALSE(missing->ok());
    EXPECT_EQ(Texts(missing->warnings()),
              std::vector<std::string>{tree.path("missing") + ": cannot be read: No such file or directory"});
    EXPECT_TRUE(missing->IsCurrent());
    tree.dir("missing");
    EXPECT_FALSE(missing->IsCurrent());
}

}  // namespace
}  // namespace corvane
