#include "ui/main_window.h"

#include <array>
#include <optional>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "archive/base_game.h"
#include "platform/error.h"
#include "platform/file_ops.h"
#include "platform/paths.h"
#include "platform/shown_name.h"
#include "map/compare.h"
#include "transfer/byte_total.h"
#include "transfer/decisions.h"
#include "ui/browser.h"
#include "ui/directory_chooser.h"
#include "ui/config_dialog.h"
#include "ui/desktop_host.h"
#include "ui/info_dialog.h"
#include "ui/about_dialog.h"
#include "ui/archive_dialog.h"
#include "ui/level_list.h"
#include "ui/plan_marks.h"
#include "ui/review_dialog.h"
#include "ui/texture_pictures.h"
#include "ui/texture_preview.h"
#include "ui/text.h"

namespace corvane::ui {

namespace {

constexpr const char* kSelectMapFile = "Select a .map file";
constexpr const char* kSelectFile = "Select a file";
constexpr const char* kChooseTarget = "Choose target directory";
constexpr const char* kSelectOptions = "Select options, then click Transfer.";
#ifdef _WIN32
constexpr const char* kFullPathExample = "Please specify a full path.\nExample: C:\\MyLevel";
#else
constexpr const char* kFullPathExample = "Please specify a full path.\nExample: /home/user/MyLevel";
#endif

QToolButton* SpeedButton(QWidget* parent, const char* name, const char* hint, QStyle::StandardPixmap glyph)
{
    auto* button = Named(new QToolButton(parent), name);
    button->setIcon(parent->style()->standardIcon(glyph));
    button->setIconSize(QSize(22, 22));
    button->setToolTip(QString::fromLatin1(hint));
    button->setAutoRaise(true);
    return button;
}

QAction* MenuItem(QMenu* menu, const char* name, const char* caption)
{
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* MenuSeparator(QMenu* menu, const char* name)
{
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

TfrmMain::TfrmMain(Settings& settings, KeyStore& store, DesktopHost& host)
    : settings_(settings), store_(store), host_(host)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    buildControls();
    buildMenu();
    applyState();
    connectHandlers();

    resize(900, 600);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::attachDialogs(DirectoryChooser* chooser, TfrmInfo* info, TfrmAbout* about, TfrmConfig* config)
{
    chooser_ = chooser;
    info_ = info;
    about_ = about;
    config_ = config;
}

void TfrmMain::buildControls()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);

    // The "Game Creation" group.
    gameCreationGroup_ = Named(new QGroupBox(QStringLiteral("Game Creation"), central), "GroupBox1");
    targetLabel_ = Named(new QLabel(QStringLiteral("Target Directory"), gameCreationGroup_), "Label2");
    editGameDir_ = Named(new QLineEdit(gameCreationGroup_), "editGameDir");
    targetLabel_->setBuddy(editGameDir_);
    btnBrowse_ = Named(new QPushButton(QStringLiteral("Browse"), gameCreationGroup_), "btnBrowse");
    btnBrowse_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    thisDirectoryLabel_ = Named(new QLabel(QStringLiteral("This directory"), gameCreationGroup_), "Label1");
    btnPreview_ = Named(new QPushButton(QStringLiteral("Preview "), gameCreationGroup_), "btnPreview");
    btnUseCurrent_ = Named(new QPushButton(QStringLiteral("Use this"), gameCreationGroup_), "btnUseCurrent");
    optionsRule_ = Named(new QFrame(gameCreationGroup_), "GroupBox3");
    optionsRule_->setFrameShape(QFrame::HLine);
    optionsRule_->setFrameShadow(QFrame::Sunken);
    optionsLabel_ = Named(new QLabel(QStringLiteral("Options"), gameCreationGroup_), "Label5");
    optionCopy_ = Named(new QRadioButton(QStringLiteral("Copy files"), gameCreationGroup_), "optionCopy");
    optionCopy_->setChecked(true);
    optionMove_ = Named(new QRadioButton(QStringLiteral("Move files "), gameCreationGroup_), "optionMove");
    optionMove_->setToolTip(QStringLiteral("Allows testing your pak"));
    chbxPellark_ = Named(new QCheckBox(QStringLiteral("Include Pellark tree"), gameCreationGroup_), "chbxPellark");
    lblPellark_ = Named(new QLabel(gameCreationGroup_), "lblPellark");
    lblPellark_->setWordWrap(true);
    chbxSky_ = Named(new QCheckBox(QStringLiteral("Include sky"), gameCreationGroup_), "chbxSky");
    lblSky_ = Named(new QLabel(gameCreationGroup_), "lblSky");
    chbxComplete_ = Named(new QCheckBox(QStringLiteral("Complete release"), gameCreationGroup_), "chbxComplete");
    chbxComplete_->setToolTip(QStringLiteral(
        "Also ship what the game loads with the level beyond its textures and sounds: animation frames, "
        "true-colour images, the models entities name and their skins, and the sounds and pictures entities name"));
    btnCreate_ = Named(new QPushButton(QStringLiteral("&Transfer"), gameCreationGroup_), "btnCreate");
    btnCreate_->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    btnCreate_->setIconSize(QSize(24, 24));
    btnCreate_->setMinimumHeight(40);
    btnReview_ = Named(new QPushButton(QStringLiteral("&Review..."), gameCreationGroup_), "btnReview");
    btnReview_->setToolTip(QStringLiteral("See every file of the transfer and decide what to replace first"));
    btnReview_->setMinimumHeight(40);

    auto* group = new QGridLayout(gameCreationGroup_);
    group->addWidget(targetLabel_, 0, 0, 1, 3);
    group->addWidget(editGameDir_, 1, 0, 1, 2);
    group->addWidget(btnBrowse_, 1, 2);
    group->addWidget(thisDirectoryLabel_, 2, 0);
    group->addWidget(btnPreview_, 2, 1);
    group->addWidget(btnUseCurrent_, 2, 2);
    group->addWidget(optionsRule_, 3, 0, 1, 3);
    group->addWidget(optionsLabel_, 4, 0, 1, 3);
    group->addWidget(optionCopy_, 5, 0, 1, 3);
    group->addWidget(optionMove_, 6, 0, 1, 3);
    group->addWidget(chbxPellark_, 7, 0, 1, 3);
    group->addWidget(lblPellark_, 8, 0, 1, 3);
    group->addWidget(chbxSky_, 9, 0, 1, 3);
    group->addWidget(lblSky_, 10, 0, 1, 3);
    group->addWidget(chbxComplete_, 11, 0, 1, 3);
    group->setRowStretch(12, 1);
    group->addWidget(btnCreate_, 13, 0, 1, 2);
    group->addWidget(btnReview_, 13, 2);
    group->setColumnStretch(0, 1);
    group->setColumnStretch(1, 1);
    lblPellark_->setIndent(24);
    lblSky_->setIndent(24);

    // The tool strip at the top right.
    toolStrip_ = Named(new QWidget(central), "Panel1");
    speedInfo_ = SpeedButton(toolStrip_, "speedInfo", "Display Info", QStyle::SP_MessageBoxInformation);
    speedGroupMaps_ = SpeedButton(toolStrip_, "speedGroupMaps", "Pool all resources from target directory",
                                 QStyle::SP_FileDialogListView);
    btnExitPreview_ = SpeedButton(toolStrip_, "btnExitPreview", "Exit preview mode", QStyle::SP_DialogCloseButton);
    speedWinExp_ = SpeedButton(toolStrip_, "speedWinExp", "Launch Explorer", QStyle::SP_DirLinkIcon);
    speedPakExp_ = SpeedButton(toolStrip_, "speedPakExp", "Launch PakEd", QStyle::SP_ComputerIcon);
    auto* strip = new QHBoxLayout(toolStrip_);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->addStretch();
    for (QToolButton* button : {speedInfo_, speedGroupMaps_, btnExitPreview_, speedWinExp_, speedPakExp_})
        strip->addWidget(button);
    toolStrip_->setMinimumHeight(30);

    // The tab strip and the views under it.
    tabViews_ = Named(new QTabBar(central), "TabControl1");
    tabViews_->addTab(QStringLiteral("Tree"));
    tabViews_->addTab(QStringLiteral("N/A"));
    tabViews_->addTab(QStringLiteral(".map"));
    tabViews_->setCurrentIndex(0);
    tabViews_->setExpanding(false);

    auto* area = Named(new QFrame(central), "TabArea");
    area->setFrameShape(QFrame::StyledPanel);
    soundHeading_ = Named(new QLabel(QStringLiteral("Files"), area), "Label3");
    textureHeading_ = Named(new QLabel(QStringLiteral("Files"), area), "Label4");
    lblWavCount_ = Named(new QLabel(area), "lblWavCount");
    lblWalCount_ = Named(new QLabel(area), "lblWalCount");
    lblFsize_ = Named(new QLabel(area), "lblFsize");
    lblFsize_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    cboDrive_ = Named(new DriveBox(area), "cboDrive");
    listDirs_ = Named(new DirectoryList(area), "listDirs");
    cboDrive_->followDirectory(listDirs_->directory());
    listFiles_ = Named(new FileList(area), "listFiles");
    listFiles_->setMask(kStartMask);
    listFiles_->setDirectory(listDirs_->directory());
    listWavs_ = Named(new LevelList(area), "listWavs");
    listWals_ = Named(new LevelList(area), "listWals");
    pictures_ = new PictureLoader(this);
    speedPictures_ = SpeedButton(area, "speedPictures", "Show the textures as pictures",
                                 QStyle::SP_FileDialogContentsView);
    speedPictures_->setCheckable(true);
    speedPictures_->setIconSize(QSize(16, 16));
    texturePreview_ = Named(new TexturePreview(*pictures_, area), "TexturePreview");
    texturePreview_->hide();

    // Two columns; the comparison of sounds moves the sound list and its
    // count from the left column to the right one.
    wavHeader_ = new QHBoxLayout;
    wavHeader_->addWidget(lblWavCount_);
    wavHeader_->addWidget(soundHeading_);
    wavHeader_->addStretch();
    walHeader_ = new QHBoxLayout;
    walHeader_->addWidget(lblWalCount_);
    walHeader_->addWidget(textureHeading_);
    walHeader_->addStretch();
    walHeader_->addWidget(lblFsize_);
    walHeader_->addWidget(speedPictures_);
    // Both headings stand as high as the toggle, so that the two lists start level.
    wavHeader_->addStrut(speedPictures_->sizeHint().height());
    walHeader_->addStrut(speedPictures_->sizeHint().height());

    leftColumn_ = new QVBoxLayout;
    leftColumn_->addWidget(cboDrive_);
    leftColumn_->addLayout(wavHeader_);
    leftColumn_->addWidget(listDirs_, 1);
    leftColumn_->addWidget(listWavs_, 1);
    rightColumn_ = new QVBoxLayout;
    rightColumn_->addLayout(walHeader_);
    rightColumn_->addWidget(listFiles_, 1);
    rightColumn_->addWidget(listWals_, 1);
    rightColumn_->addWidget(texturePreview_);
    auto* views = new QHBoxLayout(area);
    views->addLayout(leftColumn_, 1);
    views->addLayout(rightColumn_, 1);

    auto* tabRow = new QHBoxLayout;
    tabRow->addWidget(tabViews_);
    tabRow->addWidget(toolStrip_, 1);
    auto* rightSide = new QVBoxLayout;
    rightSide->setSpacing(0);
    rightSide->addLayout(tabRow);
    rightSide->addWidget(area, 1);

    auto* layout = new QHBoxLayout(central);
    layout->addWidget(gameCreationGroup_, 0);
    layout->addLayout(rightSide, 1);
    gameCreationGroup_->setMinimumWidth(300);

    // The status bar with its two panels.
    statusBar_ = Named(new QStatusBar(this), "StatusBar1");
    setStatusBar(statusBar_);
    statusPanels_[0] = Named(new QLabel(statusBar_), "StatusBar1Panel0");
    statusPanels_[1] = Named(new QLabel(statusBar_), "StatusBar1Panel1");
    statusPanels_[0]->setMinimumWidth(395);
    statusPanels_[1]->setMinimumWidth(160);
    statusBar_->addWidget(statusPanels_[0], 1);
    barProgress_ = Named(new QProgressBar(statusBar_), "barProgress");
    barProgress_->setMaximumWidth(160);
    barProgress_->setTextVisible(false);
    barProgress_->hide();
    statusBar_->addPermanentWidget(barProgress_);
    statusBar_->addPermanentWidget(statusPanels_[1]);

    dlgOpen_ = Named(new QFileDialog(this), "dlgOpen");
    dlgOpen_->setOption(QFileDialog::DontUseNativeDialog);
    dlgOpen_->setFileMode(QFileDialog::ExistingFile);
    dlgOpen_->setAcceptMode(QFileDialog::AcceptOpen);
    dlgOpen_->setNameFilter(QStringLiteral("map (*.map)"));
    dlgOpen_->setDefaultSuffix(QStringLiteral("map"));
    dlgOpen_->selectFile(QStringLiteral("*.map"));
}

void TfrmMain::buildMenu()
{
    menuBar_ = Named(new QMenuBar(this), "MainMenu1");
    setMenuBar(menuBar_);
    mnuFile_ = Named(menuBar_->addMenu(QStringLiteral("&File")), "mnuFile");
    mnuFileOpen_ = MenuItem(mnuFile_, "mnuFileOpen", "&Open");
    mnuFileOpen_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileNew_ = MenuItem(mnuFile_, "mnuFileNew", "&New");
    mnuFileNew_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFileBuildArchive_ = MenuItem(mnuFile_, "mnuFileBuildArchive", "Build &archive...");
    mnuFileBuildArchive_->setStatusTip(QStringLiteral("Pack the target folder into one archive for a release"));
    fileMenuSeparator_ = MenuSeparator(mnuFile_, "N1");
    mnuFileExit_ = MenuItem(mnuFile_, "mnuFileExit", "E&xit");
    mnuConfig_ = Named(menuBar_->addMenu(QStringLiteral("&Configure")), "mnuConfig");
    mnuConfigSetPaths_ = MenuItem(mnuConfig_, "mnuConfigSetPaths", "Set paths...");
    mnuHelp_ = Named(menuBar_->addMenu(QStringLiteral("&Help")), "mnuHelp");
    mnuHelpContents_ = MenuItem(mnuHelp_, "mnuHelpContents", "&Contents");
    mnuHelpIndex_ = MenuItem(mnuHelp_, "mnuHelpIndex", "&Index");
    helpMenuSeparator_ = MenuSeparator(mnuHelp_, "N2");
    mnuHelpAbout_ = MenuItem(mnuHelp_, "mnuHelpAbout", "&About");
}

void TfrmMain::run(void (TfrmMain::*handler)())
{
    RunGuarded(host_, [&] { (this->*handler)(); });
}

void TfrmMain::connectHandlers()
{
    const auto on = [this](auto* sender, auto signal, void (TfrmMain::*handler)()) {
        connect(sender, signal, this, [this, handler] { run(handler); });
    };
    on(mnuFileOpen_, &QAction::triggered, &TfrmMain::mnuFileOpenClick);
    on(mnuFileNew_, &QAction::triggered, &TfrmMain::mnuFileNewClick);
    on(mnuFileBuildArchive_, &QAction::triggered, &TfrmMain::mnuFileBuildArchiveClick);
    on(mnuFileExit_, &QAction::triggered, &TfrmMain::mnuFileExitClick);
    on(mnuConfigSetPaths_, &QAction::triggered, &TfrmMain::mnuConfigSetPathsClick);
    on(mnuHelpAbout_, &QAction::triggered, &TfrmMain::mnuHelpAboutClick);
    on(listFiles_, &QListWidget::itemDoubleClicked, &TfrmMain::listFilesDblClick);
    on(chbxSky_, &QCheckBox::toggled, &TfrmMain::chbxSkyClick);
    on(chbxPellark_, &QCheckBox::toggled, &TfrmMain::chbxPellarkClick);
    on(chbxComplete_, &QCheckBox::toggled, &TfrmMain::chbxCompleteClick);
    on(btnCreate_, &QPushButton::clicked, &TfrmMain::btnCreateClick);
    on(btnReview_, &QPushButton::clicked, &TfrmMain::btnReviewClick);
    on(btnBrowse_, &QPushButton::clicked, &TfrmMain::btnBrowseClick);
    on(btnUseCurrent_, &QPushButton::clicked, &TfrmMain::btnUseCurrentClick);
    on(editGameDir_, &QLineEdit::textChanged, &TfrmMain::editGameDirChange);
    on(speedInfo_, &QToolButton::clicked, &TfrmMain::speedInfoClick);
    on(speedPakExp_, &QToolButton::clicked, &TfrmMain::speedPakExpClick);
    on(speedWinExp_, &QToolButton::clicked, &TfrmMain::speedWinExpClick);
    on(speedGroupMaps_, &QToolButton::clicked, &TfrmMain::speedGroupMapsClick);
    on(btnPreview_, &QPushButton::clicked, &TfrmMain::btnPreviewClick);
    on(btnExitPreview_, &QToolButton::clicked, &TfrmMain::btnExitPreviewClick);
    on(tabViews_, &QTabBar::currentChanged, &TfrmMain::TabControl1Change);
    on(speedPictures_, &QToolButton::toggled, &TfrmMain::speedPicturesClick);
    on(listWals_->selectionModel(), &QItemSelectionModel::currentChanged, &TfrmMain::showSelectedTexture);
    on(listWals_->entryModel(), &QAbstractItemModel::modelReset, &TfrmMain::showSelectedTexture);
    connect(optionMove_, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            run(&TfrmMain::optionMoveClick);
    });
    // The leave handler: the keyboard focus leaving the target field.
    editGameDir_->installEventFilter(this);

