#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "map/scan.h"
#include "support/error_of.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;

// A level whose first line is a comment and whose brushes start on line 1.
std::string Level(const std::string& faces)
{
    return "// Game: Quake 2\n{\n\"classname\" \"worldspawn\"\n{\n" + faces + "}\n}\n";
}

std::string Face(const std::string& texture)
{
    return "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) " + texture + " 0 0 0 1 1\n";
}

// Runs one scan over a text and gives the resulting resource list.
template <void (*Scan)(LoadedLevel&), ResourceList LoadedLevel::*List>
class ScanFixture : public ::testing::Test {
protected:
    Names scan(const std::string& text)
    {
        level.MapLines = LevelLines::FromText(text);
        Scan(level);
        return (level.*List).entries();
    }
    LoadedLevel level;
};

using TextureScan = ScanFixture<ScanTextures, &LoadedLevel::TextureList>;
using SoundScan = ScanFixture<ScanSounds, &LoadedLevel::SoundList>;

TEST_F(TextureScan, keepsCustomNamesOnceAndLeavesStockFoldersOut)
{
    const Names names = scan(Level(Face("mymap/wall1") + Face("mymap/wall1") + Face("e1u1/floor1_3")
                                   + Face("E1U1/floor1_3") + Face("e1u1x/wall") + Face("e3u3/x")
                                   + Face("e2u4/y") + Face("mymap/wall1")));
    // Only the first four characters are compared: e1u1x is stock too.
    EXPECT_EQ(names, (Names{"E1U1/floor1_3.wal", "e2u4/y.wal", "mymap/wall1.wal"}));
    EXPECT_EQ(level.listWals, names);
    EXPECT_EQ(level.lblWalCount, "3");
}

TEST_F(TextureScan, sortsByUnsignedBytesWithPrefixesFirst)
{
    const Names names = scan(Level(Face("b/x") + Face("a/y") + Face("B/z") + Face("a/y2")
                                   + Face("\xe9t\xe9/z") + Face("a.b/c") + Face("a/y.wal")));
    EXPECT_EQ(names, (Names{"B/z.wal", "a.b/c.wal", "a/y.wal", "a/y.wal.wal", "a/y2.wal", "b/x.wal",
                            "\xe9t\xe9/z.wal"}));
}

TEST_F(TextureScan, onlyStockTexturesShowThePlaceholderAndCountZero)
{
    EXPECT_TRUE(scan(Level(Face("e1u1/floor1_3") + Face("e2u2/sky1"))).empty());
    EXPECT_EQ(level.listWals, (Names{"No custom textures"}));
    EXPECT_EQ(level.lblWalCount, "0");
}

TEST_F(TextureScan, looksOnlyFromTheFirstBraceAfterLineZero)
{
    // Line 0 holds a brace but is never looked at; the face on line 1 comes
    // before the start line (2) and is not scanned.
    const std::string text = "{ first\n" + Face("early/face") + "{\n" + Face("late/face") + "}\n";
    EXPECT_EQ(scan(text), (Names{"late/face.wal"}));
}

TEST_F(TextureScan, failsWithoutABraceAfterTheFirstLineAndChangesNothing)
{
    level.TextureList.add("kept/one.wal");
    level.listWals = {"kept/one.wal"};
    level.lblWalCount = "1";
    for (const std::string& text : {std::string("{\n") + Face("a/b"), std::string(), std::string("{"),
                                   Face("a/b") + Face("c/d")}) {
        level.MapLines = LevelLines::FromText(text);
        EXPECT_EQ(test::ErrorOf([&] { ScanTextures(level); }), "List index out of bounds") << text;
        EXPECT_EQ(level.TextureList.entries(), (Names{"kept/one.wal"}));
        EXPECT_EQ(level.listWals, (Names{"kept/one.wal"}));
        EXPECT_EQ(level.lblWalCount, "1");
    }
}

TEST_F(TextureScan, linesWithoutAFaceAreSkipped)
{
    const Names names = scan(Level(
        "\"noise\" \"a/b.wav\"\n"                     // key lines, whatever they hold
        "( 0 0 0 ) x/quoted\" 0 0\n"                  // any double quote
        "/\n"                                         // shorter than 2 characters
        "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) trigger 0 0\n"  // no "/"
        "// brush 0\n"                                // nothing before the "/"
        "( 0 0 0 )\tnotab/blank\n"                    // no blank after the token start
        "( 0 0 0 ) ends/here\n"                       // the name ends the line
        "x/y\n"                                       // no blank at all
        + Face("ok/face")));
    EXPECT_EQ(names, (Names{"ok/face.wal"}));
}

TEST_F(TextureScan, commentsAreNotTextures)
{
    const Names names = scan(Level("{ //brush 0\n{ // brush 1\n{\t//brush 2 x\n( 0 0 0 ) e1u1/sky1 0 0 // old/name\n"
                                   + Face("real/one")));
    EXPECT_EQ(names, (Names{"real/one.wal"}));
}

TEST_F(TextureScan, tokenIsCutAtBlanksAndTrimmedOfControlCharacters)
{
    // Tabs belong to the token; trimming takes bytes of code 32 or less off
    // its ends, never bytes above 127.
    const Names names = scan(Level("( 0 0 0 ) \tpad/ded\x01\t 0 0\n"
                                   "( 0 0 0 )\tin/side\t0 0\n"
                                   "( 0 0 0 ) \xa0high/bytes\xff 0\n"));
    EXPECT_EQ(names, (Names{")\tin/side\t0.wal", "pad/ded.wal", "\xa0high/bytes\xff.wal"}));
}

