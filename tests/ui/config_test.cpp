// The Configure dialog from Configure > "Set paths...": OK writes at once and
// moves the browser, Cancel warns while a needed path is missing, and the
// browse buttons open the chooser for their purpose.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include "ui/browser.h"
#include "ui/chooser_dialog.h"
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
            shown << config.Edit1->text() << config.Edit2->text();
            config.Edit1->setText(QString::fromStdString(src));
            config.Edit2->setText(QString::fromStdString(targ));
            config.Edit3->setText(QString::fromStdString(pak));
            config.Edit4->setText(QString::fromStdString(pellark));
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
    main().mnuConfigSetPaths->trigger();

    EXPECT_EQ(stored("SrcPath"), src);
    EXPECT_EQ(stored("TargPath"), "/new/target");
    EXPECT_EQ(stored("PakPath"), "");
    EXPECT_EQ(stored("PellarkPath"), "/new/pellark");
    EXPECT_EQ(shell->settings.PakPath, "");
    EXPECT_EQ(main().listDirs->directory(), src);
    EXPECT_EQ(main().editGameDir->text(), QStringLiteral("/new/target"));
    EXPECT_EQ(shell->settings.TargetDrive, '/');
}

TEST_F(SetPaths, okShowsTheFieldsAsLastLeftNotTheTargetChangedInTheWindow)
{
    startWithLevel("/first/target");
    activate();
    typeTarget(QStringLiteral("/second/target"));
    ASSERT_EQ(shell->settings.TargPath, "/second/target");

    modals.then([](QDialog& dialog) { Press(dialog, QStringLiteral("OK")); });
    main().mnuConfigSetPaths->trigger();
    EXPECT_EQ(shell->settings.TargPath, "/first/target");
    EXPECT_EQ(stored("TargPath"), "/first/target");
    EXPECT_EQ(main().editGameDir->text(), QStringLiteral("/first/target"));
}

TEST_F(SetPaths, okWithoutSourceOrTargetWarnsAndTakesNothingOver)
{
    const std::string maps = tree.dir("maps");
    storeSettings(maps, "/t", "/p", "");
    start();
    SeenBox warning;
    fill("", "/x", "/y", "/z", "OK");
    modals.answerBox(QStringLiteral("OK"), &warning);
    main().mnuConfigSetPaths->trigger();
    EXPECT_EQ(warning.caption, QStringLiteral("Warning"));
    EXPECT_EQ(warning.text, QStringLiteral("Please set default paths"));
    EXPECT_EQ(warning.icon, QMessageBox::Information);
    EXPECT_EQ(shell->settings.TargPath, "/t");
    EXPECT_EQ(stored("TargPath"), "/t");
    // The fields keep what was typed for the next showing.
    EXPECT_EQ(shell->frmConfig->Edit2->text(), QStringLiteral("/x"));
}

TEST_F(SetPaths, cancelWithTheNeededPathsSetClosesQuietly)
{
    storeSettings(tree.dir("maps"), "/t", "/p", "");
    start();
    fill("/typed", "/typed", "/typed", "/typed", "Cancel");
    main().mnuConfigSetPaths->trigger();
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
    main().mnuConfigSetPaths->trigger();
    EXPECT_EQ(shown.size(), 4);

    // The second showing's OK applies the fields.
    fill(maps, "/t", "", "", "Cancel");
    modals.answerBox(QStringLiteral("OK"));
    fill(maps, "/t2", "/bin/paked", "", "OK");
    main().mnuConfigSetPaths->trigger();
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
    main().mnuConfigSetPaths->trigger();
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
            auto& chooser = static_cast<TForm1&>(dialog);
            titles << chooser.windowTitle();
            modes.push_back(main().MainMode);
            chooser.editDir->setText(typed);
            PressNamed(chooser, "BitBtn1");
        });
    };
    modals.then([&](QDialog& dialog) {
        auto& config = static_cast<TfrmConfig&>(dialog);
        chooserAnswer(QStringLiteral("/chosen/src"));
        config.btnBrowseSrc->click();
        chooserAnswer(QStringLiteral("/chosen/targ"));
        config.btnBrowseTarg->click();
        chooserAnswer(QStringLiteral("/chosen/pellark"));
        config.btnBrowsePellark->click();
        EXPECT_EQ(config.Edit1->text(), QStringLiteral("/chosen/src"));
        EXPECT_EQ(config.Edit2->text(), QStringLiteral("/chosen/targ"));
        EXPECT_EQ(config.Edit4->text(), QStringLiteral("/chosen/pellark"));
        Press(config, QStringLiteral("Cancel"));
    });
    modals.answerBox(QStringLiteral("OK"));  // Cancel with paths missing warns
    modals.then([](QDialog& dialog) { Press(dialog, QStringLiteral("Cancel")); });
    main().mnuConfigSetPaths->trigger();

    EXPECT_EQ(titles, (QStringList{QStringLiteral("Set Source Directory"), QStringLiteral("Set Target Directory"),
                                   QStringLiteral("Set Pellark Directory")}));
    EXPECT_EQ(modes, (std::vector<int>{PurposeSource, PurposeTarget, PurposePellark}));
    EXPECT_EQ(main().MainMode, ModeIdle);
    EXPECT_EQ(shell->settings.SrcPath, maps);
}

}  // namespace
}  // namespace corvane::ui::test
