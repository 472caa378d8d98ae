#pragma once
// The main window: the "Game Creation" group on the left, the file browser and
// the level's lists on the right, the tool strip, the menu and the status bar.
// It owns the working state of a run: the window's state (see
// window_state.h), the loaded level and what the launchers started.
//
// Every control keeps its established control name (btnCreate, Label3, N1) as
// its object name, which is how tests and documents find it; in C++ the
// meaningful names stay and the opaque ones say what the control is.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QMainWindow>

#include "settings/key_store.h"
#include "settings/settings.h"
#include "transfer/command.h"
#include "transfer/transfer_log.h"
#include "ui/launch.h"
#include "ui/level_model.h"
#include "ui/window_state.h"

class QAction;
class QCheckBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
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
class DirectoryChooser;
class TfrmArchive;
class DirectoryList;
class DriveBox;
class FileList;
class LevelList;
class PictureLoader;
class TexturePreview;
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
    void attachDialogs(DirectoryChooser* chooser, TfrmInfo* info, TfrmAbout* about, TfrmConfig* config);

    // SettingsView: where loaded and configured paths are applied.
    void setDrive(char drive) override;
    void setDirectory(const std::string& path) override;
    void setTargetField(const std::string& text) override;
    // Gives the keyboard focus to the folder list, as the window does when it appears.
    void focusFolders();

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

    // What the window holds, to read.
    const WindowState& state() const { return state_; }
    WindowMode mode() const { return state_.mode; }
    const WindowLevel& level() const { return level_; }
    bool moveWarningPending() const { return moveWarningPending_; }
    LaunchResult pakLaunch() const { return pakLaunch_; }

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
    void chbxCompleteClick();
    void btnCreateClick();
    // Review...: the plan of the transfer Transfer would run, and that
    // transfer with the decisions taken there.
    void btnReviewClick();
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
    void speedPicturesClick();
    void mnuFileBuildArchiveClick();
    // The source folder or the base game changed (Configure): the texture
    // pictures are read again from where they now come from.
    void pictureSourcesChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void connectHandlers();
    // Puts the window's state on its widgets (see the table inside).
    void applyState();
    // Runs a handler; an error that escapes it goes to the error box.
    void run(void (TfrmMain::*handler)());
    // Loads a level and, when it was read, switches to the level view.
    void loadLevel(const std::string& path);
    // Starts a new level from `path` (File > Open, a double-click).
    void beginLevel(const std::string& path);
    void showLevelLists();
    // Fills the texture list, its pictures taken from the working tree and the base game.
    void showTextures(std::vector<std::string> entries);
    // The selected texture in the larger view.
    void showSelectedTexture();
    void switchToLevelView();
    // The size column of the file list and the byte sum in lblFsize.
    void showFileSizes();
    // Each "N Files" counts the list shown beneath it: the browser's files, or
    // beside the folders the level's resources of the compared folder. The
    // level view's counts come with its lists, whose placeholders are no files.
    void showCounts();
    // Puts the sound list and its count on the right (the comparison) or the left.
    void placeSoundList(bool right);
    // Selects a tab without running the tab handler.
    void selectTab(int index);
    // The transfer Transfer runs, to the folder the field shows; nothing
    // when the field's text is refused.
    std::optional<TransferJob> transferJob();
    // Runs it with `host` answering, shows the log and, when it ran
    // through, the window after a transfer.
    void runTransfer(const TransferJob& job, Host& host);
    // The window after a transfer has run through.
    void showTransferred(const std::string& target);
    // Counts the target's bytes into status panel 1 and the caption.
    void countTargetBytes();
    // Tells the user, in a box, why a launch started nothing: `what` failed,
    // then the program or folder, then the reason.
    void reportLaunch(const Launch& launch, const char* what, const std::string& path);
    // Whether the target's maps folder is there and no level is loaded.
    bool previewPossible() const;
    // The target as the field shows it, checked with the full-path rule when
    // a command uses it, whatever happened to the focus before. A refused text
    // gets the full-path box and nothing is returned; a taken one becomes
    // TargPath.
    std::optional<std::string> takeTarget();
    // Takes the target as leaving the field does: with a level loaded, a
    // taken target also unlocks Browse and "Use this" and asks for the options.
    bool leaveTarget();
    // What is the game's own by the BaseGamePath setting (StockRuleFor). A
    // base game that cannot be read is said once in a box, until the setting
    // names another folder, and the folder-name rules hold meanwhile.
    StockRule stockRule();

    Settings& settings_;
    KeyStore& store_;
    DesktopHost& host_;
    DirectoryChooser* chooser_ = nullptr;
    TfrmInfo* info_ = nullptr;
    TfrmAbout* about_ = nullptr;
    TfrmConfig* config_ = nullptr;
    TfrmArchive* archive_ = nullptr;  // made when first used

    // The working state.
    WindowState state_;
    WindowLevel level_;
    bool moveWarningPending_ = true;
    LaunchResult pakLaunch_ = 0;
    LaunchResult explorerLaunch_ = 0;
    // The log of the last transfer, and what outlives one transfer.
    TransferLog transferLog_;
    TransferSession session_;
    bool closed_ = false;
    // The base game the level's lists were split by, and the last one the
    // user was told could not be read.
    std::string levelBaseGame_;
    std::string unreadableBaseGame_;

    // The "Game Creation" group.
    QGroupBox* gameCreationGroup_;
    QLabel* targetLabel_;
    QLineEdit* editGameDir_;
    QPushButton* btnBrowse_;
    QLabel* thisDirectoryLabel_;
    QPushButton* btnPreview_;
    QPushButton* btnUseCurrent_;
    QFrame* optionsRule_;
    QLabel* optionsLabel_;
    QRadioButton* optionCopy_;
    QRadioButton* optionMove_;
    QCheckBox* chbxPellark_;
    QLabel* lblPellark_;
    QCheckBox* chbxSky_;
    QLabel* lblSky_;
    QCheckBox* chbxComplete_;
    QPushButton* btnCreate_;
    QPushButton* btnReview_;

    // The tab strip, the views under it and the tool strip beside it.
    QTabBar* tabViews_;
    QLabel* soundHeading_;
    QLabel* textureHeading_;
    QLabel* lblWalCount_;
    QLabel* lblWavCount_;
    QLabel* lblFsize_;
    DriveBox* cboDrive_;
    DirectoryList* listDirs_;
    FileList* listFiles_;
    LevelList* listWavs_;
    LevelList* listWals_;
    QToolButton* speedPictures_;
    PictureLoader* pictures_;
    TexturePreview* texturePreview_;
    QWidget* toolStrip_;
    QToolButton* speedInfo_;
    QToolButton* speedGroupMaps_;
    QToolButton* btnExitPreview_;
    QToolButton* speedWinExp_;
    QToolButton* speedPakExp_;
    QBoxLayout* leftColumn_ = nullptr;
    QBoxLayout* rightColumn_ = nullptr;
    QBoxLayout* wavHeader_ = nullptr;
    QBoxLayout* walHeader_ = nullptr;

    // The status bar, the file dialog and the menu.
    QStatusBar* statusBar_;
    QLabel* statusPanels_[2] = {nullptr, nullptr};
    QProgressBar* barProgress_;  // in the status bar while long work runs
    QFileDialog* dlgOpen_;
    QMenuBar* menuBar_;
    QMenu* mnuFile_;
    QAction* mnuFileOpen_;
    QAction* mnuFileNew_;
    QAction* mnuFileBuildArchive_;
    QAction* fileMenuSeparator_;
    QAction* mnuFileExit_;
    QMenu* mnuConfig_;
    QAction* mnuConfigSetPaths_;
    QMenu* mnuHelp_;
    QAction* mnuHelpContents_;
    QAction* mnuHelpIndex_;
    QAction* helpMenuSeparator_;
    QAction* mnuHelpAbout_;
};

}  // namespace corvane::ui
