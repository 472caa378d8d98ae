// The target controls: the field's leave and change handlers, "Use this",
// Browse with the directory chooser, and when Preview is enabled.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QTest>

#include "ui/browser.h"
#include "ui/directory_chooser.h"
#include "ui_fixture.h"

namespace corvane::ui::test {
namespace {

class TargetField : public UiTest {
protected:
    void loadLevel()
    {
        target = tree.dir("game");
        maps = startWithLevel(target);
        activate();
    }
    std::string maps;
    std::string target;
};

TEST_F(TargetField, aPathWithoutItsRootIsRefusedWithABeepAndTheOldTargetStays)
{
    loadLevel();
    ui().btnUseCurrent->setEnabled(false);
    SeenBox refusal;
    modals.answerBox(QStringLiteral("Cancel"), &refusal);
    const std::size_t beeps = shell->host.alertCount();
    typeTarget(QStringLiteral("game/dir"));

    EXPECT_EQ(shell->host.alertCount(), beeps + 1);
    EXPECT_EQ(refusal.caption, QStringLiteral("Error"));
    EXPECT_EQ(refusal.text, QStringLiteral("Please specify a full path.\nExample: /home/user/MyLevel"));
    EXPECT_EQ(refusal.icon, QMessageBox::Information);
    EXPECT_EQ(refusal.buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}));
    EXPECT_EQ(shell->settings.TargPath, target);
    EXPECT_EQ(ui().editGameDir->text(), QStringLiteral("game/dir"));
    EXPECT_FALSE(ui().btnUseCurrent->isEnabled());
}

TEST_F(TargetField, aFullPathBecomesTheTargetAndEnablesUseThis)
{
    loadLevel();
    ui().btnUseCurrent->setEnabled(false);
    typeTarget(QStringLiteral("/srv/games/new level"));
    EXPECT_EQ(shell->settings.TargPath, "/srv/games/new level");
    EXPECT_TRUE(ui().btnUseCurrent->isEnabled());
    EXPECT_TRUE(ui().btnBrowse->isEnabled());
    EXPECT_EQ(main().statusText(0), QStringLiteral("Select options, then click Transfer."));
}

TEST_F(TargetField, anEmptyOrShortFullPathIsTakenWithoutEnablingUseThis)
{
    loadLevel();
    ui().btnUseCurrent->setEnabled(false);
    typeTarget(QString());
    EXPECT_EQ(shell->settings.TargPath, "");
    EXPECT_FALSE(ui().btnUseCurrent->isEnabled());
    EXPECT_EQ(main().statusText(0), QStringLiteral("Select options, then click Transfer."));
    typeTarget(QStringLiteral("/g"));
    EXPECT_EQ(shell->settings.TargPath, "/g");
    EXPECT_FALSE(ui().btnUseCurrent->isEnabled());
}

TEST_F(TargetField, leavingTheFieldWithoutALevelChangesNothing)
{
    storeSettings(tree.dir("maps"), "/old/target");
    start();
    activate();
    typeTarget(QStringLiteral("not/full"));
    typeTarget(QStringLiteral("/new/target"));
    EXPECT_EQ(shell->settings.TargPath, "/old/target");
}

TEST_F(TargetField, useThisUnlocksTheOptionsAndPutsTheTargetBack)
{
    loadLevel();
    ASSERT_TRUE(ui().btnUseCurrent->isEnabled());
    ui().btnUseCurrent->click();
    const MainWindowView w = ui();
    EXPECT_FALSE(w.btnBrowse->isEnabled());
    EXPECT_FALSE(w.btnUseCurrent->isEnabled());
    EXPECT_FALSE(w.btnPreview->isEnabled());
    for (QWidget* option : std::initializer_list<QWidget*>{w.btnCreate, w.optionMove, w.optionCopy, w.chbxPellark,
                                                           w.chbxSky})
        EXPECT_TRUE(option->isEnabled()) << option->objectName().toStdString();
    EXPECT_TRUE(w.editGameDir->isEnabled());
    EXPECT_EQ(w.editGameDir->text(), QString::fromStdString(target));

    w.chbxSky->click();
    EXPECT_EQ(w.lblSky->text(), QStringLiteral("dusk"));
    w.chbxSky->click();
    EXPECT_EQ(w.lblSky->text(), QString());
}

