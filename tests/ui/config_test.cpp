// The Configure dialog from Configure > "Set paths...": OK writes at once and
// moves the browser, Cancel warns while a needed path is missing, and the
// browse buttons open the chooser for their purpose.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/browser.h"
#include "ui/directory_chooser.h"
#include "ui/config_dialog.h"
#include "ui_fixture.h"

namespace corvane::ui::test {
namespace {

class SetPaths : public UiTest {
protected:
    void fill(const std::string& src, const std::string& targ, const std::string& pak, const std::string& pellark,
              const char* button)
    {
        modals.then([=, this](QDialog& dialog) {
            auto& config = static_cast<TfrmConfig&>(dialog);
            shown << Control<QLineEdit>(config, "Edit1")->text() << Control<QLineEdit>(config, "Edit2")->text();
            Control<QLineEdit>(config, "Edit1")->setText(QString::fromStdString(src));
            Control<QLineEdit>(config, "Edit2")->setText(QString::fromStdString(targ));
            Control<QLineEdit>(config, "Edit3")->setText(QString::fromStdString(pak));
            Control<QLineEdit>(config, "Edit4")->setText(QString::fromStdString(pellark));
            Press(config, QString::fromLatin1(button));
        });
    }
    QStringList shown;
};

TEST_F(SetPaths, okWritesTheFourPathsAtOnceAndAppliesThemToTheWindow)
{
    storeSettings(tree.dir("old"), "/old/target", "/old/pak", "");
    start();
    const std::string src = tree.dir("new src");
    fill(src, "/new/target", "", "/new/pellark", "OK");
    ui().mnuConfigSetPaths->trigger();

    EXPECT_EQ(stored("SrcPath"), src);
    EXPECT_EQ(stored("TargPath"), "/new/target");
    EXPECT_EQ(stored("PakPath"), "");
    EXPECT_EQ(stored("PellarkPath"), "/new/pellark");
    EXPECT_EQ(shell->settings.PakPath, "");
    EXPECT_EQ(ui().listDirs->directory(), src);
    EXPECT_EQ(ui().editGameDir->text(), QStringLiteral("/new/target"));
    EXPECT_EQ(shell->settings.TargetDrive, '/');
}

// Whatever changed the settings since the last showing, the dialog shows them
// as they are, so that OK writes back nothing older.
TEST_F(SetPaths, everyShowingStartsFromTheSettingsAsTheyAreNow)
{
    startWithLevel("/first/target");
    activate();
    typeTarget(QStringLiteral("/second/target"));
    ASSERT_EQ(shell->settings.TargPath, "/second/target");
    const std::string pellark = tree.dir("pellark");
    ui().btnUseCurrent->click();
    modals.then([&](QDialog& dialog) {  // Include Pellark tree asks for the folder
        Control<QLineEdit>(dialog, "editDir")->setText(QString::fromStdString(pellark));
        PressNamed(dialog, "BitBtn1");
    });
    ui().chbxPellark->click();
    ASSERT_EQ(shell->settings.PellarkPath, pellark);

    QStringList fields;
    modals.then([&](QDialog& dialog) {
        for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4"})
            fields << Control<QLineEdit>(dialog, name)->text();
        Press(dialog, QStringLiteral("OK"));
    });
    ui().mnuConfigSetPaths->trigger();
    EXPECT_EQ(fields, (QStringList{QString::fromStdString(tree.path("src/maps")), "/second/target", "",
                                   QString::fromStdString(pellark)}));
    EXPECT_EQ(stored("TargPath"), "/second/target");
    EXPECT_EQ(stored("PellarkPath"), pellark);
    EXPECT_EQ(ui().editGameDir->text(), QStringLiteral("/second/target"));
}

TEST_F(SetPaths, okWithoutSourceOrTargetWarnsAndTakesNothingOver)
{
    const std::string maps = tree.dir("maps");
    storeSettings(maps, "/t", "/p", "");
    start();
    SeenBox warning;
    fill("", "/x", "/y", "/z", "OK");
    modals.answerBox(QStringLiteral("OK"), &warning);
    ui().mnuConfigSetPaths->trigger();
    EXPECT_EQ(warning.caption, QStringLiteral("Warning"));
    EXPECT_EQ(warning.text, QStringLiteral("Please set default paths"));
    EXPECT_EQ(warning.icon, QMessageBox::Information);
    EXPECT_EQ(shell->settings.TargPath, "/t");
    EXPECT_EQ(stored("TargPath"), "/t");
    // What was typed is gone with the refusal: the next showing shows the settings.
    fill(maps, "/t", "/p", "", "Cancel");
    ui().mnuConfigSetPaths->trigger();
    EXPECT_EQ(shown.mid(2), (QStringList{QString::fromStdString(maps), "/t"}));
}

TEST_F(SetPaths, cancelWithTheNeededPathsSetClosesQuietly)
{
    storeSettings(tree.dir("maps"), "/t", "/p", "");
    start();
    fill("/typed", "/typed", "/typed", "/typed", "Cancel");
    ui().mnuConfigSetPaths->trigger();
    EXPECT_EQ(shell->settings.SrcPath, tree.path("maps"));
    EXPECT_EQ(stored("PakPath"), "/p");
}

TEST_F(SetPaths, cancelWithAMissingPathWarnsAndShowsTheDialogOnceMore)
{
    const std::string maps = tree.dir("maps");
    storeSettings(maps, "/t", "", "");
    start();
    fill(maps, "/t", "", "", "Cancel");
    modals.answerBox(QStringLiteral("OK"));
    fill(maps, "/t", "", "", "Cancel");
    ui().mnuConfigSetPaths->trigger();
    EXPECT_EQ(shown.size(), 4);

    // The second showing's OK applies the fields.
    fill(maps, "/t", "", "", "Cancel");
    modals.answerBox(QStringLiteral("OK"));
    fill(maps, "/t2", "/bin/paked", "", "OK");
    ui().mnuConfigSetPaths->trigger();
    EXPECT_EQ(shell->settings.PakPath, "/bin/paked");
    EXPECT_EQ(stored("TargPath"), "/t2");
}

TEST_F(SetPaths, aSourceThatNamesNoFolderIsReportedAfterTheValuesBeforeItAreWritten)
{
    storeSettings(tree.dir("maps"), "/t", "/p", "");
    start();
    const std::string gone = tree.path("gone");
    fill(gone, "/t2", "/p2", "", "OK");
    SeenBox error;
    modals.answerBox(QStringLiteral("OK"), &error);
    ui().mnuConfigSetPaths->trigger();
    EXPECT_EQ(error.text, QString::fromStdString("Directory not found: " + gone + "."));
    EXPECT_EQ(stored("SrcPath"), gone);
    EXPECT_EQ(stored("TargPath"), "/t2");
    EXPECT_EQ(stored("PakPath"), "/p");
}

TEST_F(SetPaths, eachBrowseButtonOpensTheChooserForItsPurposeAndRestoresTheMode)
{
    const std::string maps = tree.dir("maps");
    storeSettings(maps, "", "", "");
    start();
    QStringList titles;
    std::vector<int> modes;
    const auto chooserAnswer = [&](const QString& typed) {
        modals.first([&, typed](QDialog& dialog) {
            auto& chooser = static_cast<DirectoryChooser&>(dialog);
            titles << chooser.windowTitle();
            modes.push_back(static_cast<int>(chooser.purpose()));
            Control<QLineEdit>(chooser, "editDir")->setText(typed);
            PressNamed(chooser, "BitBtn1");
        });
    };
    modals.then([&](QDialog& dialog) {
        auto& config = static_cast<TfrmConfig&>(dialog);
        chooserAnswer(QStringLiteral("/chosen/src"));
        Control<QPushButton>(config, "btnBrowseSrc")->click();
        chooserAnswer(QStringLiteral("/chosen/targ"));
        Control<QPushButton>(config, "btnBrowseTarg")->click();
        chooserAnswer(QStringLiteral("/chosen/pellark"));
        Control<QPushButton>(config, "btnBrowsePellark")->click();
        EXPECT_EQ(Control<QLineEdit>(config, "Edit1")->text(), QStringLiteral("/chosen/src"));
        EXPECT_EQ(Control<QLineEdit>(config, "Edit2")->text(), QStringLiteral("/chosen/targ"));
        EXPECT_EQ(Control<QLineEdit>(config, "Edit4")->text(), QStringLiteral("/chosen/pellark"));
        Press(config, QStringLiteral("Cancel"));
    });
    modals.answerBox(QStringLiteral("OK"));  // Cancel with paths missing warns
    modals.then([](QDialog& dialog) { Press(dialog, QStringLiteral("Cancel")); });
    ui().mnuConfigSetPaths->trigger();

    EXPECT_EQ(titles, (QStringList{QStringLiteral("Set Source Directory"), QStringLiteral("Set Target Directory"),
                                   QStringLiteral("Set Pellark Directory")}));
    EXPECT_EQ(modes, (std::vector<int>{static_cast<int>(ChooserPurpose::Source), static_cast<int>(ChooserPurpose::Target),
                                       static_cast<int>(ChooserPurpose::Pellark)}));
    EXPECT_EQ(main().mode(), WindowMode::Idle);
    EXPECT_EQ(shell->settings.SrcPath, maps);
}

// The base game's folder is a fifth field with a Browse of its own. A settings
// file from before it existed shows it empty; OK writes it beside the four,
// and an emptied field writes "not set".
TEST_F(SetPaths, theBaseGameDirectoryHasItsFieldItsBrowseAndItsStoredValue)
{
    const std::string maps = tree.dir("maps");
    storeSettings(maps, "/t", "/p", "");
    start();
    const std::string baseq2 = tree.dir("game/baseq2");
    QString title;
    ChooserPurpose purpose = ChooserPurpose::Source;
    QString shownBefore;
    modals.then([&](QDialog& dialog) {
        auto& config = static_cast<TfrmConfig&>(dialog);
        shownBefore = Control<QLineEdit>(config, "Edit5")->text();
        EXPECT_EQ(Control<QLabel>(config, "Label5")->text(), QStringLiteral("Base game directory"));
        modals.first([&](QDialog& chooser) {
            title = chooser.windowTitle();
            purpose = static_cast<DirectoryChooser&>(chooser).purpose();
            Control<QLineEdit>(chooser, "editDir")->setText(QString::fromStdString(baseq2));
            PressNamed(chooser, "BitBtn1");
        });
        Control<QPushButton>(config, "btnBrowseBaseGame")->click();
        EXPECT_EQ(Control<QLineEdit>(config, "Edit5")->text(), QString::fromStdString(baseq2));
        Press(config, QStringLiteral("OK"));
    });
    ui().mnuConfigSetPaths->trigger();
    EXPECT_EQ(shownBefore, QString());
    EXPECT_EQ(title, QStringLiteral("Set Base Game Directory"));
    EXPECT_EQ(purpose, ChooserPurpose::BaseGame);
    EXPECT_EQ(main().mode(), WindowMode::Idle);
    EXPECT_EQ(shell->settings.BaseGamePath, baseq2);
    EXPECT_EQ(stored("BaseGamePath"), baseq2);
    EXPECT_EQ(stored("PakPath"), "/p");

    // The chooser opens on the stored folder; an emptied field unsets it.
    std::string opensOn;
    modals.then([&](QDialog& dialog) {
        modals.first([&](QDialog& chooser) {
            opensOn = Control<DirectoryList>(chooser, "DirectoryListBox1")->directory();
            PressNamed(chooser, "BitBtn2");
        });
        Control<QLineEdit>(dialog, "Edit4")->setText(QStringLiteral("/pellark"));
        Control<QPushButton>(dialog, "btnBrowseBaseGame")->click();
        Control<QLineEdit>(dialog, "Edit5")->clear();
        Press(dialog, QStringLiteral("OK"));
    });
    ui().mnuConfigSetPaths->trigger();
    EXPECT_EQ(opensOn, baseq2);
    EXPECT_EQ(stored("BaseGamePath"), "");
    EXPECT_EQ(shell->settings.BaseGamePath, "");
}

}  // namespace
}  // namespace corvane::ui::test
