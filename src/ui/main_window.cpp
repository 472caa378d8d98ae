#include "ui/main_window.h"

#include <cctype>
#include <optional>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFontDatabase>
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

#include "platform/error.h"
#include "platform/file_ops.h"
#include "platform/paths.h"
#include "transfer/byte_total.h"
#include "pool/pooling.h"
#include "ui/browser.h"
#include "ui/chooser_dialog.h"
#include "ui/config_dialog.h"
#include "ui/desktop_host.h"
#include "ui/info_dialog.h"
#include "ui/about_dialog.h"
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

template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QToolButton* SpeedButton(QWidget* parent, const char* name, const char* hint, QStyle::StandardPixmap glyph)
{
    auto* button = Named(new QToolButton(parent), name);
    button->setIcon(parent->style()->standardIcon(glyph));
    button->setIconSize(QSize(22, 22));
    button->setToolTip(QString::fromLatin1(hint));
    button->setAutoRaise(true);
    button->hide();
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

void Fill(QListWidget* list, const std::vector<std::string>& entries)
{
    list->clear();
    for (const std::string& entry : entries)
        list->addItem(Q(entry));
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
    connectHandlers();

    resize(900, 600);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::attachDialogs(TForm1* chooser, TfrmInfo* info, TfrmAbout* about, TfrmConfig* config)
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
    GroupBox1 = Named(new QGroupBox(QStringLiteral("Game Creation"), central), "GroupBox1");
    Label2 = Named(new QLabel(QStringLiteral("Target Directory"), GroupBox1), "Label2");
    editGameDir = Named(new QLineEdit(GroupBox1), "editGameDir");
    Label2->setBuddy(editGameDir);
    btnBrowse = Named(new QPushButton(QStringLiteral("Browse"), GroupBox1), "btnBrowse");
    btnBrowse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    Label1 = Named(new QLabel(QStringLiteral("This directory"), GroupBox1), "Label1");
    btnPreview = Named(new QPushButton(QStringLiteral("Preview "), GroupBox1), "btnPreview");
    btnUseCurrent = Named(new QPushButton(QStringLiteral("Use this"), GroupBox1), "btnUseCurrent");
    btnUseCurrent->setEnabled(false);
    GroupBox3 = Named(new QFrame(GroupBox1), "GroupBox3");
    GroupBox3->setFrameShape(QFrame::HLine);
    GroupBox3->setFrameShadow(QFrame::Sunken);
    Label5 = Named(new QLabel(QStringLiteral("Options"), GroupBox1), "Label5");
    optionCopy = Named(new QRadioButton(QStringLiteral("Copy files"), GroupBox1), "optionCopy");
    optionCopy->setChecked(true);
    optionCopy->setEnabled(false);
    optionMove = Named(new QRadioButton(QStringLiteral("Move files "), GroupBox1), "optionMove");
    optionMove->setToolTip(QStringLiteral("Allows testing your pak"));
    optionMove->setEnabled(false);
    chbxPellark = Named(new QCheckBox(QStringLiteral("Include Pellark tree"), GroupBox1), "chbxPellark");
    chbxPellark->setEnabled(false);
    lblPellark = Named(new QLabel(GroupBox1), "lblPellark");
    lblPellark->setWordWrap(true);
    chbxSky = Named(new QCheckBox(QStringLiteral("Include sky"), GroupBox1), "chbxSky");
    chbxSky->setEnabled(false);
    lblSky = Named(new QLabel(GroupBox1), "lblSky");
    btnCreate = Named(new QPushButton(QStringLiteral("&Transfer"), GroupBox1), "btnCreate");
    btnCreate->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    btnCreate->setIconSize(QSize(24, 24));
    btnCreate->setMinimumHeight(40);
    btnCreate->setEnabled(false);

    auto* group = new QGridLayout(GroupBox1);
    group->addWidget(Label2, 0, 0, 1, 3);
    group->addWidget(editGameDir, 1, 0, 1, 2);
    group->addWidget(btnBrowse, 1, 2);
    group->addWidget(Label1, 2, 0);
    group->addWidget(btnPreview, 2, 1);
    group->addWidget(btnUseCurrent, 2, 2);
    group->addWidget(GroupBox3, 3, 0, 1, 3);
    group->addWidget(Label5, 4, 0, 1, 3);
    group->addWidget(optionCopy, 5, 0, 1, 3);
    group->addWidget(optionMove, 6, 0, 1, 3);
    group->addWidget(chbxPellark, 7, 0, 1, 3);
    group->addWidget(lblPellark, 8, 0, 1, 3);
    group->addWidget(chbxSky, 9, 0, 1, 3);
    group->addWidget(lblSky, 10, 0, 1, 3);
    group->setRowStretch(11, 1);
    group->addWidget(btnCreate, 12, 0, 1, 3);
    group->setColumnStretch(0, 1);
    group->setColumnStretch(1, 1);
    lblPellark->setIndent(24);
    lblSky->setIndent(24);

    // The tool strip at the top right.
    Panel1 = Named(new QWidget(central), "Panel1");
    speedInfo = SpeedButton(Panel1, "speedInfo", "Display Info", QStyle::SP_MessageBoxInformation);
    speedGroupMaps = SpeedButton(Panel1, "speedGroupMaps", "Pool all resources from target directory",
                                 QStyle::SP_FileDialogListView);
    btnExitPreview = SpeedButton(Panel1, "btnExitPreview", "Exit preview mode", QStyle::SP_DialogCloseButton);
    speedWinExp = SpeedButton(Panel1, "speedWinExp", "Launch Explorer", QStyle::SP_DirLinkIcon);
    speedPakExp = SpeedButton(Panel1, "speedPakExp", "Launch PakEd", QStyle::SP_ComputerIcon);
    auto* strip = new QHBoxLayout(Panel1);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->addStretch();
    for (QToolButton* button : {speedInfo, speedGroupMaps, btnExitPreview, speedWinExp, speedPakExp})
        strip->addWidget(button);
    Panel1->setMinimumHeight(30);

    // The tab strip and the views under it.
    TabControl1 = Named(new QTabBar(central), "TabControl1");
    TabControl1->addTab(QStringLiteral("Tree"));
    TabControl1->addTab(QStringLiteral("N/A"));
    TabControl1->addTab(QStringLiteral(".map"));
    TabControl1->setCurrentIndex(0);
    TabControl1->setEnabled(false);
    TabControl1->setExpanding(false);

    auto* area = Named(new QFrame(central), "TabArea");
    area->setFrameShape(QFrame::StyledPanel);
    Label3 = Named(new QLabel(QStringLiteral("Files"), area), "Label3");
    Label4 = Named(new QLabel(QStringLiteral("Files"), area), "Label4");
    Label3->hide();
    Label4->hide();
    lblWavCount = Named(new QLabel(area), "lblWavCount");
    lblWalCount = Named(new QLabel(area), "lblWalCount");
    lblFsize = Named(new QLabel(area), "lblFsize");
    lblFsize->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    cboDrive = Named(new DriveBox(area), "cboDrive");
    listDirs = Named(new DirectoryList(area), "listDirs");
    cboDrive->followDirectory(listDirs->directory());
    listFiles = Named(new FileList(area), "listFiles");
    listFiles->setMask(kStartMask);
    listFiles->setDirectory(listDirs->directory());
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    listWavs = Named(new QListWidget(area), "listWavs");
    listWals = Named(new QListWidget(area), "listWals");
    listWavs->setFont(fixed);
    listWals->setFont(fixed);
    listWavs->hide();
    listWals->hide();

    // Two columns; the comparison of sounds moves the sound list and its
    // count from the left column to the right one.
    wavHeader_ = new QHBoxLayout;
    wavHeader_->addWidget(lblWavCount);
    wavHeader_->addWidget(Label3);
    wavHeader_->addStretch();
    walHeader_ = new QHBoxLayout;
    walHeader_->addWidget(lblWalCount);
    walHeader_->addWidget(Label4);
    walHeader_->addStretch();
    walHeader_->addWidget(lblFsize);

    leftColumn_ = new QVBoxLayout;
    leftColumn_->addWidget(cboDrive);
    leftColumn_->addLayout(wavHeader_);
    leftColumn_->addWidget(listDirs, 1);
    leftColumn_->addWidget(listWavs, 1);
    rightColumn_ = new QVBoxLayout;
    rightColumn_->addLayout(walHeader_);
    rightColumn_->addWidget(listFiles, 1);
    rightColumn_->addWidget(listWals, 1);
    auto* views = new QHBoxLayout(area);
    views->addLayout(leftColumn_, 1);
    views->addLayout(rightColumn_, 1);

    auto* tabRow = new QHBoxLayout;
    tabRow->addWidget(TabControl1);
    tabRow->addWidget(Panel1, 1);
    auto* rightSide = new QVBoxLayout;
    rightSide->setSpacing(0);
    rightSide->addLayout(tabRow);
    rightSide->addWidget(area, 1);

    auto* layout = new QHBoxLayout(central);
    layout->addWidget(GroupBox1, 0);
    layout->addLayout(rightSide, 1);
    GroupBox1->setMinimumWidth(300);

    // The status bar with its two panels.
    StatusBar1 = Named(new QStatusBar(this), "StatusBar1");
    setStatusBar(StatusBar1);
    statusPanels_[0] = Named(new QLabel(StatusBar1), "StatusBar1Panel0");
    statusPanels_[1] = Named(new QLabel(StatusBar1), "StatusBar1Panel1");
    statusPanels_[0]->setMinimumWidth(395);
    statusPanels_[1]->setMinimumWidth(160);
    StatusBar1->addWidget(statusPanels_[0], 1);
    barProgress = Named(new QProgressBar(StatusBar1), "barProgress");
    barProgress->setMaximumWidth(160);
    barProgress->setTextVisible(false);
    barProgress->hide();
    StatusBar1->addPermanentWidget(barProgress);
    StatusBar1->addPermanentWidget(statusPanels_[1]);

    dlgOpen = Named(new QFileDialog(this), "dlgOpen");
    dlgOpen->setOption(QFileDialog::DontUseNativeDialog);
    dlgOpen->setFileMode(QFileDialog::ExistingFile);
    dlgOpen->setAcceptMode(QFileDialog::AcceptOpen);
    dlgOpen->setNameFilter(QStringLiteral("map (*.map)"));
    dlgOpen->setDefaultSuffix(QStringLiteral("map"));
    dlgOpen->selectFile(QStringLiteral("*.map"));
}

void TfrmMain::buildMenu()
{
    MainMenu1 = Named(new QMenuBar(this), "MainMenu1");
    setMenuBar(MainMenu1);
    mnuFile = Named(MainMenu1->addMenu(QStringLiteral("&File")), "mnuFile");
    mnuFileOpen = MenuItem(mnuFile, "mnuFileOpen", "&Open");
    mnuFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileNew = MenuItem(mnuFile, "mnuFileNew", "&New");
    mnuFileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    N1 = MenuSeparator(mnuFile, "N1");
    mnuFileExit = MenuItem(mnuFile, "mnuFileExit", "E&xit");
    mnuConfig = Named(MainMenu1->addMenu(QStringLiteral("&Configure")), "mnuConfig");
    mnuConfigSetPaths = MenuItem(mnuConfig, "mnuConfigSetPaths", "Set paths...");
    mnuHelp = Named(MainMenu1->addMenu(QStringLiteral("&Help")), "mnuHelp");
    mnuHelpContents = MenuItem(mnuHelp, "mnuHelpContents", "&Contents");
    mnuHelpIndex = MenuItem(mnuHelp, "mnuHelpIndex", "&Index");
    N2 = MenuSeparator(mnuHelp, "N2");
    mnuHelpAbout = MenuItem(mnuHelp, "mnuHelpAbout", "&About");
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
    on(mnuFileOpen, &QAction::triggered, &TfrmMain::mnuFileOpenClick);
    on(mnuFileNew, &QAction::triggered, &TfrmMain::mnuFileNewClick);
    on(mnuFileExit, &QAction::triggered, &TfrmMain::mnuFileExitClick);
    on(mnuConfigSetPaths, &QAction::triggered, &TfrmMain::mnuConfigSetPathsClick);
    on(mnuHelpAbout, &QAction::triggered, &TfrmMain::mnuHelpAboutClick);
    on(listFiles, &QListWidget::itemDoubleClicked, &TfrmMain::listFilesDblClick);
    on(chbxSky, &QCheckBox::toggled, &TfrmMain::chbxSkyClick);
    on(chbxPellark, &QCheckBox::toggled, &TfrmMain::chbxPellarkClick);
    on(btnCreate, &QPushButton::clicked, &TfrmMain::btnCreateClick);
    on(btnBrowse, &QPushButton::clicked, &TfrmMain::btnBrowseClick);
    on(btnUseCurrent, &QPushButton::clicked, &TfrmMain::btnUseCurrentClick);
    on(editGameDir, &QLineEdit::textChanged, &TfrmMain::editGameDirChange);
    on(speedInfo, &QToolButton::clicked, &TfrmMain::speedInfoClick);
    on(speedPakExp, &QToolButton::clicked, &TfrmMain::speedPakExpClick);
    on(speedWinExp, &QToolButton::clicked, &TfrmMain::speedWinExpClick);
    on(speedGroupMaps, &QToolButton::clicked, &TfrmMain::speedGroupMapsClick);
    on(btnPreview, &QPushButton::clicked, &TfrmMain::btnPreviewClick);
    on(btnExitPreview, &QToolButton::clicked, &TfrmMain::btnExitPreviewClick);
    on(TabControl1, &QTabBar::currentChanged, &TfrmMain::TabControl1Change);
    connect(optionMove, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            run(&TfrmMain::optionMoveClick);
    });
    // The leave handler: the keyboard focus leaving the target field.
    editGameDir->installEventFilter(this);

    // The browser: the drive box moves the directory list, which refills the file list.
    connect(cboDrive, &DriveBox::driveChosen, this, [this](const std::string& path) {
        RunGuarded(host_, [&] { listDirs->setDirectory(path); });
    });
    connect(listDirs, &DirectoryList::directoryChanged, this, [this](const std::string& path) {
        cboDrive->followDirectory(path);
        listFiles->setDirectory(path);
        run(&TfrmMain::listDirsChange);
    });
    // Every refill of the file list (a new folder or a new mask) shows the sizes.
    connect(listFiles, &FileList::refilled, this, [this] { run(&TfrmMain::showFileSizes); });
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editGameDir && event->type() == QEvent::FocusOut) {
        // Leaving the field for another control; not the window losing the
        // focus to a menu, a dialog or another program.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            run(&TfrmMain::editGameDirExit);
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- SettingsView -----------------------------------------------------------

void TfrmMain::setDrive(char drive)
{
    cboDrive->selectDrive(drive);
}

void TfrmMain::setDirectory(const std::string& path)
{
    listDirs->setDirectory(path);
}

void TfrmMain::setTargetField(const std::string& text)
{
    editGameDir->setText(Q(text));
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
    const QListWidgetItem* item = listFiles->currentItem();
    if (!item || !item->isSelected())
        return {};
    return JoinPath(listFiles->directory(), FileList::EntryFileName(*item));
}

void TfrmMain::showLevelLists()
{
    Fill(listWals, level.listWals);
    Fill(listWavs, level.listWavs);
    lblWalCount->setText(Q(level.lblWalCount));
    lblWavCount->setText(Q(level.lblWavCount));
}

void TfrmMain::loadLevel(const std::string& path)
{
    bool loaded = false;
    try {
        loaded = LoadLevelIntoWindow(path, MainMode == ModeMapLoaded ? LoadNaming::NameLevel : LoadNaming::Quiet,
                                     level, host_)
                     .scanned;
    } catch (...) {
        showLevelLists();
        throw;
    }
    showLevelLists();
    if (loaded)
        switchToLevelView();
}

void TfrmMain::switchToLevelView()
{
    btnBrowse->setEnabled(true);
    editGameDir->setEnabled(true);
    listWavs->show();
    listWals->show();
    Label3->show();
    Label4->show();
    listFiles->hide();
    listDirs->hide();
    cboDrive->hide();
    TabControl1->setEnabled(true);
    {
        const QSignalBlocker quiet(TabControl1);
        TabControl1->setCurrentIndex(2);
    }
    setStatusText(0, kChooseTarget);
    editGameDir->setText(Q(settings_.TargPath));
    if (!editGameDir->text().isEmpty())
        btnUseCurrent->setEnabled(true);
    editGameDir->setFocus(Qt::OtherFocusReason);
}

// --- start and close ----------------------------------------------------------

void TfrmMain::FormCreate()
{
    setWindowTitle(QString::fromLatin1(kMainTitle));
    lblPellark->clear();
    lblSky->clear();
    lblWalCount->clear();
    lblWavCount->clear();
    editGameDir->clear();

    // An error while the settings are read is shown once the window is complete.
    std::optional<Error> failure;
    try {
        LoadSettings(settings_, store_, *this);
    } catch (const std::exception& error) {
        failure.emplace(error.what());
    }

    level = WindowLevel{};
    setStatusText(0, kSelectMapFile);
    setStatusText(1, "");
    MainMode = ModeIdle;
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
    listDirs->setFocus(Qt::OtherFocusReason);
}

void TfrmMain::FormCloseQuery()
{
    if (closed_)
        return;
    closed_ = true;
    EmptyWindowLevel(level);
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
    dlgOpen->setWindowTitle(QStringLiteral("Open ") + Q(settings_.SrcPath));
    dlgOpen->selectFile(Q(settings_.SrcPath + Separator() + "*.map"));
    if (dlgOpen->exec() != QDialog::Accepted || dlgOpen->selectedFiles().isEmpty())
        return;
    OpenLevel(Bytes(dlgOpen->selectedFiles().front()));
}

void TfrmMain::OpenLevel(const std::string& path)
{
    EmptyWindowLevel(level);
    showLevelLists();
    MainMode = ModeMapLoaded;
    loadLevel(path);
    btnPreview->setEnabled(false);
}

void TfrmMain::listFilesDblClick()
{
    const std::string path = BrowserEntryPath();
    if (path.empty())
        return;
    if (MainMode == ModeIdle) {
        settings_.SrcPath = listDirs->directory();
        EmptyWindowLevel(level);
        showLevelLists();
        MainMode = ModeMapLoaded;
        loadLevel(path);
        btnPreview->setEnabled(false);
        return;
    }
    // A level is loaded: a pak file goes to the pak utility, anything else is left alone.
    if (AsciiLower(std::string(FileExtension(path))) == "pak")
        LaunchProgram(settings_.PakPath, {path}, listDirs->directory());
}

// --- options --------------------------------------------------------------------

void TfrmMain::chbxSkyClick()
{
    ApplySkyChoice(level, chbxSky->isChecked());
    lblSky->setText(Q(level.lblSky));
}

void TfrmMain::chbxPellarkClick()
{
    if (!chbxPellark->isChecked()) {
        lblPellark->clear();
        return;
    }
    if (settings_.PellarkPath.empty()) {
        int kept = MainMode;
        if (RunChooser(*chooser_, MainMode, kept, ModeChoosePellark))
            settings_.PellarkPath = Bytes(chooser_->editDir->text());
    }
    if (settings_.PellarkPath.empty()) {
        host_.messageBox({"Can't copy Pellark Directory - NOT DEFINED!\n\n Use the Configure menu to set Pellark "
                          "directory.",
                          "Errror", MessageIcon::Error, {MessageButton::Ok}});
        chbxPellark->setChecked(false);
        return;
    }
    lblPellark->setText(Q(settings_.PellarkPath));
}

void TfrmMain::btnCreateClick()
{
    TransferJob job;
    job.target = Bytes(editGameDir->text());
    job.targPath = settings_.TargPath;
    job.srcPath = settings_.SrcPath;
    job.currentMapPath = level.CurrentMapPath;
    job.mode = optionMove->isChecked() ? TransferMode::Move : TransferMode::Copy;
    job.includeSky = chbxSky->isChecked();
    job.skyName = Bytes(lblSky->text());
    job.includePellark = chbxPellark->isChecked();
    job.pellarkPath = settings_.PellarkPath;

    TransferOutcome outcome;
    {
        const DesktopHost::Work work(host_);
        outcome = RunTransferCommand(job, level.TextureList, level.SoundList, session, transferLog, host_).outcome;
    }
    if (outcome != TransferOutcome::RanThrough)
        return;

    setStatusText(0, "Done!");
    info_->setWindowTitle(QStringLiteral("Information"));
    info_->setLines(transferLog.lines());
    info_->showModally();
    showTransferred(job.target);
}

void TfrmMain::showTransferred(const std::string& target)
{
    for (QWidget* widget : std::initializer_list<QWidget*>{speedInfo, speedPakExp, speedWinExp, speedGroupMaps})
        widget->show();
    btnExitPreview->hide();

    cboDrive->selectDrive(DriveCharacter(target));
    cboDrive->setEnabled(false);
    listDirs->setDirectory(target);
    for (QWidget* widget : std::initializer_list<QWidget*>{btnCreate, btnBrowse, editGameDir, optionMove, optionCopy,
                                                           chbxPellark, chbxSky, btnPreview})
        widget->setEnabled(false);
    mnuFileOpen->setEnabled(false);
    MainMode = ModeTransferred;
    listFiles->setMask("*.*");
    cboDrive->selectDrive(settings_.TargetDrive);
    listDirs->setDirectory(JoinPath(settings_.TargPath, "maps"));
    TabControl1->setEnabled(true);
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
        barProgress->setRange(0, 1000);
        barProgress->setValue(static_cast<int>(std::min<std::uint64_t>(done, total) * 1000 / total));
    } else {
        barProgress->setRange(0, 0);  // the end is not known: a busy bar
    }
    barProgress->show();
}

