#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "archive/archive_bytes.h"
#include "archive/pak_reader.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using test::PakBytes;
using test::PakItem;

// The one warning of a refused pak.
std::string Refusal(const std::string& bytes)
{
    const PakReader reader = PakReader::FromBytes(bytes, "bad.pak");
    EXPECT_FALSE(reader.listing().ok);
    EXPECT_TRUE(reader.listing().entries.empty());
    if (reader.listing().warnings.size() != 1)
        return "(" + std::to_string(reader.listing().warnings.size()) + " warnings)";
    EXPECT_EQ(reader.listing().warnings[0].file, "bad.pak");
    return reader.listing().warnings[0].problem;
}

std::string Header(std::int64_t offset, std::int64_t length)
{
    std::string pak = "PACK";
    test::PutLe(pak, static_cast<std::uint64_t>(offset), 4);
    test::PutLe(pak, static_cast<std::uint64_t>(length), 4);
    return pak;
}

TEST(PakReader, listsEntriesAndReadsTheirBytesFromFileAndMemory)
{
    test::TempTree tree;
    const std::string bytes = PakBytes({{"pics/colormap.pcx", "palette"},
                                        {"textures/e1u1/floor1_3.wal", "floor"},
                                        {"sound/world/empty.wav", ""}});
    const std::string path = tree.file("pak0.pak", bytes);
    auto check = [](const PakReader& reader) {
        const ArchiveListing& listing = reader.listing();
        ASSERT_TRUE(listing.ok);
        EXPECT_TRUE(listing.warnings.empty());
        EXPECT_EQ(test::EntryNames(listing), (std::vector<std::string>{"pics/colormap.pcx", "textures/e1u1/floor1_3.wal",
                                                            "sound/world/empty.wav"}));
        EXPECT_EQ(listing.entries[1].offset, 12u + 7u);
        EXPECT_EQ(listing.entries[1].size, 5u);
        EXPECT_EQ(reader.read(listing.entries[0], 100).data, "palette");
        EXPECT_EQ(reader.read(listing.entries[1], 5).data, "floor");
        EXPECT_TRUE(reader.read(listing.entries[2], 0).ok);

        const EntryBytes tooBig = reader.read(listing.entries[0], 6);
        EXPECT_FALSE(tooBig.ok);
        EXPECT_EQ(tooBig.error, "'pics/colormap.pcx' holds 7 bytes, more than the 6 allowed");
    };
    check(PakReader::Open(path));
    check(PakReader::FromBytes(bytes, path));
    EXPECT_TRUE(PakReader::FromBytes(Header(12, 0), "empty.pak").listing().ok) << "an empty pak is sound";
}

TEST(PakReader, refusesHeadersAndDirectoriesThatCannotBeRight)
{
    EXPECT_EQ(Refusal("PACK"), "not a pak: 4 bytes, too short for its header");
    EXPECT_EQ(Refusal("PK\x03\x04" + std::string(20, '\0')), "not a pak: it does not begin with PACK");
    EXPECT_EQ(Refusal(Header(-12, 64)), "damaged pak: the directory has a negative offset or length (-12, 64)");
    EXPECT_EQ(Refusal(Header(12, -64)), "damaged pak: the directory has a negative offset or length (12, -64)");
    EXPECT_EQ(Refusal(Header(12, 65) + std::string(65, 'x')),
              "damaged pak: the directory's length 65 is not a multiple of 64");
    EXPECT_EQ(Refusal(Header(12, 640) + std::string(64, 'x')),
              "damaged pak: the directory (bytes 12 to 652) lies beyond the end of the file (76 bytes)");
    // Offset and length that only overflow together.
    EXPECT_EQ(Refusal(Header(0x7fffffff, 0x7fffffc0)),
              "damaged pak: the directory (bytes 2147483647 to 4294967231) lies beyond the end of the file "
              "(12 bytes)");

    // A real directory of 100,000 entries, all of them sound.
    std::string many = Header(12, 100000 * 64);
    for (int i = 0; i < 100000; ++i) {
        std::string name = "f" + std::to_string(i);
        name.resize(56, '\0');
        many += name + std::string(8, '\0');
    }
    EXPECT_EQ(Refusal(many), "refused: the directory lists 100000 entries, more than 65536");
}

