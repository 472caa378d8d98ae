// The desktop program started on a damaged settings file: it shows the
// error text of the value it could not take, finishes its start, stays
// usable, and at close writes a well-formed file, or reports the value it
// could not write, or (where no file can be made) writes nothing. It never
// hangs on whatever stands in the file's place.

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include <QLineEdit>
#include <QListWidget>

#include "ui/browser.h"
#include "ui_fixture.h"

namespace corvane::ui::test {
namespace {

namespace fs = std::filesystem;

class DamagedSettingsStart : public UiTest {
protected:
    // Starts on the settings file as it is; the error box and, with no source
    // folder known, the request for the paths are answered.
    SeenBox startExpectingError(bool asksForPaths)
    {
        SeenBox error;
        modals.answerBox(QStringLiteral("OK"), &error);
        if (asksForPaths) {
            modals.answerBox(QStringLiteral("OK"));
            modals.then([](QDialog& dialog) { Press(dialog, QStringLiteral("Cancel")); });
        }
        start();
        return error;
    }

    // The window answers a command: a level in the source folder loads.
    void expectUsable(const std::string& maps)
    {
        EXPECT_EQ(main().mode(), WindowMode::Idle);
        EXPECT_EQ(main().statusText(0), QStringLiteral("Select a .map file"));
        ui().listDirs->setDirectory(maps);
        doubleClickEntry("small.map");
        EXPECT_EQ(main().mode(), WindowMode::MapLoaded);
        EXPECT_EQ(Entries(*ui().listWals).size(), 2);
    }
};

TEST_F(DamagedSettingsStart, aValueOfAnotherTypeIsReportedAndTheRestOfTheStartTakesPlace)
{
    const std::string maps = tree.dir("src/maps");
    tree.file("src/maps/small.map", kSmallLevel);
    tree.file("config/Corvane.conf",
              "[General]\nSrcPath=" + maps + "\nTargPath=/games/a,/games/b\nPakPath=@Rect(1 2 3 4)\n");
    const SeenBox error = startExpectingError(false);
    EXPECT_EQ(error.caption, QStringLiteral("Corvane"));
    EXPECT_EQ(error.text, QStringLiteral("Invalid data type for 'TargPath'."));
    EXPECT_EQ(shell->settings.SrcPath, maps);
    EXPECT_TRUE(ui().editGameDir->text().isEmpty());
    expectUsable(maps);

    // Closing replaces the damage with the values held.
    main().close();
    EXPECT_EQ(stored("SrcPath"), maps);
    EXPECT_EQ(stored("TargPath"), "");
    EXPECT_EQ(stored("PakPath"), "");
}

TEST_F(DamagedSettingsStart, anUnparsableFileIsReportedThenRewrittenWellFormed)
{
    const std::string maps = tree.dir("src/maps");
    tree.file("src/maps/small.map", kSmallLevel);
    tree.file("config/Corvane.conf", "[General\nSrcPath=" + maps + "\n[[oops\n\xff\xfe=@ByteArray(\n");
    const SeenBox error = startExpectingError(true);
    EXPECT_EQ(error.text, QStringLiteral("Failed to get data for 'SrcPath'."));
    expectUsable(maps);
    main().close();
    EXPECT_EQ(stored("SrcPath"), maps);  // the folder the level came from
    EXPECT_EQ(stored("PellarkPath"), "");
}

TEST_F(DamagedSettingsStart, aPipeInTheFilesPlaceNeitherBlocksTheStartNorTheClose)
{
    const std::string maps = tree.dir("src/maps");
    tree.file("src/maps/small.map", kSmallLevel);
    tree.dir("config");
    ASSERT_EQ(::mkfifo(settingsFile.c_str(), 0600), 0);
    const SeenBox error = startExpectingError(true);
    EXPECT_EQ(error.text, QStringLiteral("Failed to get data for 'SrcPath'."));
    expectUsable(maps);
    // No store can be made in its place: nothing is written and nothing reported.
    main().close();
    EXPECT_TRUE(fs::is_fifo(settingsFile));
}

// Takes the settings folder away once the key is open, so no value can be written.
class UnwritableStore : public KeyStore {
public:
    UnwritableStore(KeyStore& inner, std::string folder) : inner_(inner), folder_(std::move(folder)) {}
    bool OpenKey() override { return inner_.OpenKey(); }
    bool CreateKey() override
    {
        const bool created = inner_.CreateKey();
        fs::remove_all(folder_);
        std::ofstream(folder_) << "now a file";
        return created;
    }
    StoredValue QueryValue(const std::string& name) override { return inner_.QueryValue(name); }
    bool SetValue(const std::string& name, const std::string& text) override { return inner_.SetValue(name, text); }
    bool FlushKey() override { return inner_.FlushKey(); }

private:
    KeyStore& inner_;
    std::string folder_;
};

TEST_F(DamagedSettingsStart, settingsThatCannotBeWrittenAreReportedAtClose)
{
    const std::string maps = tree.dir("src/maps");
    tree.file("src/maps/small.map", kSmallLevel);
    storeSettings(maps, tree.dir("target"));
    realStore = std::make_unique<QtKeyStore>(settingsFile);
    UnwritableStore unwritable(*realStore, tree.path("config"));
    shell = std::make_unique<Shell>(unwritable);
    expectUsable(maps);

    SeenBox error;
    modals.answerBox(QStringLiteral("OK"), &error);
    main().close();
    EXPECT_EQ(error.text, QStringLiteral("Failed to set data for 'SrcPath'."));
    EXPECT_EQ(tree.read("config"), "now a file");
    shell.reset();
}

}  // namespace
}  // namespace corvane::ui::test