void TfrmMain::hideProgress()
{
    barProgress->hide();
}

// --- the browser: sizes, comparison and tabs -----------------------------------------

void TfrmMain::showFileSizes()
{
    qsizetype longest = 0;
    for (int row = 0; row < listFiles->count(); ++row)
        longest = std::max(longest, listFiles->item(row)->text().size());
    std::uint64_t sum = 0;
    for (int row = 0; row < listFiles->count(); ++row) {
        QListWidgetItem* item = listFiles->item(row);
        listFiles->setCurrentItem(item);
        const std::uint64_t size = FileSize(JoinPath(listFiles->directory(), FileList::EntryFileName(*item)));
        sum += size;
        item->setText(item->text().leftJustified(longest) + QString::number(size).rightJustified(8));
    }
    lblFsize->setText(Q(FormatByteCount(std::to_string(sum))));
}

void TfrmMain::listDirsChange()
{
    if (MainMode != ModeTransferred)
        return;
    const std::string dir = listDirs->directory();
    CompareTextures = dir.find("texture") != std::string::npos;
    CompareSounds = dir.find("sound") != std::string::npos;
    const std::string folder(FileName(dir));
    const QString na = QStringLiteral("N/A");
    const QString compare = QStringLiteral("Compare");
    if (!CompareTextures && !CompareSounds)
        TabControl1->setTabText(1, na);
    const auto filter = [&folder](QListWidget* list, const ResourceList& resources) {
        list->clear();
        for (const std::string& entry : resources) {
            if (entry.find(folder) != std::string::npos)
                list->addItem(Q(entry));
        }
    };
    if (CompareTextures) {
        if (folder != "textures") {
            filter(listWals, level.TextureList);
            TabControl1->setTabText(1, compare);
        } else {
            TabControl1->setTabText(1, na);
        }
    }
    if (CompareSounds) {
        if (folder != "sound") {
            filter(listWavs, level.SoundList);
            lblWavCount->setText(QString::number(listWavs->count()));
            TabControl1->setTabText(1, compare);
        } else {
            TabControl1->setTabText(1, na);
        }
    }
    if (TabControl1->tabText(1) == na)
        selectTab(0);
    lblWalCount->setText(QString::number(listFiles->count()));
    lblWalCount->show();
}

