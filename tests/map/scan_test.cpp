#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "map/scan.h"
#include "ui/level_model.h"
#include "support/error_of.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;
using ui::kNoCustomTextures;
using ui::kNoCustomWavs;
using ui::WindowLevel;

// A scan as the window shows it: the scan, then the list box it fills.
void ScanAndShowTextures(WindowLevel& level)
{
    ScanTextures(level);
    ui::ShowTextureScan(level);
}

void ScanAndShowSounds(WindowLevel& level)
{
    ScanSounds(level);
    ui::ShowSoundScan(level);
}

// Both scans in one pass, as a load does, and then both lists shown.
void ScanAndShowBoth(WindowLevel& level)
{
    ScanTexturesAndSounds(level);
    ui::ShowTextureScan(level);
    ui::ShowSoundScan(level);
}

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
template <void (*Scan)(WindowLevel&), ResourceList LoadedLevel::*List>
class ScanFixture : public ::testing::Test {
protected:
    Names scan(const std::string& text)
    {
        level.MapLines = LevelLines::FromText(text);
        Scan(level);
        return (level.*List).entries();
    }
    WindowLevel level;
};

using TextureScan = ScanFixture<ScanAndShowTextures, &LoadedLevel::TextureList>;
using SoundScan = ScanFixture<ScanAndShowSounds, &LoadedLevel::SoundList>;

TEST_F(TextureScan, keepsCustomNamesOnceAndLeavesStockFoldersOut)
{
    const Names names = scan(Level(Face("mymap/wall1") + Face("mymap/wall1") + Face("e1u1/floor1_3")
                                   + Face("E1U1/floor1_3") + Face("e1u1x/wall") + Face("e3u3/x")
                                   + Face("e2u4/y") + Face("mymap/wall1")));
    // Only the first four characters are compared: e1u1x is stock too.
    EXPECT_EQ(names, (Names{"E1U1/floor1_3.wal", "e2u4/y.wal", "mymap/wall1.wal"}));
    EXPECT_EQ(level.StockTextures.entries(), (Names{"e1u1/floor1_3.wal", "e1u1x/wall.wal", "e3u3/x.wal"}));
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
        EXPECT_EQ(test::ErrorOf([&] { ScanAndShowTextures(level); }), "List index out of bounds") << text;
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
    WindowLevel other;
    other.MapLines = LevelLines::FromText(Level(Face("e1u1/x")));
    ScanAndShowTextures(other);
    other.MapLines = LevelLines::FromText(Level(Face("n/one")));
    ScanAndShowTextures(other);
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
    EXPECT_EQ(level.StockSounds.entries(), (Names{"world/amb10.wav", "worlds/x.wav"}));
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

// The scans as the rules read them, line by line: every line searched on its
// own, each name looked for from the last entry back, and an exchange sort.
// The real scans reach the same lists by quicker ways (one search through the
// whole text, an index, a library sort); these cases hold them to the same
// results, byte for byte.
namespace reference {

bool SortsBefore(const std::string& a, const std::string& b)
{
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

void ExchangeSort(Names& names)
{
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        for (std::size_t j = i + 1; j < names.size(); ++j) {
            if (SortsBefore(names[j], names[i]))
                std::swap(names[i], names[j]);
        }
    }
}

bool HeldFromTheLast(const Names& list, const std::string& name)
{
    for (std::size_t i = list.size(); i-- > 0;) {
        if (list[i] == name)
            return true;
    }
    return false;
}

struct Lists {
    Names textures, sounds, listWals, listWavs;
    Names stockTextures, stockSounds;  // what the scans set aside as the game's own
    std::string walCount, wavCount;
};

void Show(const Names& list, Names& listBox, std::string& count, const char* placeholder)
{
    listBox.insert(listBox.end(), list.begin(), list.end());
    count = std::to_string(listBox.size());
    if (listBox.empty())
        listBox.emplace_back(placeholder);
}

// The token that holds a line's first "/", cut at `delimiter` on both sides;
// false when the line has no such token.
bool TokenAroundTheFirstSlash(const std::string& line, char delimiter, std::string& token)
{
    const std::size_t slash = line.find('/');
    if (slash == std::string::npos)
        return false;
    const std::size_t s = FindTokenStart(line, slash, delimiter);
    if (s == kNoPosition)
        return false;
    const std::size_t e = FindTokenEnd(line, s, delimiter);
    if (e == kNoPosition)
        return false;
    token = line.substr(s, e - s);
    return true;
}

// False when the texture scan fails for want of a "{" after the first line.
bool ScanTextures(const Names& lines, Lists& lists)
{
    std::size_t start = 1;
    while (start < lines.size() && lines[start].find('{') == std::string::npos)
        ++start;
    if (start >= lines.size())
        return false;
    for (std::size_t i = start; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.find('"') != std::string::npos || line.size() < 2)
            continue;
        std::string token;
        if (!TokenAroundTheFirstSlash(line, ' ', token))
            continue;
        while (!token.empty() && static_cast<unsigned char>(token.front()) <= 32)
            token.erase(0, 1);
        while (!token.empty() && static_cast<unsigned char>(token.back()) <= 32)
            token.pop_back();
        if (token.starts_with("//"))
            continue;
        const std::string name = token + ".wal";
        Names& list = IsStockTexture(name) ? lists.stockTextures : lists.textures;
        if (!HeldFromTheLast(list, name))
            list.push_back(name);
    }
    ExchangeSort(lists.textures);
    ExchangeSort(lists.stockTextures);
    Show(lists.textures, lists.listWals, lists.walCount, kNoCustomTextures);
    return true;
}

void ScanSounds(const Names& lines, Lists& lists)
{
    for (const std::string& line : lines) {
        std::string name;
        if (line.find("noise") == std::string::npos || !TokenAroundTheFirstSlash(line, '"', name))
            continue;
        Names& list = IsStockSound(name) ? lists.stockSounds : lists.sounds;
        if (!HeldFromTheLast(list, name))
            list.push_back(name);
    }
    ExchangeSort(lists.sounds);
    ExchangeSort(lists.stockSounds);
    Show(lists.sounds, lists.listWavs, lists.wavCount, kNoCustomWavs);
}

}  // namespace reference

