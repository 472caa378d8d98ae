#include "ui/chooser_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "platform/files.h"
#include "ui/browser.h"
#include "ui/desktop_host.h"
#include "ui/text.h"

namespace corvane::ui {

TForm1::TForm1(const int& mainMode, const Settings& settings, Host& host, QWidget* parent)
    : QDialog(parent), mainMode_(mainMode), settings_(settings), host_(host)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Set Game Directory"));
    resize(620, 380);

    DriveComboBox1 = new DriveBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DirectoryListBox1 = new DirectoryList(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DriveComboBox1->followDirectory(DirectoryListBox1->directory());
    Label1 = new QLabel(QStringLiteral("New Dir"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    editDir = new QLineEdit(this);
    editDir->setObjectName(QStringLiteral("editDir"));
    Label1->setBuddy(editDir);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("O&kay"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("&Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto* right = new QVBoxLayout;
    right->addWidget(Label1);
    right->addWidget(editDir);
    right->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    right->addLayout(buttons);

    auto* layout = new QGridLayout(this);
    layout->addWidget(DriveComboBox1, 0, 0);
    layout->addWidget(DirectoryListBox1, 1, 0);
    layout->addLayout(right, 0, 1, 2, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    connect(DriveComboBox1, &DriveBox::driveChosen, this, [this](const std::string& path) {
        RunGuarded(host_, [&] { DirectoryListBox1->setDirectory(path); });
    });
    connect(DirectoryListBox1, &DirectoryList::directoryChanged, this, &TForm1::DirectoryListBox1Change);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);

    // FormCreate: the path field starts empty.
    editDir->clear();
}

const char* TForm1::TitleOf(int purpose)
{
    switch (purpose) {
    case PurposeSource: return "Set Source Directory";
    case PurposeTarget: return "Set Target Directory";
    case PurposePellark: return "Set Pellark Directory";
    default: return "";
    }
}

void TForm1::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    RunGuarded(host_, [this] { FormShow(); });
}

void TForm1::FormShow()
{
    const int purpose = mainMode_;
    setWindowTitle(QString::fromLatin1(TitleOf(purpose)));
    const std::string* stored = nullptr;
    char drive = '\0';
    switch (purpose) {
    case PurposeSource: stored = &settings_.SrcPath; drive = settings_.SourceDrive; break;
    case PurposeTarget: stored = &settings_.TargPath; drive = settings_.TargetDrive; break;
    case PurposePellark: stored = &settings_.PellarkPath; drive = settings_.PellarkDrive; break;
    default: return;
    }
    if (stored->empty() || !DirectoryExists(*stored))
        return;  // opens where it was left
    DriveComboBox1->selectDrive(drive);
    DirectoryListBox1->setDirectory(*stored);
    DriveComboBox1->followDirectory(DirectoryListBox1->directory());
}

void TForm1::DirectoryListBox1Change()
{
    DriveComboBox1->followDirectory(DirectoryListBox1->directory());
    editDir->setText(Q(DirectoryListBox1->directory()));
}

void TForm1::BitBtn1Click()
{
    accept();
}

void TForm1::BitBtn2Click()
{
    reject();
}

bool RunChooser(TForm1& chooser, int& mainMode, int& saved, int purpose)
{
    saved = mainMode;
    mainMode = purpose;
    const int result = chooser.exec();
    mainMode = saved;
    return result == QDialog::Accepted;
}

}  // namespace corvane::ui