void TfrmMain::selectTab(int index)
{
    const QSignalBlocker quiet(TabControl1);
    TabControl1->setCurrentIndex(index);
}

void TfrmMain::placeSoundList(bool right)
{
    leftColumn_->removeWidget(listWavs);
    rightColumn_->removeWidget(listWavs);
    (right ? rightColumn_ : leftColumn_)->addWidget(listWavs, 1);
    wavHeader_->removeWidget(lblWavCount);
    walHeader_->removeWidget(lblWavCount);
    (right ? walHeader_ : wavHeader_)->insertWidget(0, lblWavCount);
}

void TfrmMain::TabControl1Change()
{
    const int index = TabControl1->currentIndex();
    if (index == 1 && (MainMode == ModeMapLoaded || TabControl1->tabText(1) == QStringLiteral("N/A"))) {
        selectTab(LastTabIndex);
        return;
    }
    if (index == 0) {
        for (QWidget* widget : std::initializer_list<QWidget*>{cboDrive, listDirs, listFiles})
            widget->show();
        for (QWidget* widget : std::initializer_list<QWidget*>{listWals, listWavs, lblWavCount, Label3})
            widget->hide();
        lblWalCount->setText(QString::number(listFiles->count()));
        for (QWidget* widget : std::initializer_list<QWidget*>{lblWalCount, Label4, lblFsize})
            widget->show();
    } else if (index == 1) {
        cboDrive->hide();
        listFiles->hide();
        listDirs->show();
        lblFsize->hide();
        const bool comparing = TabControl1->tabText(1) == QStringLiteral("Compare");
        if (CompareTextures && comparing) {
            listWals->show();
            listWavs->hide();
            lblWavCount->hide();
            lblWalCount->show();
            Label3->hide();
            Label4->show();
        }
        if (CompareSounds && comparing) {
            listWals->hide();
            placeSoundList(true);
            listWavs->show();
            lblWavCount->show();
            lblWalCount->hide();
            Label3->hide();
            Label4->show();
        }
    } else if (index == 2) {
        for (QWidget* widget : std::initializer_list<QWidget*>{cboDrive, listDirs, listFiles, lblFsize})
            widget->hide();
        placeSoundList(false);
        Fill(listWals, level.TextureList.entries());
        Fill(listWavs, level.SoundList.entries());
        lblWavCount->setText(QString::number(listWavs->count()));
        lblWalCount->setText(QString::number(listWals->count()));
        for (QWidget* widget : std::initializer_list<QWidget*>{listWals, listWavs, lblWavCount, lblWalCount, Label3,
                                                               Label4})
            widget->show();
    }
    LastTabIndex = index;
}

