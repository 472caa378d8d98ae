// The small dialogs and tools: the overwrite prompt through the Host, the
// Information dialog with the Move warning, About, the Pellark choice and the
// launchers.

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/types.h>
#include <sys/wait.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "ui/about_dialog.h"
#include "ui/directory_chooser.h"
#include "ui/info_dialog.h"
#include "ui/prompt_dialog.h"
#include "ui_fixture.h"

namespace corvane::ui::test {
namespace {

namespace fs = std::filesystem;

class Prompt : public UiTest {
protected:
    void SetUp() override
    {
        storeSettings(tree.dir("maps"), "");
        start();
    }
    // Answers the prompt by a key or a button, noting what it showed.
    void answerWith(std::function<void(TfrmMyMsg&)> action)
    {
        modals.then([this, action](QDialog& dialog) {
            auto& prompt = static_cast<TfrmMyMsg&>(dialog);
            caption = prompt.windowTitle();
            memo = Control<QPlainTextEdit>(prompt, "memoStatus")->toPlainText();
            visible.clear();
            for (const char* name : kPromptButtons) {
                const QPushButton* button = Control<QPushButton>(prompt, name);
                visible << (button->isVisible() ? button->text() : QString());
            }
            action(prompt);
        });
    }
    QString caption, memo;
    QStringList visible;
};

TEST_F(Prompt, showsTheRequestAndEscapePressesNo)
{
    PromptRequest request;
    request.caption = "Textures dir exists! TOWN";
    request.lines = {"Overwrite?", "  ", "/t/a.wal\tdate"};
    request.showYesToAll = request.showNoToAll = true;
    answerWith([](TfrmMyMsg& prompt) { QTest::keyClick(&prompt, Qt::Key_Escape); });
    EXPECT_EQ(shell->host.showPrompt(request), OverwriteAnswer::No);
    EXPECT_EQ(caption, QStringLiteral("Textures dir exists! TOWN"));
    EXPECT_EQ(memo, QStringLiteral("Overwrite?\n  \n/t/a.wal\tdate"));
    EXPECT_EQ(visible, (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("Ye&s to All"),
                                    QStringLiteral("No to &All ")}));