// Levels made of pieces that sit on the edges of the rules: quotes, "noise"
// in keys, values and texture names, stock and near-stock folders, tabs,
// controls, bytes above 127, comments, the three kinds of line break.
class RandomLevel {
public:
    explicit RandomLevel(unsigned seed, std::size_t names) : random_(seed), names_(names) {}

    std::string make(std::size_t lines)
    {
        std::string text = pick({"// Game\n", "{\n", "", "\"noise\" \"first/line.wav\"\n"});
        for (std::size_t i = 0; i < lines; ++i) {
            text += piece();
            // The last line ends the text without a break now and then.
            if (i + 1 < lines || random_() % 2)
                text += pick({"\n", "\n", "\n", "\r\n", "\r"});
        }
        return text;
    }

private:
    std::string pick(std::initializer_list<const char*> choices)
    {
        return *(choices.begin() + static_cast<std::ptrdiff_t>(random_() % choices.size()));
    }

    std::string name()
    {
        if (random_() % 3 == 0) {
            return pick({"a/b", "a/B", "A/b", "a/b.wal", "a.b/c", "a/", "e1u1/x", "e1u1x/y", "E1U1/z",
                         "e2u4/w", "e3u3/q", "\xe9t\xe9/z", "\xff/z", "w/noise1", "world/t", "/lead",
                         "a_folder_name_longer_than_sixteen_bytes/x",
                         "a/b\x01", "\x02pre/fix", "deep/er/name", "tab\t/x", "x/y\"z"});
        }
        // Many names that share long prefixes, so that lookups compare them.
        return "folder" + std::to_string(random_() % 7) + "/texture_with_a_long_name_" +
               std::to_string(random_() % names_);
    }

    std::string piece()
    {
        switch (random_() % 14) {
        case 0:
            return pick({"{", "}", "{ // brush", "// brush 0", "//x/y", "", " ", "x", "noi", "se"});
        case 1:
            return "\"noise\" \"" + name() + "\"";
        case 2:
            return pick({"\"noise2\" \"", "\"message\" \"a noise/", "\"sound\" \"", "noise \"",
                         "\"noise\" "}) +
                   name() + pick({"\"", "", "\" \"x\"", " "});
        case 3:
            return pick({"\"classname\" \"light\"", "\"sky\" \"unit1_\"", "\"_tb_textures\" \"a/b;c/d\""});
        case 4:
            return "( 0 0 0 )\t" + name() + " 0 0";
        case 5:
            return pick({"( 0 0 0 ) ", " ", "x "}) + name();
        case 6:
            // Two names on a face, a quote at its end, and near misses of "noise".
            return pick({"( 0 0 0 ) ", "x "}) + name() + " " + name() + pick({"", " 0", " \"", "\""});
        case 7:
            return pick({"\"noice\" \"", "\"nois \" \"", "\"nOise\" \"", "\"noisy\" \"", "n\"noise\" \""}) +
                   name() + "\"";
        default:
            return "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) " + name() + pick({" 0 0 0 1 1", " 0\t0", "  0 0 0"});
        }
    }