// --- pooling and preview ------------------------------------------------------------

void TfrmMain::speedGroupMapsClick()
{
    const std::size_t levels = PoolLevelFiles(settings_.TargPath).size();
    std::uint64_t loaded = 0;
    PoolOptions options;
    options.onConfirmed = [this] { TabControl1->setTabText(2, QStringLiteral(".maps")); };
    options.onLevelLoaded = [&] {
        host_.progress("Pooling levels", ++loaded, levels);
        switchToLevelView();
    };
    PoolResult result;
    {
        const DesktopHost::Work work(host_);
        result = PoolIntoWindow(settings_.TargPath, level, host_, options);
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
        ShowDirectoryBytes(host_, settings_.TargPath, settings_.TargPath, session.targetMapPath);
    }
    statusPanels_[0]->setText(before);
}

void TfrmMain::btnPreviewClick()
{
    const std::string maps = JoinPath(settings_.TargPath, "maps");
    if (settings_.TargPath.empty() || !DirectoryEntryExists(maps)) {
        host_.messageBox({"Directory does not exist:\n" + maps, "Error", MessageIcon::Warning,
                          {MessageButton::Ok}});
        return;
    }
    btnPreview->setEnabled(false);
    btnCreate->setEnabled(false);
    cboDrive->selectDrive(settings_.TargetDrive);
    listDirs->setDirectory(maps);
    PreviousMode = MainMode;
    MainMode = ModePreview;
    selectTab(0);
    TabControl1Change();
    btnUseCurrent->setEnabled(false);
    btnBrowse->setEnabled(false);
    countTargetBytes();
    listFiles->setMask("*.*");
    btnExitPreview->show();
}

