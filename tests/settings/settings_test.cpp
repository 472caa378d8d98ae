// LoadSettings and SaveSettings over the in-memory store.

#include "settings/settings.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/error.h"
#include "support/error_of.h"
#include "support/memory_key_store.h"

namespace corvane {
namespace {

using test::MemoryKeyStore;
using Calls = std::vector<std::string>;

// Records what loading applies to the main window; can refuse a directory.
class RecordingView : public SettingsView {
public:
    Calls calls;
    bool directoryFails = false;

    void setDrive(char drive) override { calls.push_back(std::string("drive ") + drive); }
    void setDirectory(const std::string& path) override
    {
        calls.push_back("directory " + path);
        if (directoryFails)
            throw Error("Invalid path");
    }
    void setTargetField(const std::string& text) override { calls.push_back("target " + text); }
};

using test::ErrorOf;

Settings Previous()
{
    Settings settings;
    settings.SrcPath = "/old/src";
    settings.TargPath = "/old/targ";
    settings.PakPath = "/old/pak";
    settings.PellarkPath = "/old/pellark";
    return settings;
}

class LoadSettingsTest : public ::testing::Test {
protected:
    void putAll(const std::string& src, const std::string& targ, const std::string& pak,
                const std::string& pellark)
    {
        store.putString("SrcPath", src);
        store.putString("TargPath", targ);
        store.putString("PakPath", pak);
        store.putString("PellarkPath", pellark);
    }
    std::string load() { return ErrorOf([this] { LoadSettings(settings, store, view); }); }