TEST(PakReader, leavesOutEntriesThatCannotBeUsedAndKeepsTheRest)
{
    const std::string noEnd(56, 'n');
    const std::string bytes = PakBytes({
        {"good/first.wal", "1"},
        {noEnd, "x"},
        {"../../etc/passwd", "x"},
        {"/etc/passwd", "x"},
        {"textures\\e1u1\\a.wal", "x"},
        {"c:/autoexec.cfg", "x"},
        {"maps/./x.bsp", "x"},
        {"a\x1b[2Jb", "x"},
        {"negative", "x", -5, std::nullopt},
        {"beyond", "x", std::nullopt, 1000},
        {"good/last.wal", "2"},
    });
    const PakReader reader = PakReader::FromBytes(bytes, "odd.pak");
    const ArchiveListing& listing = reader.listing();
    ASSERT_TRUE(listing.ok);
    EXPECT_EQ(test::EntryNames(listing), (std::vector<std::string>{"good/first.wal", "good/last.wal"}));
    EXPECT_EQ(reader.read(listing.entries[1], 10).data, "2");
    std::vector<std::string> problems;
    for (const ArchiveWarning& warning : listing.warnings) {
        EXPECT_EQ(warning.file, "odd.pak");
        problems.push_back(warning.problem);
    }
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "entry '" + noEnd + "' left out: its name does not end within 56 bytes",
                            "entry '../../etc/passwd' left out: a '..' component in the name",
                            "entry '/etc/passwd' left out: an absolute name",
                            "entry 'textures\\e1u1\\a.wal' left out: a backslash in the name",
                            "entry 'c:/autoexec.cfg' left out: a drive in the name",
                            "entry 'maps/./x.bsp' left out: an empty or '.' component in the name",
                            "entry 'a\\x1B[2Jb' left out: a control character in the name",
                            "entry 'negative' left out: a negative offset or length",
                            "entry 'beyond' left out: its bytes (bytes 21 to 1021) lie beyond the end of the file",
                        }));
}

TEST(PakReader, manyBadEntriesGiveTenWarningsAndACount)
{
    std::vector<PakItem> items;
    for (int i = 0; i < 500; ++i)
        items.push_back({"../x" + std::to_string(i), "x"});
    items.push_back({"ok", "y"});
    const ArchiveListing listing = PakReader::FromBytes(PakBytes(items), "flood.pak").listing();
    ASSERT_TRUE(listing.ok);
    EXPECT_EQ(listing.entries.size(), 1u);
    ASSERT_EQ(listing.warnings.size(), 11u);
    EXPECT_EQ(listing.warnings.back().text(), "flood.pak: 490 more entries left out");
}

TEST(PakReader, filesThatAreNotPlainOrShrinkAreRefusedWithoutWaiting)
{
    test::TempTree tree;
    const std::string fifo = tree.path("pak1.pak");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(PakReader::Open(fifo).listing().warnings.at(0).text(),
              fifo + ": cannot be read: not a regular file");
    EXPECT_EQ(PakReader::Open(tree.dir("pak2.pak")).listing().warnings.at(0).problem,
              "cannot be read: a folder, not a file");
    EXPECT_EQ(PakReader::Open(tree.path("none.pak")).listing().warnings.at(0).problem,
              "cannot be read: No such file or directory");

    const std::string real = tree.file("real.pak", PakBytes({{"a", "abc"}}));
    std::filesystem::create_symlink(real, tree.path("pak3.pak"));
    EXPECT_TRUE(PakReader::Open(tree.path("pak3.pak")).listing().ok);
    EXPECT_EQ(PakReader::Open(tree.path("pak3.pak"), Links::Refuse).listing().warnings.at(0).problem,
              "cannot be read: a link, not followed");

    // The file is cut after its directory was read.
    const PakReader reader = PakReader::Open(real);
    ASSERT_EQ(reader.listing().entries.size(), 1u);
    std::filesystem::resize_file(real, 13);
    const EntryBytes cut = reader.read(reader.listing().entries[0], 100);
    EXPECT_FALSE(cut.ok);
    EXPECT_EQ(cut.error, "the file ends early");
    EXPECT_TRUE(cut.data.empty());
}

}  // namespace
}  // namespace corvane