void TfrmMain::btnExitPreviewClick()
{
    listFiles->setMask(kMapMask);
    // A source folder that has gone is reported once preview has ended.
    std::optional<Error> failure;
    try {
        cboDrive->selectDrive(settings_.SourceDrive);
        listDirs->setDirectory(settings_.SrcPath);
    } catch (const std::exception& error) {
        failure.emplace(error.what());
    }
    selectTab(0);
    TabControl1Change();
    btnBrowse->setEnabled(true);
    setStatusText(1, "");
    EmptyWindowLevel(level);
    listWals->clear();
    listWavs->clear();
    MainMode = PreviousMode;
    if (MainMode == ModeMapLoaded) {
        btnCreate->setEnabled(true);
        btnUseCurrent->setEnabled(true);
        loadLevel(level.CurrentMapPath);
    }
    btnExitPreview->hide();
    UpdatePreviewButton();
    if (failure)
        ShowErrorBox(host_, *failure);
}

// --- housekeeping -----------------------------------------------------------------

void TfrmMain::mnuFileNewClick()
{
    setWindowTitle(QString::fromLatin1(kMainTitle));
    lblWalCount->clear();
    lblWavCount->clear();
    for (QWidget* widget : std::initializer_list<QWidget*>{Label4, Label3, listWals, listWavs, cboDrive, listDirs,
                                                           listFiles})
        widget->hide();
    btnBrowse->setEnabled(true);
    btnCreate->setEnabled(false);
    optionMove->setEnabled(false);
    optionCopy->setEnabled(false);
    chbxPellark->setChecked(false);
    chbxPellark->setEnabled(false);
    lblPellark->clear();
    chbxSky->setChecked(false);
    chbxSky->setEnabled(false);
    lblSky->clear();

    // Back to the source directory. A source directory that has gone is
    // reported once the window is back in its start state.
    std::optional<Error> failure;
    try {
        listDirs->setDirectory(std::string(1, Separator()));
        cboDrive->selectDrive(settings_.SourceDrive);
        listFiles->setMask(kMapMask);
        listDirs->setDirectory(settings_.SrcPath);
    } catch (const std::exception& error) {
        failure.emplace(error.what());
    }

    for (QWidget* widget : std::initializer_list<QWidget*>{cboDrive, listDirs, listFiles})
        widget->show();
    btnUseCurrent->setEnabled(false);
    mnuFileOpen->setEnabled(true);
    for (QWidget* widget : std::initializer_list<QWidget*>{speedInfo, speedPakExp, speedWinExp, speedGroupMaps})
        widget->hide();
    {
        const QSignalBlocker quiet(TabControl1);
        TabControl1->setCurrentIndex(0);
    }
    TabControl1->setEnabled(false);
    setStatusText(0, kSelectFile);
    setStatusText(1, "");
    TabControl1->setTabText(1, QStringLiteral("N/A"));
    level.MapLines.clear();
    level.TextureList.clear();
    level.SoundList.clear();
    lblWavCount->hide();
    lblWalCount->hide();
    TabControl1->setTabText(2, QStringLiteral(".map"));
    MainMode = ModeIdle;
    UpdatePreviewButton();
    editGameDir->setEnabled(true);
    listDirs->setFocus(Qt::OtherFocusReason);

    if (failure)
        ShowErrorBox(host_, *failure);
}

