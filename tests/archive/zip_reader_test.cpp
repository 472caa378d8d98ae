#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/archive_bytes.h"
#include "archive/zip_reader.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using test::ZipBytes;
using test::ZipItem;

std::vector<std::string> Problems(const ArchiveListing& listing)
{
    std::vector<std::string> problems;
    for (const ArchiveWarning& warning : listing.warnings)
        problems.push_back(warning.problem);
    return problems;
}

TEST(ZipReader, listsFilesButNotFoldersAndReadsThemFromFileAndMemory)
{
    test::TempTree tree;
    const std::string bytes = ZipBytes({{"textures/", ""}, {"textures/e1u1/floor1_3.wal", "floor"},
                                        {"pics/colormap.pcx", "palette"}});
    const std::string path = tree.file("pak0.pk3", bytes);
    auto check = [](ZipReader reader) {
        const ArchiveListing& listing = reader.listing();
        ASSERT_TRUE(listing.ok);
        EXPECT_TRUE(listing.warnings.empty());
        EXPECT_EQ(test::EntryNames(listing), (std::vector<std::string>{"textures/e1u1/floor1_3.wal", "pics/colormap.pcx"}));
        EXPECT_EQ(reader.read(listing.entries[0], 5).data, "floor");
        EXPECT_EQ(reader.read(listing.entries[1], 100).data, "palette");
        EXPECT_EQ(reader.read(listing.entries[1], 6).error,
                  "'pics/colormap.pcx' holds 7 bytes, more than the 6 allowed");
        EXPECT_FALSE(reader.read({"elsewhere.wal", 0, 5}, 100).ok) << "an entry of another listing";
    };
    check(ZipReader::Open(path));
    check(ZipReader::FromBytes(bytes, path));
}

TEST(ZipReader, leavesOutUnsafeNamesAndSizesThatCannotBeTrue)
{
    const std::string bytes = ZipBytes({
        {"../../.bashrc", "x"},
        {"/etc/passwd", "x"},
        {"textures\\a.wal", "x"},
        {"stored/liar.wal", "four", 4000u},
        {"odd/implode.wal", "x", std::nullopt, 6},
        {"good.wal", "fine"},
    });
    const ArchiveListing listing = ZipReader::FromBytes(bytes, "odd.pk3").listing();
    ASSERT_TRUE(listing.ok);
    EXPECT_EQ(test::EntryNames(listing), std::vector<std::string>{"good.wal"});
    EXPECT_EQ(Problems(listing), (std::vector<std::string>{
                                     "entry '../../.bashrc' left out: a '..' component in the name",
                                     "entry '/etc/passwd' left out: an absolute name",
                                     "entry 'textures\\a.wal' left out: a backslash in the name",
                                     "entry 'stored/liar.wal' left out: it is stored, but states 4000 bytes in 4",
                                     "entry 'odd/implode.wal' left out: compression method 6 cannot be read",
                                 }));
}

