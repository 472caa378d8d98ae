// QtKeyStore against real INI files in a sandbox.
//
// QSettings keeps the parsed contents of a file per file name for the whole
// process, so a test that wants to see what was really written reads a copy of
// the file under a new name.

#include "settings/qt_key_store.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/error.h"
#include "settings/settings.h"
#include "settings_helpers.h"
#include "support/error_of.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::TempTree;

using test::ErrorOf;
using test::NoView;
using test::Paths;

class QtKeyStoreTest : public ::testing::Test {
protected:
    // Loads from the file as a fresh process would see it (through a copy).
    std::string loadCopyOf(const std::string& relative, Settings& settings)
    {
        QtKeyStore store(tree.file("copy-" + relative, tree.read(relative)));
        NoView view;
        return ErrorOf([&] { LoadSettings(settings, store, view); });
    }
    std::string load(const std::string& relative, Settings& settings)
    {
        QtKeyStore store(tree.path(relative));
        NoView view;
        return ErrorOf([&] { LoadSettings(settings, store, view); });
    }
    std::string save(const std::string& relative, const Settings& settings)
    {
        QtKeyStore store(tree.path(relative));
        return ErrorOf([&] { SaveSettings(settings, store); });
    }

    TempTree tree;
};

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST_F(QtKeyStoreTest, UserStoreLivesInXdgConfigHome)
{
    const std::string config = tree.path("home/config");
    ScopedEnv xdg("XDG_CONFIG_HOME", config);

    EXPECT_EQ(DefaultSettingsFile(), config + "/Corvane.conf");
    {
        QtKeyStore store;
        EXPECT_EQ(store.fileName(), config + "/Corvane.conf");
        EXPECT_FALSE(store.OpenKey());
        EXPECT_EQ(ErrorOf([&] { SaveSettings(Paths("/src/maps", "/games/mod", "/bin/pak", "/pellark"), store); }),
                  "no error");
    }
    const std::string written = tree.read("home/config/Corvane.conf");
    for (const char* line : {"SrcPath=/src/maps\n", "TargPath=/games/mod\n", "PakPath=/bin/pak\n",
                             "PellarkPath=/pellark\n"})
        EXPECT_NE(written.find(line), std::string::npos) << line << " in\n" << written;
}

TEST_F(QtKeyStoreTest, AwkwardPathsRoundTripByteForByte)
{
    const Settings sets[] = {
        Paths("  /home/me/my maps  ", "/games/q2/mymod/", "C:\\Tools\\pak,v2;x=\"y\" 'z' #1 \\\\",
              "/data/P\xC3\xABllark/\xE2\x82\xAC"),
        Paths("/raw/\xFF\xFE\x80 latin \xE9t\xE9", "", "@ByteArray(x)", "a\nb\r\tc\x01" "f[General]"),
    };
    for (const Settings& written : sets) {
        const std::string file = "round-" + std::to_string(&written - sets) + ".conf";
        ASSERT_EQ(save(file, written), "no error");
        Settings read = Paths("x", "x", "x", "x");
        ASSERT_EQ(loadCopyOf(file, read), "no error");
        EXPECT_EQ(read.SrcPath, written.SrcPath);
        EXPECT_EQ(read.TargPath, written.TargPath);
        EXPECT_EQ(read.PakPath, written.PakPath);
        EXPECT_EQ(read.PellarkPath, written.PellarkPath);
    }
}

TEST_F(QtKeyStoreTest, FirstSaveOfEmptyPathsWritesEmptyStrings)
{
    ASSERT_EQ(save("cfg/Corvane.conf", Settings{}), "no error");
    EXPECT_EQ(tree.read("cfg/Corvane.conf"),
              "[General]\nBaseGamePath=\nCompleteRelease=0\nPakPath=\nPellarkPath=\nSrcPath=\nTargPath=\n");

    QtKeyStore store(tree.file("copy.conf", tree.read("cfg/Corvane.conf")));
    ASSERT_TRUE(store.OpenKey());
    for (const char* name : {"SrcPath", "TargPath", "PakPath", "PellarkPath", "BaseGamePath"}) {
        const StoredValue value = store.QueryValue(name);
        EXPECT_EQ(value.kind, ValueKind::String) << name;
        EXPECT_EQ(value.text, "") << name;
    }
    EXPECT_EQ(store.QueryValue("Other").kind, ValueKind::Missing);
    EXPECT_TRUE(store.FlushKey());
}