void TfrmMain::btnBrowseClick()
{
    const bool chosen = RunChooser(*chooser_, MainMode, PreviousMode, PurposeTarget);
    if (chosen) {
        editGameDir->setText(chooser_->editDir->text());
        editGameDirExit();
    }
    btnPreview->setEnabled(DirectoryEntryExists(Bytes(editGameDir->text())));
}

void TfrmMain::btnUseCurrentClick()
{
    btnBrowse->setEnabled(false);
    btnUseCurrent->setEnabled(false);
    for (QWidget* widget : std::initializer_list<QWidget*>{btnCreate, optionMove, optionCopy, chbxPellark, chbxSky})
        widget->setEnabled(true);
    editGameDir->setText(Q(settings_.TargPath));
    btnPreview->setEnabled(false);
}

void TfrmMain::editGameDirExit()
{
    if (MainMode != ModeMapLoaded)
        return;
    const std::string text = Bytes(editGameDir->text());
    if (!text.empty() && !IsFullPath(text)) {
        host_.alert(AlertSound::Exclamation);
        host_.messageBox({kFullPathExample, "Error", MessageIcon::Information,
                          {MessageButton::Ok, MessageButton::Cancel}});
        return;
    }
    btnBrowse->setEnabled(true);
    if (text.size() >= 3)
        btnUseCurrent->setEnabled(true);
    setStatusText(0, kSelectOptions);
    settings_.TargPath = text;
}