TEST_F(TextureScan, repeatedScansSortTheWholeListAndAppendToTheListBox)
{
    scan(Level(Face("m/b") + Face("m/a")));
    EXPECT_EQ(level.listWals, (Names{"m/a.wal", "m/b.wal"}));
    scan(Level(Face("m/c") + Face("m/a") + Face("l/z")));
    EXPECT_EQ(level.TextureList.entries(), (Names{"l/z.wal", "m/a.wal", "m/b.wal", "m/c.wal"}));
    EXPECT_EQ(level.listWals,
              (Names{"m/a.wal", "m/b.wal", "l/z.wal", "m/a.wal", "m/b.wal", "m/c.wal"}));
    EXPECT_EQ(level.lblWalCount, "6");

    // A placeholder left from an earlier empty scan stays in the box and counts.
    LoadedLevel other;
    other.MapLines = LevelLines::FromText(Level(Face("e1u1/x")));
    ScanTextures(other);
    other.MapLines = LevelLines::FromText(Level(Face("n/one")));
    ScanTextures(other);
    EXPECT_EQ(other.listWals, (Names{"No custom textures", "n/one.wal"}));
    EXPECT_EQ(other.lblWalCount, "2");
}

TEST(TokenSearch, stopsAtTheLineEnds)
{
    EXPECT_EQ(FindTokenStart("ab/c", 2, ' '), kNoPosition);
    EXPECT_EQ(FindTokenStart("/abc", 0, ' '), kNoPosition);
    EXPECT_EQ(FindTokenStart(" /abc", 1, ' '), 1u);
    EXPECT_EQ(FindTokenStart("x y z/w", 5, ' '), 4u);
    EXPECT_EQ(FindTokenEnd("a/b", 0, ' '), kNoPosition);
    EXPECT_EQ(FindTokenEnd("a/b ", 0, ' '), 3u);
    EXPECT_EQ(FindTokenEnd("a", 0, ' '), kNoPosition);
    EXPECT_EQ(FindTokenEnd("", 0, ' '), kNoPosition);
    // The end search starts after the start position, so a delimiter there is passed over.
    EXPECT_EQ(FindTokenEnd("\"a\"", 0, '"'), 2u);
}

TEST_F(SoundScan, takesQuotedValuesOnNoiseLines)
{
    const Names names = scan(
        "\"noise\" \"mymap/drip.wav\"\n"   // line 0 is scanned too
        "{\n"
        "\"noise\" \"world/amb10.wav\"\n"
        "\"noise\" \"World/x.wav\"\n"
        "\"noise\" \"worlds/x.wav\"\n"
        "\"noise\" \"mymap/drip\"\n"
        "\"noise\" \"drip.wav\"\n"
        "\"noise2\" \"other/two.wav\"\n"
        "\"message\" \"a noise/b\"\n"
        "\"sound\" \"not/noisy.wav\"\n"
        "\"noise\" \"mymap/drip.wav\"\n"
        "\"noise\" \" pad/ded \"\n"
        "}\n");
    EXPECT_EQ(names, (Names{" pad/ded ", "World/x.wav", "a noise/b", "mymap/drip", "mymap/drip.wav",
                            "other/two.wav"}));
    EXPECT_EQ(level.listWavs, names);
    EXPECT_EQ(level.lblWavCount, "6");
}

TEST_F(SoundScan, linesWithoutQuotesAroundTheSlashAreSkipped)
{
    const Names names = scan("( 0 0 0 ) mymap/noise1 0 0\n"
                             "\"noise\" mymap/x\n"
                             "\"noise\" \"open/ended\n"
                             "noise \"a/b\"\n");
    EXPECT_EQ(names, (Names{"a/b"}));
}

TEST_F(SoundScan, onlyStockSoundsShowThePlaceholderAndCountZero)
{
    EXPECT_TRUE(scan("{\n\"noise\" \"world/amb10.wav\"\n}\n").empty());
    EXPECT_EQ(level.listWavs, (Names{"No custom wavs"}));
    EXPECT_EQ(level.lblWavCount, "0");
    // An empty level is no failure for the sound scan.
    EXPECT_TRUE(scan("").empty());
}

TEST(StockNames, compareTheirFirstCharactersExactly)
{
    EXPECT_TRUE(IsStockTexture("e1u1"));
    EXPECT_TRUE(IsStockTexture("e3u3/x.wal"));
    EXPECT_FALSE(IsStockTexture("e1u"));
    EXPECT_FALSE(IsStockTexture("e3u4/x.wal"));
    EXPECT_FALSE(IsStockTexture("E2U1/x.wal"));
    for (const char* stock : {"e1u1", "e1u2", "e1u3", "e1u4", "e2u1", "e2u2", "e2u3", "e3u1", "e3u2", "e3u3"})
        EXPECT_TRUE(IsStockTexture(std::string(stock) + "/a.wal")) << stock;
    for (const char* custom : {"e2u4", "e3u0", "e0u1", "e4u1", "e1v1", "f1u1", "e1u5", "e1u/"})
        EXPECT_FALSE(IsStockTexture(std::string(custom) + "/a.wal")) << custom;
    EXPECT_TRUE(IsStockSound("world"));
    EXPECT_TRUE(IsStockSound("worldly/x.wav"));
    EXPECT_FALSE(IsStockSound("worl"));
    EXPECT_FALSE(IsStockSound("WORLD/x.wav"));
}

}  // namespace
}  // namespace corvane
