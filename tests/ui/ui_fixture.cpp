#include "ui_fixture.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include "ui/browser.h"

namespace corvane::ui::test {

const char* const kSmallLevel =
    "// level\n"
    "{\n"
    "\"classname\" \"worldspawn\"\n"
    "\"sky\" \"dusk\"\n"
    "{\n"
    "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) town/wall 0 0 0 1 1\n"
    "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) town/floor 0 0 0 1 1\n"
    "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) e1u1/metal 0 0 0 1 1\n"
    "}\n"
    "}\n"
    "{\n"
    "\"classname\" \"target_speaker\"\n"
    "\"noise\" \"town/bell.wav\"\n"
    "}\n";

ModalScript::ModalScript()
{
    qApp->installEventFilter(this);
}

ModalScript::~ModalScript()
{
    qApp->removeEventFilter(this);
}

bool ModalScript::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->isWindow() && dialog->isModal()) {
            QPointer<QDialog> shown(dialog);
            // Answered from the dialog's own loop, once it runs.
            QTimer::singleShot(0, this, [this, shown] {
                if (!shown || !shown->isVisible())
                    return;
                if (steps_.empty()) {
                    unexpected_ << shown->windowTitle();
                    shown->done(QDialog::Rejected);
                    return;
                }
                if (qEnvironmentVariableIsSet("CORVANE_TRACE_DIALOGS"))
                    qInfo("answering %s", qPrintable(shown->windowTitle()));
                Step step = std::move(steps_.front());
                steps_.pop_front();
                step(*shown);
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

void ModalScript::answerBox(const QString& button, SeenBox* seen)
{
    then([button, seen](QDialog& dialog) {
        auto* box = Expect<QMessageBox>(dialog, "a message box");
        if (!box)
            return;
        if (seen) {
            seen->caption = box->windowTitle();
            seen->text = box->text();
            seen->icon = box->icon();
            seen->buttons.clear();
            // The buttons in the order they stand on screen.
            QList<QAbstractButton*> buttons = box->buttons();
            std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
                return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
            });
            for (QAbstractButton* shown : buttons)
                seen->buttons << shown->text();
        }
        Press(*box, button);
    });
}

MainWindowView::MainWindowView(TfrmMain& shown)
    : window(shown),
      state(shown.state()),
      level(shown.level()),
      GroupBox1(Control<QGroupBox>(window, "GroupBox1")),
      Label2(Control<QLabel>(window, "Label2")),
      editGameDir(Control<QLineEdit>(window, "editGameDir")),
      btnBrowse(Control<QPushButton>(window, "btnBrowse")),
      Label1(Control<QLabel>(window, "Label1")),
      btnPreview(Control<QPushButton>(window, "btnPreview")),
      btnUseCurrent(Control<QPushButton>(window, "btnUseCurrent")),
      GroupBox3(Control<QFrame>(window, "GroupBox3")),
      Label5(Control<QLabel>(window, "Label5")),
      optionCopy(Control<QRadioButton>(window, "optionCopy")),
      optionMove(Control<QRadioButton>(window, "optionMove")),
      chbxPellark(Control<QCheckBox>(window, "chbxPellark")),
      lblPellark(Control<QLabel>(window, "lblPellark")),
      chbxSky(Control<QCheckBox>(window, "chbxSky")),
      lblSky(Control<QLabel>(window, "lblSky")),
      btnCreate(Control<QPushButton>(window, "btnCreate")),
      TabControl1(Control<QTabBar>(window, "TabControl1")),
      Label3(Control<QLabel>(window, "Label3")),
      Label4(Control<QLabel>(window, "Label4")),
      lblWalCount(Control<QLabel>(window, "lblWalCount")),
      lblWavCount(Control<QLabel>(window, "lblWavCount")),
      lblFsize(Control<QLabel>(window, "lblFsize")),
      cboDrive(Control<DriveBox>(window, "cboDrive")),
      listDirs(Control<DirectoryList>(window, "listDirs")),
      listFiles(Control<FileList>(window, "listFiles")),
      listWavs(Control<QListView>(window, "listWavs")),
      listWals(Control<QListView>(window, "listWals")),
      Panel1(Control<QWidget>(window, "Panel1")),
      speedInfo(Control<QToolButton>(window, "speedInfo")),
      speedGroupMaps(Control<QToolButton>(window, "speedGroupMaps")),
      btnExitPreview(Control<QToolButton>(window, "btnExitPreview")),
      speedWinExp(Control<QToolButton>(window, "speedWinExp")),
      speedPakExp(Control<QToolButton>(window, "speedPakExp")),
      StatusBar1(Control<QStatusBar>(window, "StatusBar1")),
      barProgress(Control<QProgressBar>(window, "barProgress")),
      dlgOpen(Control<QFileDialog>(window, "dlgOpen")),
      MainMenu1(Control<QMenuBar>(window, "MainMenu1")),
      mnuFile(Control<QMenu>(window, "mnuFile")),
      mnuFileOpen(Control<QAction>(window, "mnuFileOpen")),
      mnuFileNew(Control<QAction>(window, "mnuFileNew")),
      N1(Control<QAction>(window, "N1")),
      mnuFileExit(Control<QAction>(window, "mnuFileExit")),
      mnuConfig(Control<QMenu>(window, "mnuConfig")),
      mnuConfigSetPaths(Control<QAction>(window, "mnuConfigSetPaths")),
      mnuHelp(Control<QMenu>(window, "mnuHelp")),
      mnuHelpContents(Control<QAction>(window, "mnuHelpContents")),
      mnuHelpIndex(Control<QAction>(window, "mnuHelpIndex")),
      N2(Control<QAction>(window, "N2")),
      mnuHelpAbout(Control<QAction>(window, "mnuHelpAbout"))
{
}

QStringList Entries(const QAbstractItemView& list)
{
    QStringList entries;
    const QAbstractItemModel* model = list.model();
    for (int row = 0; row < model->rowCount(list.rootIndex()); ++row)
        entries << model->index(row, 0, list.rootIndex()).data(Qt::DisplayRole).toString();
    return entries;
}

void Press(QDialog& dialog, const QString& caption)
{
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (button->text() == caption && button->isVisible()) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << caption.toStdString() << " on " << dialog.windowTitle().toStdString();
    dialog.done(QDialog::Rejected);
}

void PressNamed(QDialog& dialog, const char* name)
{
    auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
    if (!button) {
        ADD_FAILURE() << "no button " << name;
        dialog.done(QDialog::Rejected);
        return;
    }
    button->click();
}

void PressEnter(QDialog& dialog)
{
    QWidget* focused = QApplication::focusWidget();
    if (!focused || focused->window() != &dialog)
        focused = dialog.focusWidget();
    if (!focused) {
        ADD_FAILURE() << "nothing has the focus in " << dialog.windowTitle().toStdString();
        dialog.done(QDialog::Rejected);
        return;
    }
    QTest::keyClick(focused, Qt::Key_Return);
}

UiTest::UiTest() : settingsFile(tree.path("config/Corvane.conf")) {}

UiTest::~UiTest() = default;

void UiTest::TearDown()
{
    shell.reset();
    EXPECT_TRUE(modals.done()) << "a dialog the test expected was never shown";
    EXPECT_TRUE(modals.unexpected().isEmpty())
        << "unexpected dialog: " << modals.unexpected().join(QStringLiteral(", ")).toStdString();
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_FALSE(widget->isVisible()) << "left open: " << widget->windowTitle().toStdString();
}

void UiTest::storeSettings(const std::string& src, const std::string& targ, const std::string& pak,
                           const std::string& pellark, const std::string& baseGame)
{
    tree.file("config/Corvane.conf", "[General]\nSrcPath=" + src + "\nTargPath=" + targ + "\nPakPath=" + pak
                                         + "\nPellarkPath=" + pellark + "\n"
                                         + (baseGame.empty() ? "" : "BaseGamePath=" + baseGame + "\n"));
}

void UiTest::start()
{
    realStore = std::make_unique<QtKeyStore>(settingsFile);
    store = std::make_unique<CountingKeyStore>(*realStore);
    shell = std::make_unique<Shell>(*store);
}

std::string UiTest::startWithLevel(const std::string& target, const std::string& pak, const std::string& pellark)
{
    const std::string maps = tree.dir("src/maps");
    tree.file("src/maps/small.map", kSmallLevel);
    storeSettings(maps, target, pak, pellark);
    start();
    doubleClickEntry("small.map");
    EXPECT_EQ(main().mode(), WindowMode::MapLoaded);
    return maps;
}

bool UiTest::settingsFileExists() const
{
    return std::ifstream(settingsFile).good();
}

std::string UiTest::stored(const std::string& name) const
{
    std::ifstream file(settingsFile);
    std::string line;
    while (std::getline(file, line)) {
        if (line.compare(0, name.size() + 1, name + "=") == 0)
            return line.substr(name.size() + 1);
    }
    return "<missing>";
}

void UiTest::activate()
{
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
}

void UiTest::doubleClickEntry(const std::string& fileName)
{
    FileList* list = ui().listFiles;
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem* item = list->item(row);
        if (FileList::EntryFileName(*item) == fileName) {
            list->setCurrentItem(item);
            list->scrollToItem(item);
            const QPoint place = list->visualItemRect(item).center();
            // What a mouse sends: press, release, then the second press as a double-click.
            QTest::mousePress(list->viewport(), Qt::LeftButton, {}, place);
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, place);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place);
            return;
        }
    }
    ADD_FAILURE() << "no entry " << fileName << " in " << list->directory();
}

void UiTest::typeInTarget(const QString& text)
{
    QLineEdit* field = ui().editGameDir;
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        QTest::keyClicks(field, text);
}

void UiTest::typeTarget(const QString& text)
{
    typeInTarget(text);
    QWidget* next = ui().listWals->isVisible() ? static_cast<QWidget*>(ui().listWals)
                                                 : static_cast<QWidget*>(ui().listDirs);
    next->setFocus(Qt::TabFocusReason);
}

}  // namespace corvane::ui::test
