#include "ui/directory_chooser.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "platform/files.h"
#include "platform/paths.h"
#include "ui/browser.h"
#include "ui/desktop_host.h"
#include "ui/text.h"

namespace corvane::ui {

DirectoryChooser::DirectoryChooser(const Settings& settings, Host& host, QWidget* parent)
    : QDialog(parent), settings_(settings), host_(host)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Set Game Directory"));
    resize(620, 380);

    driveBox_ = new DriveBox(this);
    driveBox_->setObjectName(QStringLiteral("DriveComboBox1"));
    folderList_ = new DirectoryList(this);
    folderList_->setObjectName(QStringLiteral("DirectoryListBox1"));
    driveBox_->followDirectory(folderList_->directory());
    pathLabel_ = new QLabel(QStringLiteral("New Dir"), this);
    pathLabel_->setObjectName(QStringLiteral("Label1"));
    editDir_ = new QLineEdit(this);
    editDir_->setObjectName(QStringLiteral("editDir"));
    pathLabel_->setBuddy(editDir_);

    okButton_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("O&kay"), this);
    okButton_->setObjectName(QStringLiteral("BitBtn1"));
    okButton_->setDefault(true);
    cancelButton_ =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("&Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("BitBtn2"));

    auto* right = new QVBoxLayout;
    right->addWidget(pathLabel_);
    right->addWidget(editDir_);
    right->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    right->addLayout(buttons);

    auto* layout = new QGridLayout(this);
    layout->addWidget(driveBox_, 0, 0);
    layout->addWidget(folderList_, 1, 0);
    layout->addLayout(right, 0, 1, 2, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    connect(driveBox_, &DriveBox::driveChosen, this, [this](const std::string& path) {
        RunGuarded(host_, [&] { folderList_->setDirectory(path); });
    });
    connect(folderList_, &DirectoryList::directoryChanged, this, &DirectoryChooser::folderListChange);
    connect(okButton_, &QPushButton::clicked, this, &DirectoryChooser::okButtonClick);
    connect(cancelButton_, &QPushButton::clicked, this, &DirectoryChooser::cancelButtonClick);

    // FormCreate: the path field starts empty.
    editDir_->clear();
}

const char* DirectoryChooser::TitleOf(ChooserPurpose purpose)
{
    switch (purpose) {
    case ChooserPurpose::Source: return "Set Source Directory";
    case ChooserPurpose::Target: return "Set Target Directory";
    case ChooserPurpose::Pellark: return "Set Pellark Directory";
    case ChooserPurpose::BaseGame: return "Set Base Game Directory";
    }
    return "";
}

void DirectoryChooser::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    RunGuarded(host_, [this] { FormShow(); });
}

void DirectoryChooser::FormShow()
{
    setWindowTitle(QString::fromLatin1(TitleOf(purpose_)));
    const std::string* stored = nullptr;
    char drive = '\0';
    switch (purpose_) {
    case ChooserPurpose::Source: stored = &settings_.SrcPath; drive = settings_.SourceDrive; break;
    case ChooserPurpose::Target: stored = &settings_.TargPath; drive = settings_.TargetDrive; break;
    case ChooserPurpose::Pellark: stored = &settings_.PellarkPath; drive = settings_.PellarkDrive; break;
    case ChooserPurpose::BaseGame: stored = &settings_.BaseGamePath; drive = DriveCharacter(*stored); break;
    }
    if (stored->empty() || !DirectoryExists(*stored))
        return;  // opens where it was left
    driveBox_->selectDrive(drive);
    folderList_->setDirectory(*stored);
    driveBox_->followDirectory(folderList_->directory());
}

void DirectoryChooser::folderListChange()
{
    driveBox_->followDirectory(folderList_->directory());
    editDir_->setText(Q(folderList_->directory()));
}

void DirectoryChooser::okButtonClick()
{
    accept();
}

void DirectoryChooser::cancelButtonClick()
{
    reject();
}

std::optional<std::string> DirectoryChooser::choose(ChooserPurpose purpose)
{
    purpose_ = purpose;
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return Bytes(editDir_->text());
}

}  // namespace corvane::ui