    std::mt19937 random_;
    std::size_t names_;
};

Names LinesOf(const LevelLines& lines)
{
    Names out;
    for (std::size_t i = 0; i < lines.size(); ++i)
        out.emplace_back(lines[i]);
    return out;
}

void ExpectSameLists(const WindowLevel& level, const reference::Lists& want, const std::string& context)
{
    EXPECT_EQ(level.TextureList.entries(), want.textures) << context;
    EXPECT_EQ(level.SoundList.entries(), want.sounds) << context;
    EXPECT_EQ(level.StockTextures.entries(), want.stockTextures) << context;
    EXPECT_EQ(level.StockSounds.entries(), want.stockSounds) << context;
    EXPECT_EQ(level.listWals, want.listWals) << context;
    EXPECT_EQ(level.listWavs, want.listWavs) << context;
    EXPECT_EQ(level.lblWalCount, want.walCount) << context;
    EXPECT_EQ(level.lblWavCount, want.wavCount) << context;
}

TEST(ScansAgainstTheRules, giveTheSameListsOnLevelsMadeOfEdgeCases)
{
    for (unsigned seed = 1; seed <= 150; ++seed) {
        RandomLevel random(seed, 40);
        WindowLevel level;
        WindowLevel together;  // both scans in one pass, as a load does
        reference::Lists want;
        // Three loads into the same lists, as pooling does: the lists grow.
        for (int load = 0; load < 3; ++load) {
            const std::string text = random.make(seed % 5 == 0 ? 3 : 120);
            level.MapLines = LevelLines::FromText(text);
            together.MapLines = level.MapLines;
            const Names lines = LinesOf(level.MapLines);
            const std::string context = "seed " + std::to_string(seed) + ", load " + std::to_string(load);
            if (!reference::ScanTextures(lines, want)) {
                EXPECT_EQ(test::ErrorOf([&] { ScanAndShowTextures(level); }), kListIndexOutOfBounds) << context;
                EXPECT_EQ(test::ErrorOf([&] { ScanAndShowBoth(together); }), kListIndexOutOfBounds) << context;
                ExpectSameLists(level, want, context);
                ExpectSameLists(together, want, context);
                continue;
            }
            ScanAndShowTextures(level);
            reference::ScanSounds(lines, want);
            ScanAndShowSounds(level);
            ScanAndShowBoth(together);
            ExpectSameLists(level, want, context);
            ExpectSameLists(together, want, context + ", in one pass");
        }
    }
}

TEST(ScansAgainstTheRules, giveTheSameListsWithThousandsOfNames)
{
    RandomLevel random(7, 1000);
    WindowLevel level;
    reference::Lists want;
    for (int load = 0; load < 2; ++load) {
        level.MapLines = LevelLines::FromText("{\n" + random.make(5000));
        const Names lines = LinesOf(level.MapLines);
        ASSERT_TRUE(reference::ScanTextures(lines, want));
        reference::ScanSounds(lines, want);
        ScanAndShowTextures(level);
        ScanAndShowSounds(level);
        ExpectSameLists(level, want, "load " + std::to_string(load));
    }
    EXPECT_GT(want.textures.size(), 1500u);
    EXPECT_GT(want.sounds.size(), 300u);
}

TEST(ScansAgainstTheRules, findEveryNameOfALevelScannedInHalves)
{
    // More than 8 MiB, which is scanned in two halves at once: every face and
    // every tenth line have names of their own, so a line lost or taken twice
    // where the halves meet shows.
    std::string text = "// level\n{\n";
    Names textures, sounds, stockTextures, stockSounds;
    char name[32];
    for (int i = 0; text.size() < (9u << 20); ++i) {
        std::snprintf(name, sizeof name, "u%02d/t%07d", i % 100, i);
        text += Face(name);
        textures.push_back(std::string(name) + ".wal");
        if (i % 97 == 0) {  // the game's own, which go to lists of their own
            std::snprintf(name, sizeof name, "e1u%d/g%07d", 1 + i % 4, i);
            text += Face(name) + "\"noise\" \"world/" + (name + 5) + "\"\n";
            stockTextures.push_back(std::string(name) + ".wal");
            stockSounds.push_back(std::string("world/") + (name + 5));
        }
        if (i % 10 == 0) {
            std::snprintf(name, sizeof name, "s%02d/n%07d", i % 100, i);
            text += std::string("\"noise\" \"") + name + (i % 20 == 0 ? "\"\r\n" : "\"\r");
            sounds.emplace_back(name);
        }
    }
    for (Names* names : {&textures, &sounds, &stockTextures, &stockSounds})
        SortResourceList(*names);
    LoadedLevel level;
    level.MapLines = LevelLines::FromText(text);
    ScanTexturesAndSounds(level);
    EXPECT_EQ(level.TextureList.entries(), textures);
    EXPECT_EQ(level.SoundList.entries(), sounds);
    EXPECT_EQ(level.StockTextures.entries(), stockTextures);
    EXPECT_EQ(level.StockSounds.entries(), stockSounds);
    LoadedLevel apart;
    apart.MapLines = level.MapLines;
    ScanTextures(apart);
    ScanSounds(apart);
    EXPECT_EQ(apart.TextureList.entries(), textures);
    EXPECT_EQ(apart.SoundList.entries(), sounds);
    EXPECT_EQ(apart.StockTextures.entries(), stockTextures);
    EXPECT_EQ(apart.StockSounds.entries(), stockSounds);
}

