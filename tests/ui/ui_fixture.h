#pragma once
// What the window tests share: a sandbox with a settings file, the shell
// started on it, and a script that answers the modal dialogs as they appear.

#include <deque>
#include <functional>
#include <ostream>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QWidget>

class QAbstractItemView;
class QListView;

#include "settings/key_store.h"
#include "settings/qt_key_store.h"
#include "support/temp_tree.h"
#include "ui/main_window.h"
#include "ui/shell.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace corvane::ui {

inline void PrintTo(WindowMode mode, std::ostream* out)
{
    *out << "mode " << static_cast<int>(mode);
}

}  // namespace corvane::ui

namespace corvane::ui::test {

// A message box as the user saw it.
struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;  // in the order shown
};

// Answers modal dialogs in the order they are shown. Each step receives the
// dialog and must close it; a dialog shown with no step left fails the test
// and is closed.
class ModalScript : public QObject {
public:
    using Step = std::function<void(QDialog&)>;
    ModalScript();
    ~ModalScript() override;

    void then(Step step) { steps_.push_back(std::move(step)); }
    // A step for the next dialog, ahead of those queued (for one a step opens).
    void first(Step step) { steps_.push_front(std::move(step)); }
    // A message box: records it and presses the button with that caption.
    void answerBox(const QString& button, SeenBox* seen = nullptr);
    bool done() const { return steps_.empty(); }
    const QStringList& unexpected() const { return unexpected_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::deque<Step> steps_;
    QStringList unexpected_;
};

// The dialog a step was given, as the kind it expects; when it is another
// one, the test fails, the dialog is closed and the result is null.
template <typename Kind>
Kind* Expect(QDialog& dialog, const char* what)
{
    auto* kind = qobject_cast<Kind*>(&dialog);
    if (!kind) {
        ADD_FAILURE() << "expected " << what << ", got " << dialog.windowTitle().toStdString();
        dialog.done(QDialog::Rejected);
    }
    return kind;
}

// The object of that kind and name among the window's own controls and popups
// (not the controls inside the dialogs it owns); a test failure and null when
// there is none.
template <typename Kind>
Kind* Control(QWidget& window, const char* name)
{
    for (Kind* found : window.findChildren<Kind*>(QString::fromLatin1(name))) {
        if constexpr (std::is_base_of_v<QWidget, Kind>) {
            if (found->window() != &window && !found->isWindow())
                continue;
        }
        return found;
    }
    ADD_FAILURE() << "no control " << name << " in " << window.objectName().toStdString();
    return nullptr;
}

// The main window as a test sees it: its controls, found by their object
// names, and what it holds, to read.
struct MainWindowView {
    explicit MainWindowView(TfrmMain& window);

    TfrmMain& window;
    const WindowState& state;
    const WindowLevel& level;
    QString windowTitle() const { return window.windowTitle(); }
    QString statusText(int panel) const { return window.statusText(panel); }

    QGroupBox* const GroupBox1;
    QLabel* const Label2;
    QLineEdit* const editGameDir;
    QPushButton* const btnBrowse;
    QLabel* const Label1;
    QPushButton* const btnPreview;
    QPushButton* const btnUseCurrent;
    QFrame* const GroupBox3;
    QLabel* const Label5;
    QRadioButton* const optionCopy;
    QRadioButton* const optionMove;
    QCheckBox* const chbxPellark;
    QLabel* const lblPellark;
    QCheckBox* const chbxSky;
    QLabel* const lblSky;
    QPushButton* const btnCreate;
    QTabBar* const TabControl1;
    QLabel* const Label3;
    QLabel* const Label4;
    QLabel* const lblWalCount;
    QLabel* const lblWavCount;
    QLabel* const lblFsize;
    DriveBox* const cboDrive;
    DirectoryList* const listDirs;
    FileList* const listFiles;
    QListView* const listWavs;
    QListView* const listWals;
    QWidget* const Panel1;
    QToolButton* const speedInfo;
    QToolButton* const speedGroupMaps;
    QToolButton* const btnExitPreview;
    QToolButton* const speedWinExp;
    QToolButton* const speedPakExp;
    QStatusBar* const StatusBar1;
    QProgressBar* const barProgress;
    QFileDialog* const dlgOpen;
    QMenuBar* const MainMenu1;
    QMenu* const mnuFile;
    QAction* const mnuFileOpen;
    QAction* const mnuFileNew;
    QAction* const N1;
    QAction* const mnuFileExit;
    QMenu* const mnuConfig;
    QAction* const mnuConfigSetPaths;
    QMenu* const mnuHelp;
    QAction* const mnuHelpContents;
    QAction* const mnuHelpIndex;
    QAction* const N2;
    QAction* const mnuHelpAbout;
};

// The object names of the prompt's four buttons, in their order on the dialog.
inline constexpr const char* kPromptButtons[] = {"bbtnYes", "bbtnNo", "bbtnYesAll", "bbtnNoAll"};

// The entries of a list, as shown, whatever kind of list it is.
QStringList Entries(const QAbstractItemView& list);

// Presses the button of a dialog that carries the caption.
void Press(QDialog& dialog, const QString& caption);
// Presses a button of a dialog by its object name.
void PressNamed(QDialog& dialog, const char* name);
// Presses Enter where the keyboard sends it: to the dialog's focused control.
void PressEnter(QDialog& dialog);

// Counts the writes that reach the real store.
class CountingKeyStore : public KeyStore {
public:
    explicit CountingKeyStore(KeyStore& inner) : inner_(inner) {}
    int creates = 0;
    int writes = 0;
    bool OpenKey() override { return inner_.OpenKey(); }
    bool CreateKey() override { ++creates; return inner_.CreateKey(); }
    StoredValue QueryValue(const std::string& name) override { return inner_.QueryValue(name); }
    bool SetValue(const std::string& name, const std::string& text) override
    {
        ++writes;
        return inner_.SetValue(name, text);
    }
    bool FlushKey() override { return inner_.FlushKey(); }

private:
    KeyStore& inner_;
};

class UiTest : public ::testing::Test {
protected:
    UiTest();
    ~UiTest() override;
    void TearDown() override;

    // Writes the settings file as an earlier run would have left it.
    // Without a base game the file has no BaseGamePath, as files from before it.
    void storeSettings(const std::string& src, const std::string& targ, const std::string& pak = "",
                       const std::string& pellark = "", const std::string& baseGame = "");
    // Starts the program on the settings file.
    void start();
    // Starts with the small level in the source folder src/maps and loads it
    // by a double-click; returns the source folder.
    std::string startWithLevel(const std::string& target, const std::string& pak = "",
                               const std::string& pellark = "");
    // The four values in the settings file on disk, "<missing>" for one not there.
    std::string stored(const std::string& name) const;
    bool settingsFileExists() const;

    TfrmMain& main() { return *shell->frmMain; }
    MainWindowView ui() { return MainWindowView(main()); }
    // Makes the main window the active one, so focus changes are real.
    void activate();
    // Loads a level by a double-click on its entry in the file list.
    void doubleClickEntry(const std::string& fileName);
    // Moves the keyboard focus into the target field and types the text there.
    void typeInTarget(const QString& text);
    // The same, and then leaves the field.
    void typeTarget(const QString& text);

    corvane::test::TempTree tree;
    std::string settingsFile;
    ModalScript modals;
    std::unique_ptr<QtKeyStore> realStore;
    std::unique_ptr<CountingKeyStore> store;
    std::unique_ptr<Shell> shell;
};

// A small level with two custom textures, one stock texture and one custom sound.
extern const char* const kSmallLevel;

}  // namespace corvane::ui::test