    // Enter presses the button that has the focus, not a default one.
    answerWith([](TfrmMyMsg& prompt) {
        Control<QPushButton>(prompt, "bbtnYesAll")->setFocus();
        QTest::keyClick(Control<QPushButton>(prompt, "bbtnYesAll"), Qt::Key_Return);
    });
    EXPECT_EQ(shell->host.showPrompt(request), OverwriteAnswer::YesToAll);
}

TEST_F(Prompt, eachUseOpensWithTheFocusOnItsSafestButton)
{
    const PromptRequest all = PromptRequest::OverwriteQuestion("Textures dir exists! TOWN", {"Overwrite?"},
                                                              PromptButtons::All);
    struct Case {
        PromptRequest request;
        const char* focused;
        OverwriteAnswer enter;
    };
    const Case cases[] = {
        {all, "bbtnNo", OverwriteAnswer::No},
        {PromptRequest::OverwriteQuestion("File Exists!", {"Overwrite?"}, PromptButtons::YesNo), "bbtnNo",
         OverwriteAnswer::No},
        {PromptRequest::ContinueQuestion("File Exists!", {"Continue?"}), "bbtnNoAll", OverwriteAnswer::NoToAll},
        {PromptRequest::Notice("File Does Not Exist!", {"DOES NOT EXIST:"}, false, "&Ok"), "bbtnYes",
         OverwriteAnswer::Yes},
    };
    for (const Case& use : cases) {
        // The use before was answered with a click on Yes to All, which took the focus.
        answerWith([](TfrmMyMsg& prompt) {
            QTest::mouseClick(Control<QPushButton>(prompt, "bbtnYesAll"), Qt::LeftButton);
        });
        ASSERT_EQ(shell->host.showPrompt(all), OverwriteAnswer::YesToAll);

        QString focused;
        answerWith([&](TfrmMyMsg& prompt) {
            focused = prompt.focusWidget() ? prompt.focusWidget()->objectName() : QString();
            PressEnter(prompt);
        });
        EXPECT_EQ(shell->host.showPrompt(use.request), use.enter) << use.request.caption;
        EXPECT_EQ(focused, QString::fromLatin1(use.focused)) << use.request.caption;
    }
}

TEST_F(Prompt, relabelledButtonsGetTheirCaptionsBackAndEscapeFindsTheVisibleCancel)
{
    PromptRequest request;
    request.caption = "Target";
    request.showNo = false;
    request.showNoToAll = true;
    request.yesCaption = "&Ok";
    request.noToAllCaption = "Cancel";
    answerWith([](TfrmMyMsg& prompt) { QTest::keyClick(&prompt, Qt::Key_Escape); });
    EXPECT_EQ(shell->host.showPrompt(request), OverwriteAnswer::NoToAll);
    EXPECT_EQ(visible, (QStringList{QStringLiteral("&Ok"), QString(), QString(), QStringLiteral("Cancel")}));
    EXPECT_EQ(Control<QPushButton>(*shell->frmMyMsg, "bbtnYes")->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(Control<QPushButton>(*shell->frmMyMsg, "bbtnNoAll")->text(), QStringLiteral("No to &All "));
}

TEST_F(Prompt, withoutACancelButtonNeitherEscapeNorTheCloseRequestEndsIt)
{
    PromptRequest request;
    request.caption = "Missing";
    request.showNo = false;
    bool stillOpen = false;
    answerWith([&](TfrmMyMsg& prompt) {
        QTest::keyClick(&prompt, Qt::Key_Escape);
        prompt.close();
        stillOpen = prompt.isVisible();
        Control<QPushButton>(prompt, "bbtnYes")->click();
    });
    EXPECT_EQ(shell->host.showPrompt(request), OverwriteAnswer::Yes);
    EXPECT_TRUE(stillOpen);
}

TEST_F(Prompt, messageBoxesShowTheirButtonsInTheOrderAsked)
{
    SeenBox seen;
    modals.answerBox(QStringLiteral("&No"), &seen);
    const MessageResult result = shell->host.messageBox(
        {"Replace?", "Question", MessageIcon::Warning, {MessageButton::Yes, MessageButton::No, MessageButton::Cancel}});
    EXPECT_EQ(result, MessageButton::No);
    EXPECT_EQ(seen.buttons, (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("Cancel")}));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
}

class Tools : public UiTest {
protected:
    void useTarget()
    {
        startWithLevel(tree.dir("game"));
        ui().btnUseCurrent->click();
    }
};

TEST_F(Tools, theMoveWarningClosesAnOpenInformationDialogFirstAndCanBeSuppressed)
{
    useTarget();
    TfrmInfo& info = *shell->frmInfo;
    info.setLines({"Copied: town/wall.wal"}, {"Problems: 0 failed, 1 missing, 0 refused", "Missing: /w/x.wal"});
    main().speedInfoClick();
    ASSERT_TRUE(info.isVisible());
    ASSERT_FALSE(info.isModal());
    EXPECT_TRUE(Control<QPlainTextEdit>(info, "memoProblems")->isVisible());

    QString warning;
    bool boxShown = false;
    bool problemsShown = true;
    modals.then([&](QDialog& dialog) {
        warning = Control<QPlainTextEdit>(static_cast<TfrmInfo&>(dialog), "memoInfo")->toPlainText();
        problemsShown = Control<QPlainTextEdit>(info, "memoProblems")->isVisible();
        boxShown =
            Control<QCheckBox>(info, "chbxDontShow")->isVisible() && Control<QLabel>(info, "lblAgain")->isVisible();
        Control<QCheckBox>(info, "chbxDontShow")->setChecked(true);
        PressNamed(dialog, "bbtnOkay");
    });
    ui().optionMove->click();
    EXPECT_EQ(warning, QStringLiteral("Moving files is NOT RECCOMMENDED!\n  \nCopying files is much safer and allows "
                                      "you to keep your working textures folders intact.\n  \nChoose Move Files only "
                                      "if you will no longer keep these textures in your common texture library."));
    EXPECT_TRUE(boxShown);
    EXPECT_FALSE(problemsShown) << "the transfer's problems are not the warning's";
    EXPECT_EQ(Control<QLabel>(info, "lblAgain")->text(), QStringLiteral("Don't show this message again"));
    EXPECT_TRUE(ui().optionMove->isChecked());
    EXPECT_FALSE(main().moveWarningPending());
    EXPECT_TRUE(Control<QCheckBox>(info, "chbxDontShow")->isHidden());
    EXPECT_FALSE(info.isVisible());

    // Suppressed for the rest of the run.
    ui().optionCopy->click();
    ui().optionMove->click();
    EXPECT_TRUE(ui().optionMove->isChecked());
}

TEST_F(Tools, theInformationDialogClosesOnlyByContinue)
{
    storeSettings(tree.dir("maps"), "");
    start();
    TfrmInfo& info = *shell->frmInfo;
    main().speedInfoClick();
    QTest::keyClick(&info, Qt::Key_Escape);
    info.close();
    EXPECT_TRUE(info.isVisible());
    Control<QPushButton>(info, "bbtnOkay")->click();
    EXPECT_FALSE(info.isVisible());
}

TEST_F(Tools, aboutOpensFromTheHelpMenuAndClosesWithOk)
{
    storeSettings(tree.dir("maps"), "");
    start();
    QString title, by;
    modals.then([&](QDialog& dialog) {
        auto& about = static_cast<TfrmAbout&>(dialog);
        title = about.windowTitle();
        by = Control<QLabel>(about, "lblBy")->text();
        PressNamed(about, "OKButton");
    });
    ui().mnuHelpAbout->trigger();
    EXPECT_EQ(title, QStringLiteral("About"));
    EXPECT_EQ(by, QStringLiteral("by"));
}

TEST_F(Tools, includePellarkAsksForTheFolderAndRefusesWithoutOne)
{
    useTarget();
    int modeWhileOpen = -1;
    modals.then([&](QDialog& dialog) {
        modeWhileOpen = static_cast<int>(shell->chooser->purpose());
        PressNamed(dialog, "BitBtn2");
    });
    SeenBox refusal;
    modals.answerBox(QStringLiteral("OK"), &refusal);
    ui().chbxPellark->click();
    EXPECT_EQ(modeWhileOpen, static_cast<int>(ChooserPurpose::Pellark));
    EXPECT_EQ(main().mode(), WindowMode::MapLoaded);
    EXPECT_EQ(refusal.caption, QStringLiteral("Errror"));
    EXPECT_EQ(refusal.text,
              QStringLiteral("Can't copy Pellark Directory - NOT DEFINED!\n\n Use the Configure menu to set Pellark directory."));
    EXPECT_EQ(refusal.icon, QMessageBox::Critical);
    EXPECT_FALSE(ui().chbxPellark->isChecked());

    const std::string chosen = tree.dir("pellark");
    modals.then([&](QDialog& dialog) {
        static_cast<QDialog&>(dialog).findChild<QLineEdit*>(QStringLiteral("editDir"))->setText(QString::fromStdString(chosen));
        PressNamed(dialog, "BitBtn1");
    });
    ui().chbxPellark->click();
    EXPECT_EQ(shell->settings.PellarkPath, chosen);
    EXPECT_EQ(ui().lblPellark->text(), QString::fromStdString(chosen));
    ui().chbxPellark->click();
    EXPECT_EQ(ui().lblPellark->text(), QString());
}

// A launch that starts nothing says so in the window: what failed, the
// program or folder, and why.
TEST_F(Tools, aLaunchThatStartsNothingSaysWhatFailedAndWhy)
{
    useTarget();
    const std::string script = tree.file("bin/paked", "#!/bin/sh\n");
    fs::permissions(script, fs::perms::owner_all);
    const std::string notes = tree.file("bin/notes.txt", "not a program");
    const std::string gone = tree.path("gone");
    struct Case {
        std::string pak;
        std::string target;
        std::string text;
    };
    const std::string pakFailed = "Could not start the pak utility:\n";
    const Case cases[] = {
        {tree.path("bin/missing"), tree.path("game"), pakFailed + tree.path("bin/missing") + "\nNo such file or directory"},
        {notes, tree.path("game"), pakFailed + notes + "\nPermission denied"},
        {script, gone, pakFailed + script + "\nThe folder it is to start in does not exist: " + gone},
    };
    for (const Case& launch : cases) {
        shell->settings.PakPath = launch.pak;
        shell->settings.TargPath = launch.target;
        SeenBox seen;
        modals.answerBox(QStringLiteral("OK"), &seen);
        ui().speedPakExp->click();
        EXPECT_EQ(seen.text, QString::fromStdString(launch.text));
        EXPECT_EQ(seen.caption, QStringLiteral("Corvane"));
        EXPECT_EQ(seen.icon, QMessageBox::Warning);
        EXPECT_EQ(main().pakLaunch(), 0);
    }

    SeenBox explorer;
    modals.answerBox(QStringLiteral("OK"), &explorer);
    ui().speedWinExp->click();
    EXPECT_EQ(explorer.text, QString::fromStdString("Could not open the folder in the file manager:\n" + gone +
                                                    "\nThe folder does not exist."));

    // Cancelling "Locate Pak Utility" is an answer, not a failure: nothing starts, nothing is said.
    shell->settings.PakPath.clear();
    modals.then([](QDialog& dialog) { dialog.reject(); });
    ui().speedPakExp->click();
    EXPECT_EQ(shell->settings.PakPath, "");
}

TEST_F(Tools, thePakLauncherLocatesTheUtilityOnceAndClosingLeavesItRunning)
{
    // A utility that records its working folder and then keeps running.
    const std::string out = tree.path("paked.out");
    const std::string utility = tree.file("bin/paked", "#!/bin/sh\npwd > \"" + out + "\"\nexec sleep 30\n");
    fs::permissions(utility, fs::perms::owner_all);
    useTarget();
    QString title;
    modals.then([&](QDialog& dialog) {
        auto& open = static_cast<QFileDialog&>(dialog);
        title = open.windowTitle();
        open.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(utility));
        static_cast<QDialog&>(open).accept();
    });
    ui().speedPakExp->click();
    EXPECT_EQ(title, QStringLiteral("Locate Pak Utility"));
    EXPECT_EQ(shell->settings.PakPath, utility);
    const pid_t started = static_cast<pid_t>(main().pakLaunch());
    ASSERT_GT(started, 0);
    for (int i = 0; i < 200 && !fs::exists(out); ++i)
        QTest::qWait(10);

    main().close();
    QTest::qWait(100);
    EXPECT_EQ(kill(started, 0), 0) << "the utility was stopped with Corvane";
    EXPECT_EQ(stored("PakPath"), utility);
    kill(started, SIGTERM);
    std::ifstream cwd(out);
    std::string folder;
    std::getline(cwd, folder);
    EXPECT_EQ(folder, tree.path("game"));
}

}  // namespace
}  // namespace corvane::ui::test
