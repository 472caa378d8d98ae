#include <gtest/gtest.h>

#include "platform/paths.h"

namespace corvane {
namespace {

constexpr PathStyle W = PathStyle::Windows;
constexpr PathStyle P = PathStyle::Posix;

TEST(PathRules, joinAddsOneSeparatorExceptAtARoot)
{
    EXPECT_EQ(JoinPath("C:\\Maps", "base1.map", W), "C:\\Maps\\base1.map");
    EXPECT_EQ(JoinPath("C:\\", "base1.map", W), "C:\\base1.map");
    EXPECT_EQ(JoinPath("C:", "x", W), "C:x");
    EXPECT_EQ(JoinPath("C:\\Maps\\", "x", W), "C:\\Maps\\\\x") << "only roots are looked at";
    EXPECT_EQ(JoinPath("/home/u/maps", "base1.map", P), "/home/u/maps/base1.map");
    EXPECT_EQ(JoinPath("/", "base1.map", P), "/base1.map");
    EXPECT_EQ(JoinPath("/ab", "x", P), "/ab/x") << "a short folder is no root on Posix";
    EXPECT_EQ(JoinPath("/tmp/", "x", P), "/tmp//x");
}

TEST(PathRules, driveRootTargetsAndFullPaths)
{
    EXPECT_TRUE(IsDriveRootTarget("D:\\", W));
    EXPECT_TRUE(IsDriveRootTarget("", W));
    EXPECT_FALSE(IsDriveRootTarget("D:\\a", W));
    EXPECT_TRUE(IsDriveRootTarget("", P));
    EXPECT_TRUE(IsDriveRootTarget("/", P));
    EXPECT_TRUE(IsDriveRootTarget("//", P));
    EXPECT_FALSE(IsDriveRootTarget("/a", P));
    EXPECT_FALSE(IsDriveRootTarget("ab", P));

    EXPECT_TRUE(IsFullPath("C:\\MyLevel", W));
    EXPECT_TRUE(IsFullPath("C:\\", W));
    EXPECT_FALSE(IsFullPath("C:MyLevel", W));
    EXPECT_FALSE(IsFullPath("\\\\server\\share", W));
    EXPECT_FALSE(IsFullPath("MyLevel\\x", W));
    EXPECT_TRUE(IsFullPath("/home/u/MyLevel", P));
    EXPECT_FALSE(IsFullPath("home/u", P));
    EXPECT_FALSE(IsFullPath("", P));
}

TEST(PathRules, sourceRootIsTheParentKeepingARootsSeparator)
{
    EXPECT_EQ(SourceRoot("C:\\work\\mymod\\maps", W), "C:\\work\\mymod");
    EXPECT_EQ(SourceRoot("C:\\maps", W), "C:\\");
    EXPECT_EQ(SourceRoot("C:\\work\\maps\\", W), "C:\\work\\maps");
    EXPECT_EQ(SourceRoot("maps", W), "");
    EXPECT_EQ(SourceRoot("/home/u/mymod/maps", P), "/home/u/mymod");
    EXPECT_EQ(SourceRoot("/maps", P), "/");
    EXPECT_EQ(SourceRoot("/home/u/maps/", P), "/home/u/maps");
    EXPECT_EQ(SourceRoot("maps", P), "");
}

TEST(PathRules, entryRelativePathReplacesOnlyTheFirstSlash)
{
    EXPECT_EQ(EntryRelativePath("mymap/wall1.wal", W), "mymap\\wall1.wal");
    EXPECT_EQ(EntryRelativePath("a/b/c.wal", W), "a\\b/c.wal");
    EXPECT_EQ(EntryRelativePath("drip.wav", W), "\\drip.wav");
    EXPECT_EQ(EntryRelativePath("a/b/c.wal", P), "a/b/c.wal");
    EXPECT_EQ(EntryRelativePath("drip.wav", P), "/drip.wav");
    EXPECT_EQ(DriveCharacter("C:\\x"), 'C');
    EXPECT_EQ(DriveCharacter(""), '\0');
}

TEST(PathRules, parentFileNameAndExtensionInBothStyles)
{
    EXPECT_EQ(ParentPath("/home/u/maps/base1.map", P), "/home/u/maps");
    EXPECT_EQ(ParentPath("/base1.map", P), "/");
    EXPECT_EQ(ParentPath("base1.map", P), ".");
    EXPECT_EQ(ParentPath("a\\b", P), ".") << "a backslash is a name's byte on Posix";
    EXPECT_EQ(ParentPath("C:\\work\\maps\\base1.map", W), "C:\\work\\maps");
    EXPECT_EQ(ParentPath("C:\\base1.map", W), "C:\\");
    EXPECT_EQ(ParentPath("C:/levels/base1.map", W), "C:/levels");

    EXPECT_EQ(FileName("/home/u/maps/base1.map", P), "base1.map");
    EXPECT_EQ(FileName("base1.map", P), "base1.map");
    EXPECT_EQ(FileName("/home/u/maps/", P), "");
    EXPECT_EQ(FileName("C:\\maps\\base1.map", W), "base1.map");
    EXPECT_EQ(FileName("C:\\maps/base1.map", W), "base1.map");

    EXPECT_EQ(FileExtension("/w/my.mod/maps/level", P), "") << "a dot in a folder is no extension";
    EXPECT_EQ(FileExtension("/w/maps/level.MAP", P), "MAP");
    EXPECT_EQ(FileExtension("/w/maps/a.b.pak", P), "pak");
    EXPECT_EQ(FileExtension("/w/maps/level.", P), "");
    EXPECT_EQ(FileExtension("C:\\my.mod\\level", W), "");
    EXPECT_EQ(FileExtension("C:\\mod\\pak0.Pak", W), "Pak");
}

TEST(PathRules, patternsMatchLettersWithoutCase)
{
    EXPECT_TRUE(MatchesPattern("base1.map", "*.map"));
    EXPECT_TRUE(MatchesPattern("BASE1.MAP", "*.map"));
    EXPECT_TRUE(MatchesPattern(".map", "*.map"));
    EXPECT_FALSE(MatchesPattern("base1.map.bak", "*.map"));
    EXPECT_TRUE(MatchesPattern("myskybk.tga", "myskybk.*"));
    EXPECT_TRUE(MatchesPattern("MySkyBK.pcx", "myskybk.*"));
    EXPECT_TRUE(MatchesPattern("myskybk.", "myskybk.*"));
    EXPECT_FALSE(MatchesPattern("myskybkx.tga", "myskybk.*"));
    EXPECT_TRUE(MatchesPattern("a.b.c", "*.*.*"));
    EXPECT_TRUE(MatchesPattern("abc", "a?c"));
    EXPECT_FALSE(MatchesPattern("ac", "a?c"));
    EXPECT_TRUE(MatchesPattern("x", "*"));
    EXPECT_FALSE(MatchesPattern("\xc9t\xc9.map", "\xe9t\xe9.map")) << "only ASCII letters fold";
    EXPECT_TRUE(MatchesPattern("aaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*b"));
    EXPECT_FALSE(MatchesPattern("aaaaaaaaaaaaaaaaaaaaa", "*a*a*a*a*a*b"));
    EXPECT_EQ(AsciiUpper("mymap_2\xe9z"), "MYMAP_2\xe9Z");
    EXPECT_EQ(AsciiLower("PAK0.PaK\xc9"), "pak0.pak\xc9");
}

}  // namespace
}  // namespace corvane