TEST_F(QtKeyStoreTest, MissingFileIsAMissingKeyAndLoadingCreatesNothing)
{
    Settings settings = Paths("/old", "/old", "/old", "/old");
    EXPECT_EQ(load("absent/Corvane.conf", settings), "no error");
    EXPECT_EQ(settings.SrcPath, "/old");
    EXPECT_FALSE(fs::exists(tree.path("absent")));

    QtKeyStore store(tree.path("absent/Corvane.conf"));
    EXPECT_FALSE(store.OpenKey());
    EXPECT_FALSE(fs::exists(tree.path("absent")));
}

TEST_F(QtKeyStoreTest, ValuesThatAreNotStringsHaveAnotherType)
{
    tree.file("typed.conf",
              "[General]\nSrcPath=/home/me/maps\nTargPath=/games/a,/games/b\nPakPath=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
              "PellarkPath=@Rect(1 2 3 4)\nQuoted=\"a,b\"\nNumber=42\n");
    Settings settings;
    EXPECT_EQ(load("typed.conf", settings), "Invalid data type for 'TargPath'");
    EXPECT_EQ(settings.SrcPath, "/home/me/maps");

    QtKeyStore store(tree.path("typed.conf"));
    ASSERT_TRUE(store.OpenKey());
    EXPECT_EQ(store.QueryValue("PakPath").kind, ValueKind::OtherType);
    EXPECT_EQ(store.QueryValue("PellarkPath").kind, ValueKind::OtherType);
    EXPECT_EQ(store.QueryValue("Quoted").text, "a,b");
    EXPECT_EQ(store.QueryValue("Number").text, "42");
}

TEST_F(QtKeyStoreTest, AFileThatCannotBeParsedIsUnreadableUntilTheNextSave)
{
    tree.file("corrupt.conf", "[General\nSrcPath=/home/me/maps\n[[oops\n");
    Settings settings = Paths("/old", "/old", "/old", "/old");
    EXPECT_EQ(load("corrupt.conf", settings), "Failed to get data for 'SrcPath'");
    EXPECT_EQ(settings.SrcPath, "/old");

    // Saving rewrites it well-formed.
    EXPECT_EQ(save("corrupt.conf", Paths("/a", "/b", "/c", "/d")), "no error");
    EXPECT_EQ(loadCopyOf("corrupt.conf", settings), "no error");
    EXPECT_EQ(settings.SrcPath, "/a");
    EXPECT_EQ(settings.PellarkPath, "/d");

    // Also when nothing in this process has read it before.
    tree.file("corrupt-unread.conf", "[[oops\nSrcPath=/x\n");
    EXPECT_EQ(save("corrupt-unread.conf", Paths("/e", "/f", "/g", "/h")), "no error");
    EXPECT_EQ(loadCopyOf("corrupt-unread.conf", settings), "no error");
    EXPECT_EQ(settings.SrcPath, "/e");
}

TEST_F(QtKeyStoreTest, AStorePathThatIsNoFileCannotBeCreated)
{
    // The file's place is taken by a folder: it exists but cannot be read or written.
    tree.dir("folder.conf/inside");
    Settings settings;
    EXPECT_EQ(load("folder.conf", settings), "Failed to get data for 'SrcPath'");
    EXPECT_EQ(save("folder.conf", Paths("/a", "/b", "/c", "/d")), "no error");
    EXPECT_TRUE(fs::is_directory(tree.path("folder.conf")));

    // The folder's place is taken by a file: the key can be neither opened nor created.
    tree.file("blocker", "not a folder");
    QtKeyStore blocked(tree.path("blocker/Corvane.conf"));
    EXPECT_FALSE(blocked.OpenKey());
    EXPECT_FALSE(blocked.CreateKey());
    EXPECT_EQ(save("blocker/Corvane.conf", Paths("/a", "/b", "/c", "/d")), "no error");
    EXPECT_EQ(tree.read("blocker"), "not a folder");
}

// Opens the key and then takes its folder away, so the first write fails.
class FolderLostAfterOpen : public QtKeyStore {
public:
    FolderLostAfterOpen(std::string file, std::string folder)
        : QtKeyStore(std::move(file)), folder_(std::move(folder))
    {
    }
    bool CreateKey() override
    {
        const bool created = QtKeyStore::CreateKey();
        fs::remove_all(folder_);
        std::ofstream(folder_) << "now a file";
        return created;
    }

private:
    std::string folder_;
};

TEST_F(QtKeyStoreTest, AValueThatCannotBeWrittenFailsTheSave)
{
    FolderLostAfterOpen store(tree.path("lost/Corvane.conf"), tree.path("lost"));
    EXPECT_EQ(ErrorOf([&] { SaveSettings(Paths("/a", "/b", "/c", "/d"), store); }),
              "Failed to set data for 'SrcPath'");
}

}  // namespace
}  // namespace corvane
