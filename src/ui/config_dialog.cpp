#include "ui/config_dialog.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "platform/paths.h"
#include "ui/browser.h"
#include "ui/directory_chooser.h"
#include "ui/desktop_host.h"
#include "ui/main_window.h"
#include "ui/text.h"

namespace corvane::ui {

namespace {

#ifdef _WIN32
constexpr const char* kPakFilter = "Exe (*.exe)";
constexpr const char* kPakFileName = "*.exe";
constexpr const char* kPakSuffix = "exe";
#else
// Programs carry no extension here: every file is offered.
constexpr const char* kPakFilter = "Exe (*)";
constexpr const char* kPakFileName = "";
constexpr const char* kPakSuffix = "";
#endif

QPushButton* BrowseButton(QWidget* parent, const char* name)
{
    auto* button = new QPushButton(QStringLiteral("Browse"), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QLabel* FieldLabel(QWidget* parent, const char* name, const char* caption)
{
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* Field(QWidget* parent, const char* name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setMinimumWidth(360);
    return field;
}

}  // namespace

TfrmConfig::TfrmConfig(Settings& settings, KeyStore& store, Host& host, TfrmMain& main, DirectoryChooser& chooser)
    : QDialog(&main), settings_(settings), store_(store), host_(host), main_(main), chooser_(chooser)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Configure Corvane"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    srcLabel_ = FieldLabel(this, "Label1", "Source Directory");
    srcLabel_->setToolTip(QStringLiteral("Where your .map file is stored"));
    editSrcPath_ = Field(this, "Edit1");
    btnBrowseSrc_ = BrowseButton(this, "btnBrowseSrc");
    targLabel_ = FieldLabel(this, "Label2", "Target Directory ");
    editTargPath_ = Field(this, "Edit2");
    btnBrowseTarg_ = BrowseButton(this, "btnBrowseTarg");
    pakLabel_ = FieldLabel(this, "Label3", "Path to Pak utility");
    editPakPath_ = Field(this, "Edit3");
    btnBrowsePakEd_ = BrowseButton(this, "btnBrowsePakEd");
    pellarkLabel_ = FieldLabel(this, "Label4", "Path to Current Pellark directory");
    editPellarkPath_ = Field(this, "Edit4");
    btnBrowsePellark_ = BrowseButton(this, "btnBrowsePellark");
    baseGameLabel_ = FieldLabel(this, "Label5", "Base game directory");
    baseGameLabel_->setToolTip(QStringLiteral("The game's own folder, which holds its pak0.pak (such as baseq2)"));
    editBaseGamePath_ = Field(this, "Edit5");
    editBaseGamePath_->setPlaceholderText(QStringLiteral("not set"));
    btnBrowseBaseGame_ = BrowseButton(this, "btnBrowseBaseGame");
    srcLabel_->setBuddy(editSrcPath_);
    targLabel_->setBuddy(editTargPath_);
    pakLabel_->setBuddy(editPakPath_);
    pellarkLabel_->setBuddy(editPellarkPath_);
    baseGameLabel_->setBuddy(editBaseGamePath_);

    okButton_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("BitBtn1"));
    okButton_->setDefault(true);
    btnCancel_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    int row = 0;
    for (auto [label, field, button] :
         {std::tuple{srcLabel_, editSrcPath_, btnBrowseSrc_}, std::tuple{targLabel_, editTargPath_, btnBrowseTarg_},
          std::tuple{pakLabel_, editPakPath_, btnBrowsePakEd_},
          std::tuple{pellarkLabel_, editPellarkPath_, btnBrowsePellark_},
          std::tuple{baseGameLabel_, editBaseGamePath_, btnBrowseBaseGame_}}) {
        layout->addWidget(label, row++, 0, 1, 2);
        layout->addWidget(field, row, 0);
        layout->addWidget(button, row++, 1);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(btnCancel_);
    layout->setRowMinimumHeight(row++, 8);
    layout->addLayout(buttons, row, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    dlgOpenPak_ = new QFileDialog(this);
    dlgOpenPak_->setObjectName(QStringLiteral("dlgOpenPak"));
    dlgOpenPak_->setOption(QFileDialog::DontUseNativeDialog);
    dlgOpenPak_->setFileMode(QFileDialog::ExistingFile);
    dlgOpenPak_->setNameFilter(QString::fromLatin1(kPakFilter));
    dlgOpenPak_->setDefaultSuffix(QString::fromLatin1(kPakSuffix));
    dlgOpenPak_->selectFile(QString::fromLatin1(kPakFileName));

    const auto on = [this](QPushButton* button, void (TfrmConfig::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { RunGuarded(host_, [&] { (this->*handler)(); }); });
    };
    on(okButton_, &TfrmConfig::okButtonClick);
    on(btnCancel_, &TfrmConfig::btnCancelClick);
    on(btnBrowseSrc_, &TfrmConfig::btnBrowseSrcClick);
    on(btnBrowseTarg_, &TfrmConfig::btnBrowseTargClick);
    on(btnBrowsePakEd_, &TfrmConfig::btnBrowsePakEdClick);
    on(btnBrowsePellark_, &TfrmConfig::btnBrowsePellarkClick);
    on(btnBrowseBaseGame_, &TfrmConfig::btnBrowseBaseGameClick);
}

void TfrmConfig::FormCreate()
{
    showSettings();
    if (settings_.SrcPath.empty())
        AskDefaultPaths();
}

void TfrmConfig::showSettings()
{
    editSrcPath_->setText(Q(settings_.SrcPath));
    editTargPath_->setText(Q(settings_.TargPath));
    editPakPath_->setText(Q(settings_.PakPath));
    editPellarkPath_->setText(Q(settings_.PellarkPath));
    editBaseGamePath_->setText(Q(settings_.BaseGamePath));
}

void TfrmConfig::AskDefaultPaths()
{
    host_.messageBox({"Please enter your default paths.", kApplicationTitle, MessageIcon::Question,
                      {MessageButton::Ok}});
    exec();
    // Taken over whichever button closed the dialog.
    settings_.SrcPath = Bytes(editSrcPath_->text());
    settings_.TargPath = Bytes(editTargPath_->text());
    settings_.PakPath = Bytes(editPakPath_->text());
    settings_.PellarkPath = Bytes(editPellarkPath_->text());
    settings_.BaseGamePath = Bytes(editBaseGamePath_->text());
    if (!settings_.SrcPath.empty() && IsFullPath(settings_.SrcPath)) {
        settings_.SourceDrive = DriveCharacter(settings_.SrcPath);
        main_.setDrive(settings_.SourceDrive);
        main_.setDirectory(settings_.SrcPath);
    }
    if (!settings_.TargPath.empty() && IsFullPath(settings_.TargPath))
        settings_.TargetDrive = DriveCharacter(settings_.TargPath);
    main_.focusFolders();
}

void TfrmConfig::SetPaths()
{
    // Each showing starts from the settings as they are now, whatever changed
    // them since (the target field, Include Pellark tree, Launch PakEd).
    showSettings();
    if (exec() == QDialog::Accepted) {
        ApplyConfiguredPaths();
        return;
    }
    if (!settings_.SrcPath.empty() && !settings_.TargPath.empty() && !settings_.PakPath.empty())
        return;
    warnDefaultPaths();
    // Shown once more; its OK applies the fields like the first showing's.
    showSettings();
    if (exec() == QDialog::Accepted)
        ApplyConfiguredPaths();
}

void TfrmConfig::warnDefaultPaths()
{
    host_.messageBox({"Please set default paths", "Warning", MessageIcon::Information, {MessageButton::Ok}});
}

void TfrmConfig::ApplyConfiguredPaths()
{
    if (!store_.CreateKey())
        return;
    // The key is released (and flushed) however the configuration ends.
    struct Release {
        KeyStore& store;
        ~Release() { store.FlushKey(); }
    } release{store_};
    if (editSrcPath_->text().isEmpty() || editTargPath_->text().isEmpty()) {
        warnDefaultPaths();
        return;
    }
    settings_.SrcPath = Bytes(editSrcPath_->text());
    WriteSettingValue(store_, kSrcPathValue, settings_.SrcPath);
    settings_.SourceDrive = DriveCharacter(settings_.SrcPath);
    settings_.TargPath = Bytes(editTargPath_->text());
    WriteSettingValue(store_, kTargPathValue, settings_.TargPath);
    main_.setDrive(settings_.SourceDrive);
    main_.setDirectory(settings_.SrcPath);
    settings_.TargetDrive = DriveCharacter(settings_.TargPath);
    main_.setTargetField(settings_.TargPath);
    settings_.PakPath = Bytes(editPakPath_->text());
    WriteSettingValue(store_, kPakPathValue, settings_.PakPath);
    settings_.PellarkPath = Bytes(editPellarkPath_->text());
    WriteSettingValue(store_, kPellarkPathValue, settings_.PellarkPath);
    settings_.BaseGamePath = Bytes(editBaseGamePath_->text());
    WriteSettingValue(store_, kBaseGamePathValue, settings_.BaseGamePath);
    main_.pictureSourcesChanged();
}

void TfrmConfig::okButtonClick()
{
    accept();
}

void TfrmConfig::btnCancelClick()
{
    reject();
}

void TfrmConfig::browseInto(QLineEdit* field, ChooserPurpose purpose)
{
    if (const std::optional<std::string> chosen = chooser_.choose(purpose))
        field->setText(Q(*chosen));
}

void TfrmConfig::btnBrowseSrcClick()
{
    browseInto(editSrcPath_, ChooserPurpose::Source);
}

void TfrmConfig::btnBrowseTargClick()
{
    browseInto(editTargPath_, ChooserPurpose::Target);
}

void TfrmConfig::btnBrowsePellarkClick()
{
    browseInto(editPellarkPath_, ChooserPurpose::Pellark);
}

void TfrmConfig::btnBrowseBaseGameClick()
{
    browseInto(editBaseGamePath_, ChooserPurpose::BaseGame);
}

void TfrmConfig::btnBrowsePakEdClick()
{
    dlgOpenPak_->selectFile(Q(settings_.PakPath));
    std::string chosen;
    if (LocatePakUtility(chosen))
        editPakPath_->setText(Q(chosen));
}

bool TfrmConfig::LocatePakUtility(std::string& chosen)
{
    dlgOpenPak_->setWindowTitle(QStringLiteral("Locate Pak Utility"));
    if (dlgOpenPak_->exec() != QDialog::Accepted || dlgOpenPak_->selectedFiles().isEmpty())
        return false;
    chosen = Bytes(dlgOpenPak_->selectedFiles().front());
    return true;
}

}  // namespace corvane::ui
