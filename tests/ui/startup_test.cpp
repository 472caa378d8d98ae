// Start-up and shut-down: the six windows, the first run, the loaded paths
// applied to the window, and the settings written when the window closes.

#include <QFontDatabase>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QToolButton>

#include "ui/fonts.h"
#include "ui/about_dialog.h"
#include "ui/browser.h"
#include "ui/directory_chooser.h"
#include "ui/config_dialog.h"
#include "ui/info_dialog.h"
#include "ui/prompt_dialog.h"
#include "ui_fixture.h"

namespace corvane::ui::test {
namespace {

using StartUp = UiTest;

TEST_F(StartUp, firstRunAsksForThePathsAndTakesOverTheFieldsEvenOnCancel)
{
    const std::string src = tree.dir("levels");
    SeenBox request;
    QStringList fieldsShown;
    modals.answerBox(QStringLiteral("OK"), &request);
    modals.then([&](QDialog& dialog) {
        auto& config = static_cast<TfrmConfig&>(dialog);
        EXPECT_EQ(config.windowTitle(), QStringLiteral("Configure Corvane"));
        // The main window is already there and shown behind the request.
        bool mainShown = false;
        for (QWidget* window : QApplication::topLevelWidgets())
            mainShown = mainShown || (window->objectName() == QStringLiteral("frmMain") && window->isVisible());
        EXPECT_TRUE(mainShown);
        for (const char* field : {"Edit1", "Edit2", "Edit3", "Edit4"})
            fieldsShown << Control<QLineEdit>(config, field)->text();
        Control<QLineEdit>(config, "Edit1")->setText(QString::fromStdString(src));
        Control<QLineEdit>(config, "Edit2")->setText(QStringLiteral("relative/target"));
        Control<QLineEdit>(config, "Edit3")->setText(QStringLiteral("/opt/pak/paked"));
        Press(config, QStringLiteral("Cancel"));
    });
    start();

    EXPECT_EQ(request.caption, QStringLiteral("Corvane"));
    EXPECT_EQ(request.text, QStringLiteral("Please enter your default paths."));
    EXPECT_EQ(request.icon, QMessageBox::Question);
    EXPECT_EQ(request.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(fieldsShown, QStringList(4, QString()));

    const Settings& settings = shell->settings;
    EXPECT_EQ(settings.SrcPath, src);
    EXPECT_EQ(settings.PakPath, "/opt/pak/paked");
    // A full source path moves the browser; a target without one sets no drive.
    EXPECT_EQ(settings.SourceDrive, '/');
    EXPECT_EQ(ui().listDirs->directory(), src);
    EXPECT_EQ(settings.TargPath, "relative/target");
    EXPECT_EQ(settings.TargetDrive, '\0');
    EXPECT_TRUE(ui().editGameDir->text().isEmpty());
    // Nothing reaches the store before the window closes.
    EXPECT_FALSE(settingsFileExists());
}

TEST_F(StartUp, firstRunClosedWithoutPathsStoresFourEmptyValuesAndAsksAgainNextTime)
{
    modals.answerBox(QStringLiteral("OK"));
    modals.then([](QDialog& dialog) { Press(dialog, QStringLiteral("OK")); });
    start();
    main().close();
    EXPECT_EQ(stored("SrcPath"), "");
    EXPECT_EQ(stored("TargPath"), "");
    EXPECT_EQ(stored("PakPath"), "");
    EXPECT_EQ(stored("PellarkPath"), "");
    shell.reset();

    SeenBox again;
    modals.answerBox(QStringLiteral("OK"), &again);
    modals.then([](QDialog& dialog) { Press(dialog, QStringLiteral("Cancel")); });
    start();
    EXPECT_EQ(again.text, QStringLiteral("Please enter your default paths."));
}

TEST_F(StartUp, createsTheSixWindowsWithTheirTitlesAndTheMainWindowInItsStartState)
{
    storeSettings(tree.dir("maps"), "");
    start();
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Pellark's Corvane"));
    EXPECT_EQ(shell->chooser->windowTitle(), QStringLiteral("Set Game Directory"));
    EXPECT_EQ(shell->frmInfo->windowTitle(), QStringLiteral("Information"));
    EXPECT_EQ(shell->frmMyMsg->windowTitle(), QStringLiteral("File Exists!"));
    EXPECT_EQ(shell->frmAbout->windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(shell->frmConfig->windowTitle(), QStringLiteral("Configure Corvane"));
    EXPECT_TRUE(Control<QLineEdit>(*shell->chooser, "editDir")->text().isEmpty());

    const MainWindowView w = ui();
    EXPECT_EQ(w.state.mode, WindowMode::Idle);
    EXPECT_EQ(w.statusText(0), QStringLiteral("Select a .map file"));
    EXPECT_EQ(w.statusText(1), QString());
    EXPECT_EQ(w.listFiles->mask(), "*.map;*.md2;*.pcx;*.wal;*.wav;*.bsp");
    // Names and sizes stand in columns: every glyph of the lists' font has one width.
    for (const QWidget* list : std::initializer_list<const QWidget*>{w.listFiles, w.listWals, w.listWavs})
        EXPECT_TRUE(HasEqualAdvances(list->font())) << list->objectName().toStdString();
    // The check can tell: the proportional font of the dialogs has glyphs of many widths.
    EXPECT_FALSE(HasEqualAdvances(QFontDatabase::systemFont(QFontDatabase::GeneralFont)));
    EXPECT_TRUE(HasEqualAdvances(Control<QWidget>(*shell->frmInfo, "memoInfo")->font()));

    // Captions, hints and starting states, as a person sees them.
    struct Control {
        const char* name;
        QString caption;
        bool enabled;
        bool shown;
    };
    const std::vector<Control> controls = {
        {"btnBrowse", "Browse", true, true},         {"btnPreview", "Preview ", false, true},
        {"btnUseCurrent", "Use this", false, true},  {"optionCopy", "Copy files", false, true},
        {"optionMove", "Move files ", false, true},  {"chbxPellark", "Include Pellark tree", false, true},
        {"chbxSky", "Include sky", false, true},     {"btnCreate", "&Transfer", false, true},
        {"speedInfo", "", true, false},              {"speedGroupMaps", "", true, false},
        {"btnExitPreview", "", true, false},         {"speedWinExp", "", true, false},
        {"speedPakExp", "", true, false},
    };
    for (const Control& control : controls) {
        auto* button = w.window.findChild<QAbstractButton*>(QString::fromLatin1(control.name));
        ASSERT_NE(button, nullptr) << control.name;
        EXPECT_EQ(button->text(), control.caption) << control.name;
        EXPECT_EQ(button->isEnabled(), control.enabled) << control.name;
        EXPECT_EQ(!button->isHidden(), control.shown) << control.name;
    }
    EXPECT_TRUE(w.optionCopy->isChecked());
    EXPECT_EQ(w.optionMove->toolTip(), QStringLiteral("Allows testing your pak"));
    EXPECT_EQ(w.speedInfo->toolTip(), QStringLiteral("Display Info"));
    EXPECT_EQ(w.speedGroupMaps->toolTip(), QStringLiteral("Pool all resources from target directory"));
    EXPECT_EQ(w.btnExitPreview->toolTip(), QStringLiteral("Exit preview mode"));
    EXPECT_EQ(w.speedWinExp->toolTip(), QStringLiteral("Launch Explorer"));
    EXPECT_EQ(w.speedPakExp->toolTip(), QStringLiteral("Launch PakEd"));
    EXPECT_EQ(w.GroupBox1->title(), QStringLiteral("Game Creation"));
    EXPECT_EQ(w.Label2->text(), QStringLiteral("Target Directory"));
    EXPECT_EQ(w.Label1->text(), QStringLiteral("This directory"));
    EXPECT_EQ(w.Label5->text(), QStringLiteral("Options"));
    EXPECT_TRUE(w.Label3->isHidden() && w.Label4->isHidden());
    EXPECT_TRUE(w.listWals->isHidden() && w.listWavs->isHidden());
    EXPECT_FALSE(w.TabControl1->isEnabled());
    EXPECT_EQ(w.TabControl1->currentIndex(), 0);
    EXPECT_EQ(w.TabControl1->tabText(0) + w.TabControl1->tabText(1) + w.TabControl1->tabText(2),
              QStringLiteral("TreeN/A.map"));

    const std::vector<std::pair<QAction*, QString>> menu = {
        {w.mnuFileOpen, "&Open"},         {w.mnuFileNew, "&New"},
        {w.mnuFileExit, "E&xit"},         {w.mnuConfigSetPaths, "Set paths..."},
        {w.mnuHelpContents, "&Contents"}, {w.mnuHelpIndex, "&Index"},
        {w.mnuHelpAbout, "&About"},
    };
    for (const auto& [item, caption] : menu)
        EXPECT_EQ(item->text(), caption) << item->objectName().toStdString();
    EXPECT_EQ(w.mnuFileOpen->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(w.mnuFileNew->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_TRUE(w.N1->isSeparator() && w.N2->isSeparator());
}

TEST_F(StartUp, loadedPathsAreAppliedOnlyFromTheirThresholds)
{
    // A source of three characters is held but moves nothing (it names no
    // folder here, so applying it would have raised an error box).
    storeSettings("/zq", "/ab", "", "/p");
    start();
    const Settings& settings = shell->settings;
    EXPECT_EQ(settings.SrcPath, "/zq");
    EXPECT_EQ(settings.SourceDrive, '\0');
    EXPECT_EQ(settings.TargetDrive, '/');
    EXPECT_EQ(ui().editGameDir->text(), QStringLiteral("/ab"));
    EXPECT_EQ(settings.PellarkDrive, '\0');
}

TEST_F(StartUp, aShortTargetStaysOutOfTheFieldAndIsWrittenBackUnchanged)
{
    storeSettings(tree.dir("maps"), "/a", "", "");
    start();
    EXPECT_TRUE(ui().editGameDir->text().isEmpty());
    main().close();
    EXPECT_EQ(stored("TargPath"), "/a");
}

TEST_F(StartUp, aMissingSourceFolderIsReportedAndTheWindowIsStillUsable)
{
    const std::string gone = tree.path("gone/maps");
    storeSettings(gone, tree.dir("target"));
    SeenBox error;
    modals.answerBox(QStringLiteral("OK"), &error);
    start();
    EXPECT_EQ(error.caption, QStringLiteral("Corvane"));
    EXPECT_EQ(error.text, QString::fromStdString("Directory not found: " + gone + "."));
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    // The rest of the creation took place, and the later values were not read.
    EXPECT_EQ(main().mode(), WindowMode::Idle);
    EXPECT_EQ(main().statusText(0), QStringLiteral("Select a .map file"));
    EXPECT_EQ(shell->settings.TargPath, "");
    // A second command runs at once; File > New reports the missing folder too.
    modals.answerBox(QStringLiteral("OK"));
    ui().mnuFileNew->trigger();
    EXPECT_EQ(main().statusText(0), QStringLiteral("Select a file"));
    EXPECT_EQ(main().mode(), WindowMode::Idle);
}

class CloseTest : public UiTest, public ::testing::WithParamInterface<bool> {};

TEST_P(CloseTest, closingWritesTheSettingsOnceAndAsksNothingAlsoWithALevelLoaded)
{
    const bool byExit = GetParam();
    const std::string maps = startWithLevel(tree.dir("game"), "/usr/bin/paked", "/pellark");
    activate();
    const std::string newTarget = tree.dir("other game");
    typeTarget(QString::fromStdString(newTarget));

    if (byExit)
        ui().mnuFileExit->trigger();
    else
        main().close();

    EXPECT_FALSE(main().isVisible());
    EXPECT_EQ(store->creates, 1);
    EXPECT_EQ(store->writes, 6);  // the five paths and the complete-release switch
    EXPECT_EQ(stored("SrcPath"), maps);
    EXPECT_EQ(stored("TargPath"), newTarget);
    EXPECT_EQ(stored("PakPath"), "/usr/bin/paked");
    EXPECT_EQ(stored("PellarkPath"), "/pellark");
    EXPECT_TRUE(main().level().MapLines.empty());
}

INSTANTIATE_TEST_SUITE_P(CloseBoxAndFileExit, CloseTest, ::testing::Values(false, true),
                         [](const auto& run) { return run.param ? "FileExit" : "CloseBox"; });

}  // namespace
}  // namespace corvane::ui::test