    // The browser: the drive box moves the directory list, which refills the file list.
    connect(cboDrive_, &DriveBox::driveChosen, this, [this](const std::string& path) {
        RunGuarded(host_, [&] { listDirs_->setDirectory(path); });
    });
    connect(listDirs_, &DirectoryList::directoryChanged, this, [this](const std::string& path) {
        cboDrive_->followDirectory(path);
        listFiles_->setDirectory(path);
        run(&TfrmMain::listDirsChange);
    });
    // Every refill of the file list (a new folder or a new mask) shows the sizes and the count.
    connect(listFiles_, &FileList::refilled, this, [this] {
        run(&TfrmMain::showFileSizes);
        run(&TfrmMain::showCounts);
    });
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editGameDir_ && event->type() == QEvent::FocusOut) {
        // Leaving the field for another control; not the window losing the
        // focus to a menu, a dialog or another program. A click on a button
        // that takes the target itself checks it there, once.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const QWidget* next = QApplication::focusWidget();
        const bool takenByNext = reason == Qt::MouseFocusReason &&
                                 (next == btnCreate_ || next == btnReview_ || next == btnUseCurrent_ ||
                                  next == btnPreview_ || next == btnBrowse_);
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !takenByNext)
            run(&TfrmMain::editGameDirExit);
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- the window's state -------------------------------------------------------

void TfrmMain::applyState()
{
    WindowState& s = state_;
    struct Row {
        Setting& setting;
        std::array<QWidget*, 5> widgets;  // the controls it decides; unused places are null
    };

    // What can be used.
    const Row usable[] = {
        {s.targetEditable, {editGameDir_}},
        {s.browseEnabled, {btnBrowse_}},
        {s.previewEnabled, {btnPreview_}},
        {s.useThisEnabled, {btnUseCurrent_}},
        {s.optionsEnabled, {optionCopy_, optionMove_, chbxPellark_, chbxSky_, chbxComplete_}},
        {s.transferEnabled, {btnCreate_, btnReview_}},
        {s.driveBoxEnabled, {cboDrive_}},
        {s.tabsEnabled, {tabViews_}},
    };
    for (const Row& row : usable) {
        if (row.setting.takePending()) {
            for (QWidget* widget : row.widgets) {
                if (widget)
                    widget->setEnabled(row.setting);
            }
        }
    }
    if (s.openEnabled.takePending())
        mnuFileOpen_->setEnabled(s.openEnabled);
    mnuFileBuildArchive_->setEnabled(ArchiveOffered(s));

    // What is ticked; unticking a box runs its handler, which empties its label.
    if (s.skyIncluded.takePending())
        chbxSky_->setChecked(s.skyIncluded);
    if (s.pellarkIncluded.takePending())
        chbxPellark_->setChecked(s.pellarkIncluded);
    if (s.completeRelease.takePending())
        chbxComplete_->setChecked(s.completeRelease);

    // What is shown: what appears first, then what goes.
    const Row shown[] = {
        {s.toolsShown, {speedInfo_, speedGroupMaps_, speedWinExp_, speedPakExp_}},
        {s.exitPreviewShown, {btnExitPreview_}},
        {s.browserShown, {cboDrive_, listFiles_}},
        {s.foldersShown, {listDirs_}},
        {s.textureListShown, {listWals_, speedPictures_}},
        {s.soundListShown, {listWavs_}},
        {s.soundHeadingShown, {soundHeading_}},
        {s.textureHeadingShown, {textureHeading_}},
        {s.textureCountShown, {lblWalCount_}},
        {s.soundCountShown, {lblWavCount_}},
        {s.fileSizeSumShown, {lblFsize_}},
    };
    std::vector<QWidget*> going;
    for (const Row& row : shown) {
        if (!row.setting.takePending())
            continue;
        for (QWidget* widget : row.widgets) {
            if (!widget)
                continue;
            if (row.setting)
                widget->show();
            else
                going.push_back(widget);
        }
    }
    for (QWidget* widget : going)
        widget->hide();
    if (s.soundsBesideFiles.takePending())
        placeSoundList(s.soundsBesideFiles);

    // The texture list's pictures, and the larger view beneath it while both are shown.
    if (s.texturePictures.takePending()) {
        speedPictures_->setChecked(s.texturePictures);
        listWals_->showPictures(s.texturePictures ? pictures_ : nullptr);
        showSelectedTexture();
    }
    if (const bool preview = s.textureListShown && s.texturePictures; texturePreview_->isHidden() == preview)
        texturePreview_->setVisible(preview);

    // The tabs' captions.
    if (s.compareOffered.takePending())
        tabViews_->setTabText(1, s.compareOffered ? QStringLiteral("Compare") : QStringLiteral("N/A"));
    if (s.pooled.takePending())
        tabViews_->setTabText(2, s.pooled ? QStringLiteral(".maps") : QStringLiteral(".map"));
}

// --- SettingsView -----------------------------------------------------------

void TfrmMain::setDrive(char drive)
{
    cboDrive_->selectDrive(drive);
}

void TfrmMain::setDirectory(const std::string& path)
{
    listDirs_->setDirectory(path);
}

void TfrmMain::setTargetField(const std::string& text)
{
    editGameDir_->setText(Q(text));
}

void TfrmMain::focusFolders()
{
    listDirs_->setFocus(Qt::OtherFocusReason);
}

// --- status and lists ---------------------------------------------------------

QString TfrmMain::statusText(int panel) const
{
    return statusPanels_[panel == 0 ? 0 : 1]->text();
}

void TfrmMain::setStatusText(int panel, std::string_view text)
{
    statusPanels_[panel == 0 ? 0 : 1]->setText(Q(text));
}

std::string TfrmMain::BrowserEntryPath() const
{
    const QListWidgetItem* item = listFiles_->currentItem();
    if (!item || !item->isSelected())
        return {};
    return JoinPath(listFiles_->directory(), FileList::EntryFileName(*item));
}

void TfrmMain::showLevelLists()
{
    showTextures(level_.listWals);
    listWavs_->setEntries(level_.listWavs);
    lblWalCount_->setText(Q(level_.lblWalCount));
    lblWavCount_->setText(Q(level_.lblWavCount));
}

void TfrmMain::showTextures(std::vector<std::string> entries)
{
    pictures_->setSources({TexturesFolder(settings_.SrcPath), settings_.BaseGamePath});
    listWals_->setEntries(std::move(entries));
}

void TfrmMain::pictureSourcesChanged()
{
    // A loaded level's lists follow the base game: what it has is the game's own.
    const bool levelShown = (state_.mode == WindowMode::MapLoaded || state_.mode == WindowMode::Transferred) &&
                            !state_.pooled && !level_.CurrentMapPath.empty();
    if (levelShown && settings_.BaseGamePath != levelBaseGame_) {
        ResplitWindowLevel(level_, stockRule());
        levelBaseGame_ = settings_.BaseGamePath;
        if (tabViews_->currentIndex() == 2)
            showLevelLists();
    }
    const PictureSources now{TexturesFolder(settings_.SrcPath), settings_.BaseGamePath};
    if (now == pictures_->sources())
        return;
    pictures_->setSources(now);
    listWals_->reloadPictures();
    showSelectedTexture();
}

void TfrmMain::speedPicturesClick()
{
    state_.texturePictures = speedPictures_->isChecked();
    applyState();
}

void TfrmMain::showSelectedTexture()
{
    const QModelIndex current = listWals_->currentIndex();
    if (!state_.texturePictures || !current.isValid()) {
        texturePreview_->clear();
        return;
    }
    texturePreview_->showEntry(current.row(), listWals_->entries()[static_cast<std::size_t>(current.row())]);
}

void TfrmMain::loadLevel(const std::string& path)
{
    const LoadNaming naming = state_.mode == WindowMode::MapLoaded ? LoadNaming::NameLevel : LoadNaming::Quiet;
    bool loaded = false;
    try {
        levelBaseGame_ = settings_.BaseGamePath;
        loaded = LoadLevelIntoWindow(path, naming, level_, host_, stockRule()).scanned;
    } catch (...) {
        showLevelLists();
        throw;
    }
    showLevelLists();
    if (loaded)
        switchToLevelView();
}

StockRule TfrmMain::stockRule()
{
    const std::shared_ptr<const BaseGameIndex> index = SharedBaseGame(settings_.BaseGamePath);
    if (!index)
        return StockRule();
    if (index->ok()) {
        unreadableBaseGame_.clear();
        return StockRule(index);
    }
    if (unreadableBaseGame_ != settings_.BaseGamePath) {
        unreadableBaseGame_ = settings_.BaseGamePath;
        std::string reason;
        for (const ArchiveWarning& warning : index->warnings())
            reason += "\n" + warning.text();
        host_.messageBox({"Can't read the base game:\n" + ShownName(settings_.BaseGamePath) + "\n" + reason +
                              "\n\nUntil it can be read, textures in e1u1..e3u3, sounds in world and the "
                              "game's skies are taken for the game's own.\nSet the base game in Configure > "
                              "Set paths...",
                          "Base game", MessageIcon::Warning, {MessageButton::Ok}});
    }
    return StockRule();
}

void TfrmMain::switchToLevelView()
{
    ShowLevelView(state_);
    applyState();
    selectTab(2);
    setStatusText(0, kChooseTarget);
    editGameDir_->setText(Q(settings_.TargPath));
    if (!editGameDir_->text().isEmpty()) {
        state_.useThisEnabled = true;
        applyState();
    }
    editGameDir_->setFocus(Qt::OtherFocusReason);
}

// --- start and close ----------------------------------------------------------

void TfrmMain::FormCreate()
{
    setWindowTitle(QString::fromLatin1(kMainTitle));
    lblPellark_->clear();
    lblSky_->clear();
    lblWalCount_->clear();
    lblWavCount_->clear();
    editGameDir_->clear();

    // An error while the settings are read is shown once the window is complete.
    std::optional<Error> failure;
    try {
        LoadSettings(settings_, store_, *this);
    } catch (const std::exception& error) {
        failure.emplace(error.what());
    }

    // The complete-release box says what the settings remember, also when reading them failed later on.
    state_.completeRelease = settings_.CompleteRelease;
    applyState();

    level_ = WindowLevel{};
    setStatusText(0, kSelectMapFile);
    setStatusText(1, "");
    state_.mode = WindowMode::Idle;
    UpdatePreviewButton();
    if (failure)
        ShowErrorBox(host_, *failure);
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    FormShow();
}

void TfrmMain::FormShow()
{
    focusFolders();
}

void TfrmMain::FormCloseQuery()
{
    if (closed_)
        return;
    closed_ = true;
    EmptyWindowLevel(level_);
    SaveSettings(settings_, store_);
    // What the launchers started keeps running: nothing is sent to it.
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // Not in the middle of a command's long work: closing is refused until it has ended.
    if (host_.working()) {
        event->ignore();
        return;
    }
    run(&TfrmMain::FormCloseQuery);
    event->accept();
    QCoreApplication::quit();
}

void TfrmMain::mnuFileExitClick()
{
    run(&TfrmMain::FormCloseQuery);
    close();
    QCoreApplication::quit();
}

// --- loading a level ------------------------------------------------------------

void TfrmMain::mnuFileOpenClick()
{
    dlgOpen_->setWindowTitle(QStringLiteral("Open ") + Q(settings_.SrcPath));
    dlgOpen_->selectFile(Q(settings_.SrcPath + Separator() + "*.map"));
    if (dlgOpen_->exec() != QDialog::Accepted || dlgOpen_->selectedFiles().isEmpty())
        return;
    OpenLevel(Bytes(dlgOpen_->selectedFiles().front()));
}

void TfrmMain::OpenLevel(const std::string& path)
{
    beginLevel(path);
}

void TfrmMain::beginLevel(const std::string& path)
{
    EmptyWindowLevel(level_);
    showLevelLists();
    BeginLevel(state_);
    applyState();
    loadLevel(path);
    state_.previewEnabled = false;
    applyState();
}

void TfrmMain::listFilesDblClick()
{
    const std::string path = BrowserEntryPath();
    if (path.empty())
        return;
    if (state_.mode == WindowMode::Idle) {
        settings_.SrcPath = listDirs_->directory();
        beginLevel(path);
        return;
    }
    // A level is loaded: a pak file goes to the pak utility, anything else is left alone.
    if (AsciiLower(std::string(FileExtension(path))) == "pak")
        reportLaunch(LaunchProgram(settings_.PakPath, {path}, listDirs_->directory()),
                     "Could not start the pak utility:", settings_.PakPath);
}

void TfrmMain::reportLaunch(const Launch& launch, const char* what, const std::string& path)
{
    if (launch.failed())
        host_.messageBox({what + ("\n" + path + "\n" + launch.failure), kApplicationTitle, MessageIcon::Warning,
                          {MessageButton::Ok}});
}

// --- options --------------------------------------------------------------------

void TfrmMain::chbxSkyClick()
{
    state_.skyIncluded = chbxSky_->isChecked();
    ApplySkyChoice(level_, chbxSky_->isChecked());
    lblSky_->setText(Q(level_.lblSky));
}

void TfrmMain::chbxPellarkClick()
{
    state_.pellarkIncluded = chbxPellark_->isChecked();
    if (!chbxPellark_->isChecked()) {
        lblPellark_->clear();
        return;
    }
    if (settings_.PellarkPath.empty()) {
        if (const std::optional<std::string> chosen = chooser_->choose(ChooserPurpose::Pellark))
            settings_.PellarkPath = *chosen;
    }
    if (settings_.PellarkPath.empty()) {
        host_.messageBox({"Can't copy Pellark Directory - NOT DEFINED!\n\n Use the Configure menu to set Pellark "
                          "directory.",
                          "Errror", MessageIcon::Error, {MessageButton::Ok}});
        chbxPellark_->setChecked(false);
        return;
    }
    lblPellark_->setText(Q(settings_.PellarkPath));
}

void TfrmMain::chbxCompleteClick()
{
    state_.completeRelease = chbxComplete_->isChecked();
    settings_.CompleteRelease = chbxComplete_->isChecked();
}

std::optional<TransferJob> TfrmMain::transferJob()
{
    // One target for every step: the folder the field shows.
    const std::optional<std::string> target = takeTarget();
    if (!target)
        return std::nullopt;
    TransferJob job;
    job.target = *target;
    job.targPath = *target;
    job.srcPath = settings_.SrcPath;
    job.currentMapPath = level_.CurrentMapPath;
    job.mode = optionMove_->isChecked() ? TransferMode::Move : TransferMode::Copy;
    job.includeSky = chbxSky_->isChecked();
    job.skyName = Bytes(lblSky_->text());
    job.includePellark = chbxPellark_->isChecked();
    job.pellarkPath = settings_.PellarkPath;
    job.complete = chbxComplete_->isChecked();
    job.basePath = settings_.BaseGamePath;
    return job;
}

void TfrmMain::runTransfer(const TransferJob& job, Host& host)
{
    TransferReport report;
    {
        const DesktopHost::Work work(host_);
        report = RunTransferCommand(job, level_, session_, transferLog_, host);
    }
    if (report.outcome != TransferOutcome::RanThrough)
        return;

    setStatusText(0, "Done!");
    info_->setWindowTitle(QStringLiteral("Information"));
    std::vector<std::string> below = ProblemSummary(report);
    const std::vector<std::string> warnings = WarningLines(report);
    below.insert(below.end(), warnings.begin(), warnings.end());
    info_->setLines(transferLog_.lines(), below);
    info_->showModally();
    showTransferred(job.target);
}

void TfrmMain::btnCreateClick()
{
    if (const std::optional<TransferJob> job = transferJob())
        runTransfer(*job, host_);
}

void TfrmMain::btnReviewClick()
{
    const std::optional<TransferJob> job = transferJob();
    if (!job)
        return;
    TfrmReview review(*job, level_, this);
    if (review.exec() != QDialog::Accepted)
        return;
    DecidedHost decided(host_, review.plan(), review.decisions());
    runTransfer(*job, decided);
}

void TfrmMain::showTransferred(const std::string& target)
{
    state_.toolsShown = true;
    state_.exitPreviewShown = false;
    cboDrive_->selectDrive(DriveCharacter(target));
    state_.driveBoxEnabled = false;
    applyState();
    listDirs_->setDirectory(target);
    LockAfterTransfer(state_);
    applyState();
    state_.mode = WindowMode::Transferred;
    listFiles_->setMask("*.*");
    cboDrive_->selectDrive(settings_.TargetDrive);
    listDirs_->setDirectory(JoinPath(settings_.TargPath, "maps"));
    state_.tabsEnabled = true;
    applyState();
    selectTab(0);
    TabControl1Change();
}

// --- progress ---------------------------------------------------------------------

void TfrmMain::showProgress(std::string_view what, std::uint64_t done, std::uint64_t total)
{
    const auto count = [](std::uint64_t n) { return FormatByteCount(std::to_string(n)); };
    std::string text(what);
    if (total > 0)
        text += ": " + count(done) + " of " + count(total);
    else if (done > 0)
        text += ": " + count(done) + " files";
    else
        text += "...";
    setStatusText(0, text);
    if (total > 0) {
        barProgress_->setRange(0, 1000);
        barProgress_->setValue(static_cast<int>(std::min<std::uint64_t>(done, total) * 1000 / total));
    } else {
        barProgress_->setRange(0, 0);  // the end is not known: a busy bar
    }
    barProgress_->show();
}

void TfrmMain::hideProgress()
{
    barProgress_->hide();
}

// --- the browser: sizes, comparison and tabs -----------------------------------------

void TfrmMain::showFileSizes()
{
    qsizetype longest = 0;
    for (int row = 0; row < listFiles_->count(); ++row)
        longest = std::max(longest, listFiles_->item(row)->text().size());
    std::uint64_t sum = 0;
    for (int row = 0; row < listFiles_->count(); ++row) {
        QListWidgetItem* item = listFiles_->item(row);
        listFiles_->setCurrentItem(item);
        const std::uint64_t size = FileSize(JoinPath(listFiles_->directory(), FileList::EntryFileName(*item)));
        sum += size;
        item->setText(item->text().leftJustified(longest) + QString::number(size).rightJustified(8));
    }
    lblFsize_->setText(Q(FormatByteCount(std::to_string(sum))));
}

void TfrmMain::listDirsChange()
{
    if (state_.mode != WindowMode::Transferred)
        return;
    const bool comparing = state_.foldersShown && !state_.browserShown;  // the comparison is on screen
    const FolderComparison comparison =
        CompareFolder(listDirs_->directory(), level_.TextureList, level_.SoundList);
    state_.compareTextures = comparison.textures;
    state_.compareSounds = comparison.sounds;
    state_.compareOffered = comparison.available;
    // Each compared entry is marked with whether it has arrived in this folder.
    const std::string& folder = listDirs_->directory();
    if (comparison.textureEntries) {
        showTextures(*comparison.textureEntries);
        MarkArrivals(*listWals_, ArrivalsIn(folder, ResourceKind::Textures, *comparison.textureEntries, settings_.SrcPath));
    }
    if (comparison.soundEntries) {
        listWavs_->setEntries(*comparison.soundEntries);
        MarkArrivals(*listWavs_, ArrivalsIn(folder, ResourceKind::Sounds, *comparison.soundEntries, settings_.SrcPath));
    }
    applyState();
    if (!state_.compareOffered)
        selectTab(0);
    // What is on screen follows the folder: the comparison of this one, or the
    // browser when there is nothing to compare.
    if (comparing && state_.compareOffered) {
        ShowCompareTab(state_);
        applyState();
    } else if (comparing) {
        TabControl1Change();
    }
    showCounts();
}

void TfrmMain::showCounts()
{
    if (state_.browserShown) {
        if (state_.textureHeadingShown)
            lblWalCount_->setText(QString::number(listFiles_->count()));
    } else if (state_.foldersShown) {
        lblWalCount_->setText(QString::number(listWals_->count()));
        lblWavCount_->setText(QString::number(listWavs_->count()));
    }
}

void TfrmMain::selectTab(int index)
{
    const QSignalBlocker quiet(tabViews_);
    tabViews_->setCurrentIndex(index);
}

void TfrmMain::placeSoundList(bool right)
{
    leftColumn_->removeWidget(listWavs_);
    rightColumn_->removeWidget(listWavs_);
    (right ? rightColumn_ : leftColumn_)->addWidget(listWavs_, 1);
    wavHeader_->removeWidget(lblWavCount_);
    walHeader_->removeWidget(lblWavCount_);
    (right ? walHeader_ : wavHeader_)->insertWidget(0, lblWavCount_);
}

void TfrmMain::TabControl1Change()
{
    const int index = tabViews_->currentIndex();
    if (index == 1 && (state_.mode == WindowMode::MapLoaded || !state_.compareOffered)) {
        selectTab(state_.lastTab);
        return;
    }
    if (index == 0) {
        ShowBrowserTab(state_);
        applyState();
        showCounts();
    } else if (index == 1) {
        ShowCompareTab(state_);
        applyState();
        showCounts();
    } else if (index == 2) {
        ShowLevelListsTab(state_);
        applyState();
        showTextures(level_.TextureList.entries());
        listWavs_->setEntries(level_.SoundList.entries());
        lblWavCount_->setText(QString::number(listWavs_->count()));
        lblWalCount_->setText(QString::number(listWals_->count()));
    }
    state_.lastTab = index;
}

// --- pooling and preview ------------------------------------------------------------

void TfrmMain::speedGroupMapsClick()
{
    const std::size_t levels = PoolLevelFiles(settings_.TargPath).size();
    std::uint64_t loaded = 0;
    PoolOptions options;
    options.onConfirmed = [this] {
        state_.pooled = true;
        applyState();
    };
    options.onLevelLoaded = [&] {
        host_.progress("Pooling levels", ++loaded, levels);
        switchToLevelView();
    };
    PoolResult result;
    {
        const DesktopHost::Work work(host_);
        result = PoolIntoWindow(settings_.TargPath, level_, host_, options);
    }
    if (result == PoolResult::Pooled)
        showLevelLists();
    setWindowTitle(Q("Corvane - " + JoinPath(JoinPath(settings_.TargPath, "maps"), "ALL")));
}

void TfrmMain::countTargetBytes()
{
    // Panel 0 says what is going on while the count runs, and then what it said before.
    const QString before = statusText(0);
    {
        const DesktopHost::Work work(host_);
        host_.progress("Counting the target's bytes", 0, 0);
        ShowDirectoryBytes(host_, settings_.TargPath, settings_.TargPath, session_.targetMapPath);
    }
    statusPanels_[0]->setText(before);
}

void TfrmMain::btnPreviewClick()
{
    const std::optional<std::string> target = takeTarget();
    if (!target)
        return;
    const std::string maps = JoinPath(*target, "maps");
    if (target->empty() || !DirectoryEntryExists(maps)) {
        host_.messageBox({"Directory does not exist:\n" + maps, "Error", MessageIcon::Warning,
                          {MessageButton::Ok}});
        return;
    }
    state_.previewEnabled = false;
    state_.transferEnabled = false;
    applyState();
    cboDrive_->selectDrive(settings_.TargetDrive);
    listDirs_->setDirectory(maps);
    state_.modeBeforePreview = state_.mode;
    state_.mode = WindowMode::Preview;
    selectTab(0);
    TabControl1Change();
    state_.useThisEnabled = false;
    state_.browseEnabled = false;
    applyState();
    countTargetBytes();
    listFiles_->setMask("*.*");
    state_.exitPreviewShown = true;
    applyState();
}

void TfrmMain::btnExitPreviewClick()
{
    listFiles_->setMask(kMapMask);
    // A source folder that has gone is reported once preview has ended.
    std::optional<Error> failure;
    try {
        cboDrive_->selectDrive(settings_.SourceDrive);
        listDirs_->setDirectory(settings_.SrcPath);
    } catch (const std::exception& error) {
        failure.emplace(error.what());
    }
    selectTab(0);
    TabControl1Change();
    state_.browseEnabled = true;
    applyState();
    setStatusText(1, "");
    EmptyWindowLevel(level_);
    listWals_->clear();
    listWavs_->clear();
    state_.mode = state_.modeBeforePreview;
    if (state_.mode == WindowMode::MapLoaded) {
        state_.transferEnabled = true;
        state_.useThisEnabled = true;
        applyState();
        loadLevel(level_.CurrentMapPath);
    }
    state_.exitPreviewShown = false;
    applyState();
    UpdatePreviewButton();
    if (failure)
        ShowErrorBox(host_, *failure);
}

// --- releases -----------------------------------------------------------------------

void TfrmMain::mnuFileBuildArchiveClick()
{
    if (!ArchiveOffered(state_))
        return;
    if (!archive_) {
        archive_ = new TfrmArchive(host_, this);
        // A new archive in the folder shown appears in the browser.
        connect(archive_, &TfrmArchive::built, this, [this] { RunGuarded(host_, [this] { listFiles_->refresh(); }); });
    }
    archive_->BuildFor(settings_.TargPath);
}

// --- housekeeping -----------------------------------------------------------------

void TfrmMain::mnuFileNewClick()
{
    setWindowTitle(QString::fromLatin1(kMainTitle));
    lblWalCount_->clear();
    lblWavCount_->clear();
    BeginFileNew(state_);
    applyState();
    lblPellark_->clear();
    lblSky_->clear();

    // Back to the source directory. A source directory that has gone is
    // reported once the window is back in its start state.
    std::optional<Error> failure;
    try {
        listDirs_->setDirectory(std::string(1, Separator()));
        cboDrive_->selectDrive(settings_.SourceDrive);
        listFiles_->setMask(kMapMask);
        listDirs_->setDirectory(settings_.SrcPath);
    } catch (const std::exception& error) {
        failure.emplace(error.what());
    }

    selectTab(0);
    setStatusText(0, kSelectFile);
    setStatusText(1, "");
    level_.MapLines.clear();
    level_.TextureList.clear();
    level_.SoundList.clear();
    EndFileNew(state_);
    state_.previewEnabled = previewPossible();
    applyState();
    focusFolders();

    if (failure)
        ShowErrorBox(host_, *failure);
}

void TfrmMain::btnBrowseClick()
{
    // The chooser opens on the folder the field shows.
    if (!leaveTarget())
        return;
    if (const std::optional<std::string> chosen = chooser_->choose(ChooserPurpose::Target)) {
        editGameDir_->setText(Q(*chosen));
        editGameDirExit();
    }
    state_.previewEnabled = DirectoryEntryExists(Bytes(editGameDir_->text()));
    applyState();
}

void TfrmMain::btnUseCurrentClick()
{
    if (!leaveTarget())
        return;
    UseTarget(state_);
    applyState();
    editGameDir_->setText(Q(settings_.TargPath));
    state_.previewEnabled = false;
    applyState();
}

void TfrmMain::editGameDirExit()
{
    if (state_.mode == WindowMode::MapLoaded)
        leaveTarget();
}

std::optional<std::string> TfrmMain::takeTarget()
{
    const std::string text = Bytes(editGameDir_->text());
    if (!text.empty() && !IsFullPath(text)) {
        host_.alert(AlertSound::Exclamation);
        host_.messageBox({kFullPathExample, "Error", MessageIcon::Information,
                          {MessageButton::Ok, MessageButton::Cancel}});
        return std::nullopt;
    }
    settings_.TargPath = text;
    if (!text.empty())
        settings_.TargetDrive = DriveCharacter(text);
    return text;
}

bool TfrmMain::leaveTarget()
{
    const std::optional<std::string> target = takeTarget();
    if (!target)
        return false;
    if (state_.mode == WindowMode::MapLoaded) {
        state_.browseEnabled = true;
        if (target->size() >= 3)
            state_.useThisEnabled = true;
        applyState();
        setStatusText(0, kSelectOptions);
    }
    return true;
}

void TfrmMain::editGameDirChange()
{
    state_.previewEnabled = DirectoryEntryExists(Bytes(editGameDir_->text())) && state_.mode == WindowMode::Idle;
    applyState();
}

bool TfrmMain::previewPossible() const
{
    return !settings_.TargPath.empty() && DirectoryEntryExists(JoinPath(settings_.TargPath, "maps"))
           && state_.mode == WindowMode::Idle;
}

void TfrmMain::UpdatePreviewButton()
{
    state_.previewEnabled = previewPossible();
    applyState();
}

void TfrmMain::mnuConfigSetPathsClick()
{
    config_->SetPaths();
}

// --- tools and small dialogs --------------------------------------------------------

void TfrmMain::speedInfoClick()
{
    info_->show();
    info_->raise();
}

void TfrmMain::mnuHelpAboutClick()
{
    about_->exec();
}

void TfrmMain::speedPakExpClick()
{
    if (settings_.PakPath.empty()) {
        std::string chosen;
        if (!config_->LocatePakUtility(chosen))
            return;  // none chosen: nothing to start
        settings_.PakPath = chosen;
    }
    const Launch launch = LaunchProgram(settings_.PakPath, {}, settings_.TargPath);
    pakLaunch_ = launch.started;
    reportLaunch(launch, "Could not start the pak utility:", settings_.PakPath);
}

void TfrmMain::speedWinExpClick()
{
    const Launch launch = ExploreFolder(settings_.TargPath);
    explorerLaunch_ = launch.started;
    reportLaunch(launch, "Could not open the folder in the file manager:", settings_.TargPath);
}

void TfrmMain::optionMoveClick()
{
    if (!moveWarningPending_)
        return;
    info_->setLines({"Moving files is NOT RECCOMMENDED!", "  ",
                     "Copying files is much safer and allows you to keep your working textures folders intact.",
                     "  ",
                     "Choose Move Files only if you will no longer keep these textures in your common texture "
                     "library."});
    moveWarningPending_ = !info_->showModallyAskingAgain();
}

}  // namespace corvane::ui