TEST(ZipReader, aBombsClaimsAreLeftOutAndItsTrueBytesAreCapped)
{
    // Deflate cannot give more than about a thousand bytes per byte: a
    // central directory that says otherwise is lying.
    // Both headers state the same size, or libzip finds them inconsistent.
    std::string claimed = test::DeflatedZeros("bomb.bin", 1 << 20);
    const std::string big("\xff\xff\xff\x7f", 4);
    claimed.replace(22, 4, big);
    const std::string::size_type central = claimed.find("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);
    claimed.replace(central + 24, 4, big);
    const ArchiveListing lying = ZipReader::FromBytes(claimed, "bomb.pk3").listing();
    EXPECT_TRUE(lying.entries.empty());
    ASSERT_EQ(lying.warnings.size(), 1u);
    EXPECT_NE(lying.warnings[0].problem.find("more than deflate can give"), std::string::npos)
        << lying.warnings[0].problem;

    // A mebibyte of zeros is a true claim, but a reader with a smaller cap
    // never inflates it.
    const std::string honest = test::DeflatedZeros("zeros.bin", 1 << 20);
    ZipReader reader = ZipReader::FromBytes(honest, "zeros.pk3");
    ASSERT_EQ(reader.listing().entries.size(), 1u);
    EXPECT_FALSE(reader.read(reader.listing().entries[0], 4096).ok);
    EXPECT_EQ(reader.read(reader.listing().entries[0], 1 << 20).data, std::string(1 << 20, '\0'));
}

TEST(ZipReader, aClaimOfGigabytesCostsOnlyTheBytesThatArrive)
{
    // bzip2 can give any size from a few bytes, so its claims are not
    // checked; a reader with no cap must still not allocate what is claimed.
    ZipReader reader =
        ZipReader::FromBytes(ZipBytes({{"huge.bin", "BZh91AY&SY not really", 0xfffffff0u, 12}}), "bz.pk3");
    ASSERT_EQ(reader.listing().entries.size(), 1u);
    EXPECT_EQ(reader.listing().entries[0].size, 0xfffffff0u);
    const EntryBytes read = reader.read(reader.listing().entries[0], UINT64_MAX);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error.rfind("'huge.bin' cannot be read: ", 0), 0u) << read.error;
}

TEST(ZipReader, damagedDataIsAnErrorNotBytes)
{
    ZipReader reader = ZipReader::FromBytes(ZipBytes({{"bad.wal", "data", std::nullopt, std::nullopt, true}}),
                                            "crc.pk3");
    ASSERT_EQ(reader.listing().entries.size(), 1u);
    const EntryBytes bad = reader.read(reader.listing().entries[0], 100);
    EXPECT_FALSE(bad.ok);
    EXPECT_TRUE(bad.data.empty());
    EXPECT_EQ(bad.error, "'bad.wal' cannot be read: CRC error");
}

TEST(ZipReader, refusesArchivesWhoseDirectoryCannotBeTrue)
{
    auto refusal = [](const std::string& bytes) {
        const ArchiveListing listing = ZipReader::FromBytes(bytes, "bad.pk3").listing();
        EXPECT_FALSE(listing.ok);
        EXPECT_TRUE(listing.entries.empty());
        return listing.warnings.size() == 1 ? listing.warnings[0].text() : "(warnings: " +
                                                                              std::to_string(listing.warnings.size()) + ")";
    };
    const std::string sound = ZipBytes({{"a.wal", std::string(300, 'a')}, {"b.wal", "b"}});
    EXPECT_EQ(refusal(sound.substr(0, sound.size() / 2)), "bad.pk3: not a readable zip: Not a zip archive");
    std::string shifted = sound;
    shifted.replace(shifted.find("PK\x01\x02") + 42, 1, "\x10");  // where the first entry begins
    EXPECT_EQ(refusal(shifted), "bad.pk3: not a readable zip: Not a zip archive");

    // An end record that claims 65,535 entries in a 100-byte directory, and
    // its zip64 form claiming 2^40 entries.
    EXPECT_EQ(refusal(std::string(100, '\0') + test::ZipEnd(0xffff, 100, 0, false)),
              "bad.pk3: not a readable zip: Not a zip archive");
    const std::string huge = std::string(100, '\0') + test::ZipEnd(std::uint64_t{1} << 40, 100, 0, true);
    EXPECT_EQ(refusal(huge), "bad.pk3: not a readable zip: Zip archive inconsistent");
}

TEST(ZipReader, refusesMoreEntriesThanTheLimit)
{
    std::vector<ZipItem> items;
    for (std::size_t i = 0; i <= kMaxArchiveEntries; ++i)
        items.push_back({std::to_string(i), ""});
    const ArchiveListing listing = ZipReader::FromBytes(ZipBytes(items), "many.pk3").listing();
    EXPECT_FALSE(listing.ok);
    ASSERT_EQ(listing.warnings.size(), 1u);
    EXPECT_EQ(listing.warnings[0].problem, "refused: the central directory lists 65537 entries, more than 65536");
}

}  // namespace
}  // namespace corvane
