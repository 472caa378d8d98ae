#pragma once
// The main window: the "Game Creation" group on the left, the file browser and
// the level's lists on the right, the tool strip, the menu and the status bar.
// It owns the working state of a run: the mode, the loaded level and what the
// launchers started.

#include <string>
#include <string_view>

#include <QMainWindow>

#include "map/loaded_level.h"
#include "settings/key_store.h"
#include "settings/settings.h"
#include "ui/launch.h"

class QAction;
class QCheckBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabBar;
class QToolButton;

namespace corvane::ui {

class DesktopHost;
class DirectoryList;
class DriveBox;
class FileList;
class TForm1;
class TfrmAbout;
class TfrmConfig;
class TfrmInfo;

inline constexpr const char* kMainTitle = "Pellark's Corvane";
inline constexpr const char* kStartMask = "*.map;*.md2;*.pcx;*.wal;*.wav;*.bsp";
inline constexpr const char* kMapMask = "*.map";

class TfrmMain : public QMainWindow, public SettingsView {
    Q_OBJECT
public:
    TfrmMain(Settings& settings, KeyStore& store, DesktopHost& host);
    ~TfrmMain() override;

    // The dialogs are created after the main window; they are handed over here.
    void attachDialogs(TForm1* chooser, TfrmInfo* info, TfrmAbout* about, TfrmConfig* config);

    // SettingsView: where loaded and configured paths are applied.
    void setDrive(char drive) override;
    void setDirectory(const std::string& path) override;
    void setTargetField(const std::string& text) override;

    // The path a double-click in the file list works on: the browsed folder
    // joined with the selected entry's own file name; "" without a selection.
    std::string BrowserEntryPath() const;
    // The text of a status bar panel (0 or 1).
    QString statusText(int panel) const;
    void setStatusText(int panel, std::string_view text);

    // The working state.
    int MainMode = ModeIdle;
    int PreviousMode = ModeIdle;
    LoadedLevel level;
    bool MoveWarningPending = true;
    LaunchResult pakLaunch = 0;
    LaunchResult explorerLaunch = 0;

    // Controls, named as everywhere else in Corvane.
    QGroupBox* GroupBox1;
    QLabel* Label2;
    QLineEdit* editGameDir;
    QPushButton* btnBrowse;
    QLabel* Label1;
    QPushButton* btnPreview;
    QPushButton* btnUseCurrent;
    QFrame* GroupBox3;
    QLabel* Label5;
    QRadioButton* optionCopy;
    QRadioButton* optionMove;
    QCheckBox* chbxPellark;
    QLabel* lblPellark;
    QCheckBox* chbxSky;
    QLabel* lblSky;
    QPushButton* btnCreate;
    QTabBar* TabControl1;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* lblWalCount;
    QLabel* lblWavCount;
    QLabel* lblFsize;
    DriveBox* cboDrive;
    DirectoryList* listDirs;
    FileList* listFiles;
    QListWidget* listWavs;
    QListWidget* listWals;
    QWidget* Panel1;
    QToolButton* speedInfo;
    QToolButton* speedGroupMaps;
    QToolButton* btnExitPreview;
    QToolButton* speedWinExp;
    QToolButton* speedPakExp;
    QStatusBar* StatusBar1;
    QFileDialog* dlgOpen;

    QMenuBar* MainMenu1;
    QMenu* mnuFile;
    QAction* mnuFileOpen;
    QAction* mnuFileNew;
    QAction* N1;
    QAction* mnuFileExit;
    QMenu* mnuConfig;
    QAction* mnuConfigSetPaths;
    QMenu* mnuHelp;
    QAction* mnuHelpContents;
    QAction* mnuHelpIndex;
    QAction* N2;
    QAction* mnuHelpAbout;

public slots:
    void FormCreate();
    void FormShow();
    void FormCloseQuery();
    void mnuFileOpenClick();
    void listFilesDblClick();
    void chbxSkyClick();
    void chbxPellarkClick();
    void btnCreateClick();
    void mnuConfigSetPathsClick();
    void mnuFileNewClick();
    void mnuFileExitClick();
    void btnBrowseClick();
    void btnUseCurrentClick();
    void editGameDirExit();
    void editGameDirChange();
    void UpdatePreviewButton();
    void speedInfoClick();
    void mnuHelpAboutClick();
    void speedPakExpClick();
    void speedWinExpClick();
    void optionMoveClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void connectHandlers();
    // Runs a handler; an error that escapes it goes to the error box.
    void run(void (TfrmMain::*handler)());
    // Loads a level and, when it was read, switches to the level view.
    void loadLevel(const std::string& path);
    void showLevelLists();
    void switchToLevelView();

    Settings& settings_;
    KeyStore& store_;
    DesktopHost& host_;
    TForm1* chooser_ = nullptr;
    TfrmInfo* info_ = nullptr;
    TfrmAbout* about_ = nullptr;
    TfrmConfig* config_ = nullptr;
    QLabel* statusPanels_[2] = {nullptr, nullptr};
    bool closed_ = false;
};

}  // namespace corvane::ui
