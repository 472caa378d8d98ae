#pragma once
// The main window's state: its mode and everything that decides which of its
// controls are shown and which can be used. The handlers change this
// description through the steps below, named as the window's commands name
// them, and TfrmMain::applyState() puts it on the widgets in one table. Plain
// C++, so that the steps are tested without a display.

namespace corvane::ui {

// One yes-or-no of the description. It remembers that a step has set it
// (to a new value or to the one it had), so that applying the state touches
// exactly the controls the steps have spoken about since the last time.
class Setting {
public:
    Setting(bool value) : value_(value) {}  // NOLINT: reads as the bool it holds
    Setting(const Setting&) = default;
    Setting& operator=(bool value)
    {
        value_ = value;
        pending_ = true;
        return *this;
    }
    // Taking another setting's value sets this one, as a bool would.
    Setting& operator=(const Setting& other) { return *this = other.value_; }
    operator bool() const { return value_; }  // NOLINT: reads as the bool it holds

    // True once after each time it was set (and at first).
    bool takePending()
    {
        const bool pending = pending_;
        pending_ = false;
        return pending;
    }

private:
    bool value_;
    bool pending_ = true;
};

// The window's mode. The values are those the rest of the program has always
// used for them.
enum class WindowMode : int {
    Idle = 0,         // no level: the browser shows the source folder
    MapLoaded = 1,    // a level is loaded and the target is being chosen
    Transferred = 2,  // the level has been transferred; the browser walks the target
    Preview = 4,      // an existing target's maps folder is shown
};

struct WindowState {
    WindowMode mode = WindowMode::Idle;
    WindowMode modeBeforePreview = WindowMode::Idle;  // where Exit preview returns to

    // The "Game Creation" group.
    Setting targetEditable = true;    // editGameDir
    Setting browseEnabled = true;     // btnBrowse
    Setting previewEnabled = true;    // btnPreview
    Setting useThisEnabled = false;   // btnUseCurrent
    Setting optionsEnabled = false;   // optionCopy, optionMove, chbxPellark, chbxSky, chbxComplete
    Setting transferEnabled = false;  // btnCreate
    // What the two option boxes say; ticking or unticking one by hand is
    // recorded here by its own handler.
    Setting skyIncluded = false;      // chbxSky
    Setting pellarkIncluded = false;  // chbxPellark
    // chbxComplete: a choice kept in the settings (Settings::CompleteRelease),
    // so unlike the two above no step unticks it; it is locked with them.
    Setting completeRelease = false;

    // The menu, the tool strip and the browser's drive box.
    Setting openEnabled = true;        // File > Open
    Setting toolsShown = false;        // speedInfo, speedGroupMaps, speedWinExp, speedPakExp
    Setting exitPreviewShown = false;  // btnExitPreview
    Setting driveBoxEnabled = true;    // cboDrive: a transfer disables it for good

    // The tab strip and the views under it.
    Setting tabsEnabled = false;
    Setting compareOffered = false;   // tab 1 reads "Compare" rather than "N/A"
    bool compareTextures = false;  // what the browsed folder was last compared as
    bool compareSounds = false;
    Setting pooled = false;           // tab 2 reads ".maps" rather than ".map"
    int lastTab = 0;               // the tab last accepted

    Setting browserShown = true;          // cboDrive and listFiles
    Setting foldersShown = true;          // listDirs
    Setting textureListShown = false;     // listWals and its pictures toggle, speedPictures
    // The texture list shows pictures rather than names (speedPictures
    // ticked), with the selected texture larger beneath it; the user's
    // choice, kept from level to level.
    Setting texturePictures = false;
    Setting soundListShown = false;       // listWavs
    Setting soundsBesideFiles = false;    // listWavs and its count in the right-hand column
    Setting soundHeadingShown = false;    // Label3, "Files" over the sounds
    Setting textureHeadingShown = false;  // Label4, "Files" over the textures or files
    Setting textureCountShown = true;     // lblWalCount
    Setting soundCountShown = true;       // lblWavCount
    Setting fileSizeSumShown = true;      // lblFsize
};

// The steps of the commands. Each changes what its command shows and leaves
// the rest as it was.

// A level is about to be loaded by the user (File > Open, a double-click, the
// command line): whatever depended on an earlier level starts again as at the
// first load. The options are locked and unticked until "Use this", and the
// tabs have their first captions.
void BeginLevel(WindowState& state);
// A level was loaded (or pooled): its two lists, with their headings and
// counts, replace the browser, as the level tab shows them.
void ShowLevelView(WindowState& state);
// Tab 0: the browser with the file count and the size sum.
void ShowBrowserTab(WindowState& state);
// Tab 1: the folders beside the level's resources of the browsed folder;
// sounds (when the folder is a sound folder) move beside the files.
void ShowCompareTab(WindowState& state);
// Tab 2: the level's whole lists with their counts.
void ShowLevelListsTab(WindowState& state);
// File > New, before it moves the browser back to the source folder: the
// lists and their headings go, the options are locked and unticked.
void BeginFileNew(WindowState& state);
// File > New, once the browser is back: the start state, with the count
// labels hidden.
void EndFileNew(WindowState& state);
// "Use this": the target is taken; the options and Transfer are offered.
void UseTarget(WindowState& state);
// A transfer ran through: the tools appear and the target group is locked.
void LockAfterTransfer(WindowState& state);

// Whether File > Build archive... is offered: once a transfer has filled the
// target folder, and while an existing one is previewed.
bool ArchiveOffered(const WindowState& state);

}  // namespace corvane::ui