// Typing and never leaving the field (a menu, a shortcut or a click that
// takes no focus) still gives the commands the target the field shows.
TEST_F(TargetField, useThisTakesTheTextTheFieldShowsAndRefusesARelativeOne)
{
    loadLevel();
    const std::string other = tree.dir("other game");
    typeInTarget(QStringLiteral("other game"));
    ASSERT_TRUE(ui().editGameDir->hasFocus());
    SeenBox refusal;
    modals.answerBox(QStringLiteral("OK"), &refusal);
    const std::size_t beeps = shell->host.alertCount();
    ui().btnUseCurrent->click();
    EXPECT_EQ(refusal.text, QStringLiteral("Please specify a full path.\nExample: /home/user/MyLevel"));
    EXPECT_EQ(refusal.caption, QStringLiteral("Error"));
    EXPECT_EQ(shell->host.alertCount(), beeps + 1);
    EXPECT_FALSE(ui().optionCopy->isEnabled() || ui().btnCreate->isEnabled());
    EXPECT_EQ(shell->settings.TargPath, target);

    typeInTarget(QString::fromStdString(other));
    ui().btnUseCurrent->click();
    EXPECT_EQ(shell->settings.TargPath, other);
    EXPECT_EQ(ui().editGameDir->text(), QString::fromStdString(other));
    EXPECT_TRUE(ui().optionCopy->isEnabled() && ui().btnCreate->isEnabled());
    EXPECT_EQ(main().statusText(0), QStringLiteral("Select options, then click Transfer."));
}

TEST_F(TargetField, browseOpensOnTheFolderTheFieldShowsAndRefusesARelativeOne)
{
    loadLevel();
    typeInTarget(QStringLiteral("games/x"));
    modals.answerBox(QStringLiteral("OK"));  // and no chooser after it
    ui().btnBrowse->click();
    EXPECT_EQ(shell->settings.TargPath, target);

    const std::string other = tree.dir("other");
    typeInTarget(QString::fromStdString(other));
    QString opened;
    modals.then([&](QDialog& dialog) {
        opened = Control<QLineEdit>(dialog, "editDir")->text();
        PressNamed(dialog, "BitBtn2");
    });
    ui().btnBrowse->click();
    EXPECT_EQ(opened, QString::fromStdString(other));
    EXPECT_EQ(shell->settings.TargPath, other);
}

// A click on a command that takes the target checks a refused text once, not
// once for leaving the field and again for the command.
TEST_F(TargetField, aClickFromTheFieldOntoUseThisRefusesOnce)
{
    loadLevel();
    typeInTarget(QStringLiteral("games/x"));
    modals.answerBox(QStringLiteral("OK"));
    QTest::mouseClick(ui().btnUseCurrent, Qt::LeftButton);
    EXPECT_FALSE(ui().btnCreate->isEnabled());
    EXPECT_EQ(shell->settings.TargPath, target);
}

using PreviewButton = UiTest;

TEST_F(PreviewButton, followsTheMapsFolderOfTheTargetAtStart)
{
    const std::string target = tree.dir("game");
    storeSettings(tree.dir("maps"), target);
    start();
    EXPECT_FALSE(ui().btnPreview->isEnabled());
    shell.reset();

    tree.dir("game/maps");
    start();
    EXPECT_TRUE(ui().btnPreview->isEnabled());
}

TEST_F(PreviewButton, typingAnExistingFolderEnablesItOnlyWithoutALevel)
{
    const std::string maps = tree.dir("src/maps");
    tree.file("src/maps/small.map", kSmallLevel);
    const std::string other = tree.dir("other");
    storeSettings(maps, "");
    start();
    ui().editGameDir->setText(QString::fromStdString(other));
    EXPECT_TRUE(ui().btnPreview->isEnabled());
    ui().editGameDir->setText(QString::fromStdString(tree.path("missing")));
    EXPECT_FALSE(ui().btnPreview->isEnabled());

    doubleClickEntry("small.map");
    EXPECT_FALSE(ui().btnPreview->isEnabled());
    ui().editGameDir->setText(QString::fromStdString(other));
    EXPECT_FALSE(ui().btnPreview->isEnabled());
}