    MemoryKeyStore store;
    RecordingView view;
    Settings settings;
};

TEST_F(LoadSettingsTest, ReadsTheFourValuesAndPointsTheWindowAtThem)
{
    putAll("/home/me/maps", "/games/q/mymod", "/tools/pak", "/data/pellark");
    EXPECT_EQ(load(), "no error");

    EXPECT_EQ(settings.SrcPath, "/home/me/maps");
    EXPECT_EQ(settings.TargPath, "/games/q/mymod");
    EXPECT_EQ(settings.PakPath, "/tools/pak");
    EXPECT_EQ(settings.PellarkPath, "/data/pellark");
    EXPECT_EQ(settings.SourceDrive, '/');
    EXPECT_EQ(settings.TargetDrive, '/');
    EXPECT_EQ(settings.PellarkDrive, '/');
    EXPECT_EQ(view.calls, (Calls{"drive /", "directory /home/me/maps", "target /games/q/mymod"}));
    EXPECT_EQ(store.calls, (Calls{"OpenKey", "QueryValue SrcPath", "QueryValue TargPath",
                                  "QueryValue PakPath", "QueryValue PellarkPath", "QueryValue BaseGamePath",
                                  "QueryValue CompleteRelease", "FlushKey"}));
}

// Settings written before the base game's path existed lack its value: it
// reads as not set, and the next save writes it beside the four.
TEST_F(LoadSettingsTest, TheBaseGamePathIsReadWhenStoredAndNotSetWhenMissing)
{
    putAll("/home/me/maps", "/games/q/mymod", "/tools/pak", "/data/pellark");
    settings.BaseGamePath = "/earlier";
    EXPECT_EQ(load(), "no error");
    EXPECT_EQ(settings.BaseGamePath, "");
    EXPECT_EQ(settings.PellarkPath, "/data/pellark");

    store.putString("BaseGamePath", "/games/q2/baseq2");
    EXPECT_EQ(load(), "no error");
    EXPECT_EQ(settings.BaseGamePath, "/games/q2/baseq2");

    store.putKind("BaseGamePath", ValueKind::OtherType);
    settings.BaseGamePath = "/kept";
    EXPECT_EQ(load(), "Invalid data type for 'BaseGamePath'");
    EXPECT_EQ(settings.PellarkPath, "/data/pellark") << "the four before it are loaded";
    EXPECT_EQ(settings.BaseGamePath, "/kept");
}

TEST_F(LoadSettingsTest, ShortPathsAreHeldButNotApplied)
{
    // SrcPath needs 4 characters, TargPath and PellarkPath 3.
    putAll("C:\\", "ab", "p", "ab");
    EXPECT_EQ(load(), "no error");
    EXPECT_EQ(settings.SrcPath, "C:\\");
    EXPECT_EQ(settings.TargPath, "ab");
    EXPECT_EQ(settings.PakPath, "p");
    EXPECT_EQ(settings.PellarkPath, "ab");
    EXPECT_EQ(settings.SourceDrive, '\0');
    EXPECT_EQ(settings.TargetDrive, '\0');
    EXPECT_EQ(settings.PellarkDrive, '\0');
    EXPECT_TRUE(view.calls.empty());

    // One character more reaches each threshold.
    settings = Settings{};
    view.calls.clear();
    putAll("D:\\m", "E:\\", "", "F:\\");
    EXPECT_EQ(load(), "no error");
    EXPECT_EQ(settings.SourceDrive, 'D');
    EXPECT_EQ(settings.TargetDrive, 'E');
    EXPECT_EQ(settings.PellarkDrive, 'F');
    EXPECT_EQ(view.calls, (Calls{"drive D", "directory D:\\m", "target E:\\"}));
}

TEST_F(LoadSettingsTest, MissingKeyReadsNothingAndChangesNothing)
{
    settings = Previous();
    EXPECT_EQ(load(), "no error");
    EXPECT_EQ(settings.SrcPath, "/old/src");
    EXPECT_EQ(settings.PellarkPath, "/old/pellark");
    EXPECT_EQ(settings.SourceDrive, '\0');
    EXPECT_EQ(store.calls, Calls{"OpenKey"});
    EXPECT_TRUE(view.calls.empty());
    EXPECT_FALSE(store.keyExists);
}

TEST_F(LoadSettingsTest, MissingValuesReadEmptyAndTextEndsAtItsFirstNul)
{
    settings = Previous();
    store.putString("PakPath", std::string("/tools/pak\0.exe junk", 20));
    store.putString("TargPath", std::string("\0/hidden", 8));
    EXPECT_EQ(load(), "no error");
    EXPECT_EQ(settings.SrcPath, "");
    EXPECT_EQ(settings.TargPath, "");
    EXPECT_EQ(settings.PakPath, "/tools/pak");
    EXPECT_EQ(settings.PellarkPath, "");
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(LoadSettingsTest, AValueOfAnotherTypeEndsTheLoadThere)
{
    settings = Previous();
    putAll("/new/src", "/new/targ", "/new/pak", "/new/pellark");
    store.putKind("TargPath", ValueKind::OtherType);

    EXPECT_EQ(load(), "Invalid data type for 'TargPath'");
    EXPECT_EQ(settings.SrcPath, "/new/src");
    EXPECT_EQ(settings.TargPath, "/old/targ");
    EXPECT_EQ(settings.PakPath, "/old/pak");
    EXPECT_EQ(settings.PellarkPath, "/old/pellark");
    EXPECT_EQ(view.calls, (Calls{"drive /", "directory /new/src"}));
    EXPECT_EQ(store.calls.back(), "FlushKey");
}

TEST_F(LoadSettingsTest, AnUnreadableValueEndsTheLoadThere)
{
    settings = Previous();
    putAll("/new/src", "/new/targ", "/new/pak", "/new/pellark");
    store.putKind("PakPath", ValueKind::Unreadable);

    EXPECT_EQ(load(), "Failed to get data for 'PakPath'");
    EXPECT_EQ(settings.TargPath, "/new/targ");
    EXPECT_EQ(settings.TargetDrive, '/');
    EXPECT_EQ(settings.PakPath, "/old/pak");
    EXPECT_EQ(settings.PellarkPath, "/old/pellark");
    EXPECT_EQ(settings.PellarkDrive, '\0');
    EXPECT_EQ(store.calls, (Calls{"OpenKey", "QueryValue SrcPath", "QueryValue TargPath",
                                  "QueryValue PakPath", "FlushKey"}));

    store = MemoryKeyStore{};
    store.putKind("PellarkPath", ValueKind::OtherType);
    EXPECT_EQ(load(), "Invalid data type for 'PellarkPath'");
    store.putKind("SrcPath", ValueKind::Unreadable);
    EXPECT_EQ(load(), "Failed to get data for 'SrcPath'");
}

TEST_F(LoadSettingsTest, ADirectoryTheBrowserRefusesEndsTheLoadThere)
{
    settings = Previous();
    putAll("/gone/maps", "/new/targ", "/new/pak", "/new/pellark");
    view.directoryFails = true;

    EXPECT_EQ(load(), "Invalid path");
    EXPECT_EQ(settings.SrcPath, "/gone/maps");
    EXPECT_EQ(settings.SourceDrive, '/');
    EXPECT_EQ(settings.TargPath, "/old/targ");
    EXPECT_EQ(view.calls, (Calls{"drive /", "directory /gone/maps"}));
    EXPECT_EQ(store.calls, (Calls{"OpenKey", "QueryValue SrcPath", "FlushKey"}));
}

class SaveSettingsTest : public ::testing::Test {
protected:
    std::string save(const Settings& settings)
    {
        return ErrorOf([&] { SaveSettings(settings, store); });
    }

    MemoryKeyStore store;
};

TEST_F(SaveSettingsTest, WritesTheFourValuesInOrderExactlyAsHeld)
{
    Settings settings;
    settings.SrcPath = "  /home/me/maps/ ";
    settings.TargPath = "C:\\Games\\mod\\";
    settings.PakPath = "/tools/pak";
    settings.PellarkPath = "ab";
    EXPECT_EQ(save(settings), "no error");

    EXPECT_EQ(store.calls, (Calls{"CreateKey", "SetValue SrcPath", "SetValue TargPath", "SetValue PakPath",
                                  "SetValue PellarkPath", "SetValue BaseGamePath",
                     "SetValue CompleteRelease", "FlushKey"}));
    EXPECT_EQ(store.text("SrcPath"), "  /home/me/maps/ ");
    EXPECT_EQ(store.text("TargPath"), "C:\\Games\\mod\\");
    EXPECT_EQ(store.text("PakPath"), "/tools/pak");
    EXPECT_EQ(store.text("PellarkPath"), "ab");
    EXPECT_EQ(store.text("BaseGamePath"), "");

    settings.BaseGamePath = "/games/q2/baseq2 ";
    EXPECT_EQ(save(settings), "no error");
    EXPECT_EQ(store.text("BaseGamePath"), "/games/q2/baseq2 ");
}

TEST_F(SaveSettingsTest, FirstSaveCreatesTheKeyWithEveryValueEmpty)
{
    EXPECT_EQ(save(Settings{}), "no error");
    EXPECT_TRUE(store.keyExists);
    for (const char* name : {"SrcPath", "TargPath", "PakPath", "PellarkPath", "BaseGamePath"})
        EXPECT_EQ(store.text(name), "") << name;
}

TEST_F(SaveSettingsTest, AKeyThatCannotBeCreatedWritesAndReportsNothing)
{
    store.keyCanBeCreated = false;
    EXPECT_EQ(save(Previous()), "no error");
    EXPECT_EQ(store.calls, Calls{"CreateKey"});
    EXPECT_TRUE(store.values.empty());
}

TEST_F(SaveSettingsTest, AValueThatCannotBeWrittenEndsTheSaveThere)
{
    store.putString("PakPath", "/stored/pak");
    store.putString("PellarkPath", "/stored/pellark");
    store.unwritable.insert("PakPath");

    EXPECT_EQ(save(Previous()), "Failed to set data for 'PakPath'");
    EXPECT_EQ(store.text("SrcPath"), "/old/src");
    EXPECT_EQ(store.text("TargPath"), "/old/targ");
    EXPECT_EQ(store.text("PakPath"), "/stored/pak");
    EXPECT_EQ(store.text("PellarkPath"), "/stored/pellark");
    EXPECT_EQ(store.calls, (Calls{"CreateKey", "SetValue SrcPath", "SetValue TargPath",
                                  "SetValue PakPath", "FlushKey"}));

    store.unwritable = {"SrcPath"};
    EXPECT_EQ(save(Previous()), "Failed to set data for 'SrcPath'");
}

}  // namespace
}  // namespace corvane
