#pragma once
// The main window: the "Game Creation" group on the left, the file browser and
// the level's lists on the right, the tool strip, the menu and the status bar.
// It owns the working state of a run: the mode, the loaded level and what the
// launchers started.

#include <cstdint>
#include <string>
#include <string_view>

#include <QMainWindow>

#include "ui/level_model.h"
#include "settings/key_store.h"
#include "settings/settings.h"
#include "transfer/command.h"
#include "transfer/transfer_log.h"
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
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabBar;
class QToolButton;
class QBoxLayout;

namespace corvane::ui {

class DesktopHost;
class DirectoryList;
class DriveBox;
class FileList;
class TForm1;
class TfrmAbout;
class TfrmConfig;
class TfrmInfo;

// The main window's mode.
enum MainMode : int {
    ModeIdle = 0,
    ModeMapLoaded = 1,
    ModeTransferred = 2,
    ModePreview = 4,
    ModeChoosePellark = 8,
};

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
    // What long work shows in the status bar: its step and how far it has
    // come in panel 0, and the progress bar; and hiding the bar again.
    void showProgress(std::string_view what, std::uint64_t done, std::uint64_t total);
    void hideProgress();

    // The working state.
    int MainMode = ModeIdle;
    int PreviousMode = ModeIdle;
    WindowLevel level;
    bool MoveWarningPending = true;
    LaunchResult pakLaunch = 0;
    LaunchResult explorerLaunch = 0;
    // The tab the tab handler last accepted, and what the comparison view
    // found in the browsed path.
    int LastTabIndex = 0;
    bool CompareTextures = false;
    bool CompareSounds = false;
    // The log of the last transfer, and what outlives one transfer.
    TransferLog transferLog;
    TransferSession session;

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
    QProgressBar* barProgress;  // in the status bar while long work runs
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
    // Loads the level at path as File > Open does once a file is chosen.
    void OpenLevel(const std::string& path);
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
    void listDirsChange();
    void TabControl1Change();
    void speedGroupMapsClick();
    void btnPreviewClick();
    void btnExitPreviewClick();

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
    // The size column of the file list and the byte sum in lblFsize.
    void showFileSizes();
    // Puts the sound list and its count on the right (the comparison) or the left.
    void placeSoundList(bool right);
    // Selects a tab without running the tab handler.
    void selectTab(int index);
    // The window after a transfer has run through.
    void showTransferred(const std::string& target);
    // Counts the target's bytes into status panel 1 and the caption.
    void countTargetBytes();

    Settings& settings_;
    KeyStore& store_;
    DesktopHost& host_;
    TForm1* chooser_ = nullptr;
    TfrmInfo* info_ = nullptr;
    TfrmAbout* about_ = nullptr;
    TfrmConfig* config_ = nullptr;
    QLabel* statusPanels_[2] = {nullptr, nullptr};
    QBoxLayout* leftColumn_ = nullptr;
    QBoxLayout* rightColumn_ = nullptr;
    QBoxLayout* wavHeader_ = nullptr;
    QBoxLayout* walHeader_ = nullptr;
    bool closed_ = false;
};

}  // namespace corvane::ui