class Chooser : public UiTest {
protected:
    // Answers the chooser: notes its title, the mode while open and its path
    // field, then sets the field (when given) and presses a button.
    void answerChooser(const char* button, QString typed = {})
    {
        modals.then([this, button, typed](QDialog& dialog) {
            auto& chooser = static_cast<DirectoryChooser&>(dialog);
            titles << chooser.windowTitle();
            modesWhileOpen.push_back(static_cast<int>(chooser.purpose()));
            fieldsShown << Control<QLineEdit>(chooser, "editDir")->text();
            if (!typed.isNull())
                Control<QLineEdit>(chooser, "editDir")->setText(typed);
            PressNamed(chooser, button);
        });
    }
    QStringList titles;
    std::vector<int> modesWhileOpen;
    QStringList fieldsShown;
};

TEST_F(Chooser, browseInTheIdleModeFillsTheFieldButKeepsTheTarget)
{
    const std::string target = tree.dir("game");
    const std::string picked = tree.dir("picked");
    storeSettings(tree.dir("maps"), target);
    start();
    answerChooser("BitBtn1", QString::fromStdString(picked));
    ui().btnBrowse->click();

    EXPECT_EQ(titles, QStringList{QStringLiteral("Set Target Directory")});
    EXPECT_EQ(modesWhileOpen, std::vector<int>{static_cast<int>(ChooserPurpose::Target)});
    // It opened on the stored target.
    EXPECT_EQ(fieldsShown, QStringList{QString::fromStdString(target)});
    EXPECT_EQ(main().mode(), WindowMode::Idle);
    EXPECT_EQ(ui().editGameDir->text(), QString::fromStdString(picked));
    EXPECT_EQ(shell->settings.TargPath, target);
    EXPECT_TRUE(ui().btnPreview->isEnabled());
}

TEST_F(Chooser, browseWithALevelTakesTheChoiceAsTargetAndCancelChangesOnlyPreview)
{
    const std::string maps = startWithLevel("");
    answerChooser("BitBtn1", QStringLiteral("/brand/new/dir"));
    ui().btnBrowse->click();
    EXPECT_EQ(modesWhileOpen.back(), static_cast<int>(ChooserPurpose::Target));
    EXPECT_EQ(main().mode(), WindowMode::MapLoaded);
    EXPECT_EQ(shell->settings.TargPath, "/brand/new/dir");
    EXPECT_FALSE(ui().btnPreview->isEnabled());

    // Browse opens on the folder the field shows, which is the target from
    // then on, and enables Preview for an existing folder whatever the mode.
    ui().editGameDir->setText(QString::fromStdString(maps));
    answerChooser("BitBtn2", QStringLiteral("/ignored"));
    ui().btnBrowse->click();
    EXPECT_EQ(fieldsShown.back(), QString::fromStdString(maps));
    EXPECT_EQ(ui().editGameDir->text(), QString::fromStdString(maps));
    EXPECT_EQ(shell->settings.TargPath, maps);
    EXPECT_TRUE(ui().btnPreview->isEnabled());
}

TEST_F(Chooser, remembersWhereItWasLeftWhenTheStoredPathDoesNotExist)
{
    const std::string first = tree.dir("first");
    storeSettings(tree.dir("maps"), first, "", "/no/such/pellark");
    start();
    // Moves the chooser to a subfolder, then cancels.
    const std::string sub = tree.dir("first/sub");
    modals.then([&](QDialog& dialog) {
        auto& chooser = static_cast<DirectoryChooser&>(dialog);
        Control<DirectoryList>(chooser, "DirectoryListBox1")->setDirectory(sub);
        fieldsShown << Control<QLineEdit>(chooser, "editDir")->text();
        PressNamed(chooser, "BitBtn2");
    });
    ui().btnBrowse->click();
    EXPECT_EQ(fieldsShown, QStringList{QString::fromStdString(sub)});

    // The Pellark purpose's stored path is missing: it opens where it was left.
    answerChooser("BitBtn2");
    EXPECT_FALSE(shell->chooser->choose(ChooserPurpose::Pellark).has_value());
    EXPECT_EQ(titles, QStringList{QStringLiteral("Set Pellark Directory")});
    EXPECT_EQ(fieldsShown.back(), QString::fromStdString(sub));
    EXPECT_EQ(Control<DirectoryList>(*shell->chooser, "DirectoryListBox1")->directory(), sub);
    EXPECT_EQ(main().mode(), WindowMode::Idle);
}

}  // namespace
}  // namespace corvane::ui::test