TEST(ScansAgainstTheRules, searchTheWholeTextWithoutCrossingLines)
{
    // A needle split by a line break, or cut off by the end of the text or a
    // NUL, is in no line.
    WindowLevel level;
    static constexpr char kText[] = "\"noi\nse\" \"a/b\"\n{\r\n( 0 0 0 ) x/y \"\n"
                                    "( 0 0 0 ) p/q 0\n\"noise\" \"c/d\"\0\"noise\" \"e/f\"";
    level.MapLines = LevelLines::FromText(std::string_view(kText, sizeof kText - 1));
    ScanAndShowTextures(level);
    ScanAndShowSounds(level);
    EXPECT_EQ(level.TextureList.entries(), (Names{"p/q.wal"}));
    EXPECT_EQ(level.SoundList.entries(), (Names{"c/d"}));
    level.MapLines = LevelLines::FromText("\n{\n( 0 0 0 ) a/b 0\n\"noise\" \"x/y\" nois");
    ScanAndShowTextures(level);
    ScanAndShowSounds(level);
    EXPECT_EQ(level.TextureList.entries(), (Names{"a/b.wal", "p/q.wal"}));
    EXPECT_EQ(level.SoundList.entries(), (Names{"c/d", "x/y"}));
    // The last line, without a break, is searched to its very end.
    level.MapLines = LevelLines::FromText("\n{\n( 0 0 0 ) last/face 0");
    ScanAndShowTextures(level);
    EXPECT_EQ(level.TextureList.entries(), (Names{"a/b.wal", "last/face.wal", "p/q.wal"}));
}

TEST(SortResourceList, ordersAsTheExchangeSortDoes)
{
    std::mt19937 random(11);
    const std::vector<std::string> pieces{"a", "A", "b", "/", ".", "0", "\xe9", "\xff", "\x01", "ab", ""};
    for (int round = 0; round < 200; ++round) {
        Names names;
        const std::size_t count = random() % 40;
        for (std::size_t i = 0; i < count; ++i) {
            std::string name;
            for (std::size_t k = random() % 4; k > 0; --k)
                name += pieces[random() % pieces.size()];
            names.push_back(name);
        }
        Names want = names;
        reference::ExchangeSort(want);
        SortResourceList(names);
        EXPECT_EQ(names, want) << "round " << round;
    }
}

TEST(ResourceListIndex, answersLikeASearchOfTheList)
{
    ResourceList list;
    Names plain;
    std::mt19937 random(5);
    for (int i = 0; i < 6000; ++i) {
        // Names of many lengths, many alike, some of them empty.
        std::string name(random() % 20, 'x');
        for (char& c : name)
            c = "ab/\x80\xff"[random() % 5];
        if (random() % 2)
            name += std::to_string(random() % 300);
        const bool held = reference::HeldFromTheLast(plain, name);
        ASSERT_EQ(list.contains(name), held) << i;
        ASSERT_EQ(list.add(name), !held) << i;
        if (!held)
            plain.push_back(name);
        if (i % 2000 == 1999) {
            list.sort();
            reference::ExchangeSort(plain);
        }
    }
    EXPECT_EQ(list.entries(), plain);
    for (const std::string& name : plain)
        EXPECT_TRUE(list.contains(name));
    EXPECT_EQ(list.removeAdjacentRepeats(), 0u);
    list.clear();
    EXPECT_FALSE(list.contains(plain.front()));
    EXPECT_TRUE(list.add(plain.front()));
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
