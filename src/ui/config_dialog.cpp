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
#include "ui/chooser_dialog.h"
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

TfrmConfig::TfrmConfig(Settings& settings, KeyStore& store, Host& host, TfrmMain& main, TForm1& chooser)
    : QDialog(&main), settings_(settings), store_(store), host_(host), main_(main), chooser_(chooser)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Configure Corvane"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    Label1 = FieldLabel(this, "Label1", "Source Directory");
    Label1->setToolTip(QStringLiteral("Where your .map file is stored"));
    Edit1 = Field(this, "Edit1");
    btnBrowseSrc = BrowseButton(this, "btnBrowseSrc");
    Label2 = FieldLabel(this, "Label2", "Target Directory ");
    Edit2 = Field(this, "Edit2");
    btnBrowseTarg = BrowseButton(this, "btnBrowseTarg");
    Label3 = FieldLabel(this, "Label3", "Path to Pak utility");
    Edit3 = Field(this, "Edit3");
    btnBrowsePakEd = BrowseButton(this, "btnBrowsePakEd");
    Label4 = FieldLabel(this, "Label4", "Path to Current Pellark directory");
    Edit4 = Field(this, "Edit4");
    btnBrowsePellark = BrowseButton(this, "btnBrowsePellark");
    Label1->setBuddy(Edit1);
    Label2->setBuddy(Edit2);
    Label3->setBuddy(Edit3);
    Label4->setBuddy(Edit4);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    btnCancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    int row = 0;
    for (auto [label, field, button] : {std::tuple{Label1, Edit1, btnBrowseSrc}, std::tuple{Label2, Edit2, btnBrowseTarg},
                                        std::tuple{Label3, Edit3, btnBrowsePakEd},
                                        std::tuple{Label4, Edit4, btnBrowsePellark}}) {
        layout->addWidget(label, row++, 0, 1, 2);
        layout->addWidget(field, row, 0);
        layout->addWidget(button, row++, 1);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(btnCancel);
    layout->setRowMinimumHeight(row++, 8);
    layout->addLayout(buttons, row, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    dlgOpenPak = new QFileDialog(this);
    dlgOpenPak->setObjectName(QStringLiteral("dlgOpenPak"));
    dlgOpenPak->setOption(QFileDialog::DontUseNativeDialog);
    dlgOpenPak->setFileMode(QFileDialog::ExistingFile);
    dlgOpenPak->setNameFilter(QString::fromLatin1(kPakFilter));
    dlgOpenPak->setDefaultSuffix(QString::fromLatin1(kPakSuffix));
    dlgOpenPak->selectFile(QString::fromLatin1(kPakFileName));

    const auto on = [this](QPushButton* button, void (TfrmConfig::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { RunGuarded(host_, [&] { (this->*handler)(); }); });
    };
    on(BitBtn1, &TfrmConfig::BitBtn1Click);
    on(btnCancel, &TfrmConfig::btnCancelClick);
    on(btnBrowseSrc, &TfrmConfig::btnBrowseSrcClick);
    on(btnBrowseTarg, &TfrmConfig::btnBrowseTargClick);
    on(btnBrowsePakEd, &TfrmConfig::btnBrowsePakEdClick);
    on(btnBrowsePellark, &TfrmConfig::btnBrowsePellarkClick);
}

void TfrmConfig::FormCreate()
{
    Edit1->setText(Q(settings_.SrcPath));
    Edit2->setText(Q(settings_.TargPath));
    Edit3->setText(Q(settings_.PakPath));
    Edit4->setText(Q(settings_.PellarkPath));
    if (settings_.SrcPath.empty())
        AskDefaultPaths();
}

void TfrmConfig::AskDefaultPaths()
{
    host_.messageBox({"Please enter your default paths.", kApplicationTitle, MessageIcon::Question,
                      {MessageButton::Ok}});
    exec();
    // Taken over whichever button closed the dialog.
    settings_.SrcPath = Bytes(Edit1->text());
    settings_.TargPath = Bytes(Edit2->text());
    settings_.PakPath = Bytes(Edit3->text());
    settings_.PellarkPath = Bytes(Edit4->text());
    if (!settings_.SrcPath.empty() && IsFullPath(settings_.SrcPath)) {
        settings_.SourceDrive = DriveCharacter(settings_.SrcPath);
        main_.setDrive(settings_.SourceDrive);
        main_.setDirectory(settings_.SrcPath);
    }
    if (!settings_.TargPath.empty() && IsFullPath(settings_.TargPath))
        settings_.TargetDrive = DriveCharacter(settings_.TargPath);
    main_.listDirs->setFocus(Qt::OtherFocusReason);
}

void TfrmConfig::SetPaths()
{
    if (exec() == QDialog::Accepted) {
        ApplyConfiguredPaths();
        return;
    }
    if (!settings_.SrcPath.empty() && !settings_.TargPath.empty() && !settings_.PakPath.empty())
        return;
    warnDefaultPaths();
    // Shown once more; its OK applies the fields like the first showing's.
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
    if (Edit1->text().isEmpty() || Edit2->text().isEmpty()) {
        warnDefaultPaths();
        return;
    }
    settings_.SrcPath = Bytes(Edit1->text());
    WriteSettingValue(store_, kSrcPathValue, settings_.SrcPath);
    settings_.SourceDrive = DriveCharacter(settings_.SrcPath);
    settings_.TargPath = Bytes(Edit2->text());
    WriteSettingValue(store_, kTargPathValue, settings_.TargPath);
    main_.setDrive(settings_.SourceDrive);
    main_.setDirectory(settings_.SrcPath);
    settings_.TargetDrive = DriveCharacter(settings_.TargPath);
    main_.setTargetField(settings_.TargPath);
    settings_.PakPath = Bytes(Edit3->text());
    WriteSettingValue(store_, kPakPathValue, settings_.PakPath);
    settings_.PellarkPath = Bytes(Edit4->text());
    WriteSettingValue(store_, kPellarkPathValue, settings_.PellarkPath);
}

void TfrmConfig::BitBtn1Click()
{
    accept();
}

void TfrmConfig::btnCancelClick()
{
    reject();
}

void TfrmConfig::browseInto(QLineEdit* field, int purpose)
{
    int saved = main_.MainMode;
    if (RunChooser(chooser_, main_.MainMode, saved, purpose))
        field->setText(chooser_.editDir->text());
}

void TfrmConfig::btnBrowseSrcClick()
{
    browseInto(Edit1, PurposeSource);
}

void TfrmConfig::btnBrowseTargClick()
{
    browseInto(Edit2, PurposeTarget);
}

void TfrmConfig::btnBrowsePellarkClick()
{
    browseInto(Edit4, PurposePellark);
}

void TfrmConfig::btnBrowsePakEdClick()
{
    dlgOpenPak->selectFile(Q(settings_.PakPath));
    std::string chosen;
    if (LocatePakUtility(chosen))
        Edit3->setText(Q(chosen));
}

bool TfrmConfig::LocatePakUtility(std::string& chosen)
{
    dlgOpenPak->setWindowTitle(QStringLiteral("Locate Pak Utility"));
    if (dlgOpenPak->exec() != QDialog::Accepted || dlgOpenPak->selectedFiles().isEmpty())
        return false;
    chosen = Bytes(dlgOpenPak->selectedFiles().front());
    return true;
}

}  // namespace corvane::ui