void TfrmMain::editGameDirChange()
{
    btnPreview->setEnabled(DirectoryEntryExists(Bytes(editGameDir->text())) && MainMode == ModeIdle);
}

void TfrmMain::UpdatePreviewButton()
{
    btnPreview->setEnabled(!settings_.TargPath.empty()
                           && DirectoryEntryExists(JoinPath(settings_.TargPath, "maps"))
                           && MainMode == ModeIdle);
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
        if (config_->LocatePakUtility(chosen))
            settings_.PakPath = chosen;
    }
    pakLaunch = LaunchProgram(settings_.PakPath, {}, settings_.TargPath);
}

void TfrmMain::speedWinExpClick()
{
    explorerLaunch = ExploreFolder(settings_.TargPath);
}

void TfrmMain::optionMoveClick()
{
    if (!MoveWarningPending)
        return;
    info_->setLines({"Moving files is NOT RECCOMMENDED!", "  ",
                     "Copying files is much safer and allows you to keep your working textures folders intact.",
                     "  ",
                     "Choose Move Files only if you will no longer keep these textures in your common texture "
                     "library."});
    info_->chbxDontShow->show();
    info_->lblAgain->show();
    info_->showModally();
    info_->chbxDontShow->hide();
    info_->lblAgain->hide();
    MoveWarningPending = !info_->chbxDontShow->isChecked();
}

}  // namespace corvane::ui
