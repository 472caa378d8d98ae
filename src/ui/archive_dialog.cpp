#include "ui/archive_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QThread>

#include "platform/files.h"
#include "platform/paths.h"
#include "transfer/byte_total.h"
#include "ui/desktop_host.h"
#include "ui/text.h"

namespace corvane::ui {

namespace {

std::string Count(std::uint64_t n)
{
    return FormatByteCount(std::to_string(n));
}

}  // namespace

TfrmArchive::TfrmArchive(Host& host, QWidget* parent) : QDialog(parent), host_(host)
{
    setObjectName(QStringLiteral("frmArchive"));
    setWindowTitle(QStringLiteral("Build Archive"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* folderLabel = new QLabel(QStringLiteral("Game folder"), this);
    lblArchiveFolder_ = Named(new QLabel(this), "lblArchiveFolder");
    lblArchiveFolder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* formatLabel = new QLabel(QStringLiteral("Format"), this);
    optionPak_ = Named(new QRadioButton(QStringLiteral("pak"), this), "optionPak");
    optionPak_->setToolTip(QStringLiteral("The game's own archive, pak0.pak in the game folder"));
    optionPk3_ = Named(new QRadioButton(QStringLiteral("pk3"), this), "optionPk3");
    optionPk3_->setToolTip(QStringLiteral("A zip, compressed, beside the game folder"));
    optionPkz_ = Named(new QRadioButton(QStringLiteral("pkz"), this), "optionPkz");
    optionPkz_->setToolTip(QStringLiteral("The same zip under the name some current engines load"));
    optionPak_->setChecked(true);
    auto* formats = new QButtonGroup(this);
    for (QRadioButton* option : {optionPak_, optionPk3_, optionPkz_})
        formats->addButton(option);
    auto* archiveLabel = new QLabel(QStringLiteral("&Archive"), this);
    editArchive_ = Named(new QLineEdit(this), "editArchive");
    editArchive_->setMinimumWidth(420);
    archiveLabel->setBuddy(editArchive_);
    btnBrowseArchive_ = Named(new QPushButton(QStringLiteral("Browse"), this), "btnBrowseArchive");
    btnBrowseArchive_->setAutoDefault(false);
    chbxWithSources_ =
        Named(new QCheckBox(QStringLiteral("Include the level sources (.map files)"), this), "chbxWithSources");
    barArchive_ = Named(new QProgressBar(this), "barArchive");
    barArchive_->setTextVisible(false);
    barArchive_->setRange(0, 1);
    barArchive_->setValue(0);
    lblArchiveResult_ = Named(new QLabel(this), "lblArchiveResult");
    lblArchiveResult_->setWordWrap(true);
    lblArchiveResult_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    memoArchive_ = Named(new QPlainTextEdit(this), "memoArchive");
    memoArchive_->setReadOnly(true);
    memoArchive_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memoArchive_->setMaximumHeight(120);
    memoArchive_->hide();
    btnBuild_ = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("&Build"), this),
                      "btnBuild");
    btnBuild_->setDefault(true);
    btnClose_ = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Close"), this),
                      "btnClose");
    btnClose_->setAutoDefault(false);

    auto* formatRow = new QHBoxLayout;
    for (QRadioButton* option : {optionPak_, optionPk3_, optionPkz_})
        formatRow->addWidget(option);
    formatRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnBuild_);
    buttons->addWidget(btnClose_);

    auto* layout = new QGridLayout(this);
    layout->addWidget(folderLabel, 0, 0);
    layout->addWidget(lblArchiveFolder_, 0, 1, 1, 2);
    layout->addWidget(formatLabel, 1, 0);
    layout->addLayout(formatRow, 1, 1, 1, 2);
    layout->addWidget(archiveLabel, 2, 0);
    layout->addWidget(editArchive_, 2, 1);
    layout->addWidget(btnBrowseArchive_, 2, 2);
    layout->addWidget(chbxWithSources_, 3, 1, 1, 2);
    layout->addWidget(barArchive_, 4, 0, 1, 3);
    layout->addWidget(lblArchiveResult_, 5, 0, 1, 3);
    layout->addWidget(memoArchive_, 6, 0, 1, 3);
    layout->addLayout(buttons, 7, 0, 1, 3);
    layout->setColumnStretch(1, 1);

    connect(formats, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool on) {
        if (on)
            formatChanged();
    });
    const auto on = [this](QPushButton* button, void (TfrmArchive::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { RunGuarded(host_, [&] { (this->*handler)(); }); });
    };
    on(btnBuild_, &TfrmArchive::btnBuildClick);
    on(btnClose_, &TfrmArchive::btnCloseClick);
    on(btnBrowseArchive_, &TfrmArchive::btnBrowseArchiveClick);
}

ArchiveFormat TfrmArchive::format() const
{
    return optionPk3_->isChecked() ? ArchiveFormat::Pk3 : optionPkz_->isChecked() ? ArchiveFormat::Pkz : ArchiveFormat::Pak;
}

void TfrmArchive::BuildFor(const std::string& folder)
{
    folder_ = folder;
    lblArchiveFolder_->setText(Q(folder));
    defaultArchive_.clear();
    formatChanged();
    barArchive_->setRange(0, 1);
    barArchive_->setValue(0);
    lblArchiveResult_->clear();
    memoArchive_->clear();
    memoArchive_->hide();
    exec();
}

void TfrmArchive::formatChanged()
{
    // A path the user typed stays; the default one follows the format.
    const std::string shown = Bytes(editArchive_->text());
    if (!shown.empty() && shown != defaultArchive_)
        return;
    defaultArchive_ = DefaultArchivePath(folder_, format());
    editArchive_->setText(Q(defaultArchive_));
}

void TfrmArchive::btnBrowseArchiveClick()
{
    const char* filter = format() == ArchiveFormat::Pak   ? "Pak (*.pak)"
                         : format() == ArchiveFormat::Pk3 ? "Pk3 (*.pk3)"
                                                          : "Pkz (*.pkz)";
    const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Build Archive"), editArchive_->text(),
                                                        QString::fromLatin1(filter), nullptr,
                                                        QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty())
        editArchive_->setText(chosen);
}

void TfrmArchive::btnBuildClick()
{
    const std::string archive = Bytes(editArchive_->text());
    if (!IsFullPath(archive)) {
        host_.messageBox({"Name the archive with a full path.", "Build Archive", MessageIcon::Warning,
                          {MessageButton::Ok}});
        return;
    }
    PackOptions options;
    options.format = format();
    options.withSources = chbxWithSources_->isChecked();
    if (PathExists(archive) && !DirectoryExists(archive)) {
        if (host_.messageBox({archive + "\nalready exists. Replace it?", "Build Archive", MessageIcon::Question,
                              {MessageButton::Yes, MessageButton::No}}) != MessageButton::Yes)
            return;
        options.force = true;
    }

    // The worker packs; the dialog keeps its loop running, shows the
    // progress it is sent and can ask it to stop.
    cancel_ = false;
    options.cancelled = [this] { return cancel_.load(); };
    options.progress = [this](std::size_t done, std::size_t total) {
        QMetaObject::invokeMethod(this, [this, done, total] { showProgress(done, total); }, Qt::QueuedConnection);
    };
    lock(true);
    lblArchiveResult_->setText(QStringLiteral("Packing..."));
    memoArchive_->clear();
    memoArchive_->hide();
    PackResult result;
    QEventLoop waiting;
    QThread* worker = QThread::create([&] { result = PackFolder(folder_, archive, options); });
    connect(worker, &QThread::finished, &waiting, &QEventLoop::quit);
    worker->start();
    waiting.exec();
    worker->wait();
    delete worker;
    lock(false);
    showResult(archive, result);
    if (result.ok)
        emit built(archive);
}

void TfrmArchive::showProgress(std::size_t done, std::size_t total)
{
    if (!packing_)
        return;
    barArchive_->setRange(0, static_cast<int>(std::min<std::size_t>(total, 1'000'000)));
    barArchive_->setValue(static_cast<int>(std::min(done, std::min<std::size_t>(total, 1'000'000))));
    lblArchiveResult_->setText(Q("Packing: " + Count(done) + " of " + Count(total) + " files"));
}

void TfrmArchive::showResult(const std::string& archive, const PackResult& result)
{
    if (result.ok)
        lblArchiveResult_->setText(
            Q("Built " + archive + ": " + Count(result.entries) + " files, " + Count(result.bytes) + " bytes"));
    else if (result.cancelled)
        lblArchiveResult_->setText(QStringLiteral("Cancelled: nothing was written."));
    else
        lblArchiveResult_->setText(QStringLiteral("The archive was not written:"));
    if (!result.ok)
        barArchive_->setValue(barArchive_->minimum());
    QStringList lines;
    if (!result.cancelled) {
        for (const std::string& error : result.errors)
            lines << Q(error);
    }
    for (const ArchiveWarning& warning : result.warnings)
        lines << Q("Warning: " + warning.text());
    memoArchive_->setPlainText(lines.join(QLatin1Char('\n')));
    memoArchive_->setVisible(!lines.isEmpty());
}

void TfrmArchive::lock(bool packing)
{
    packing_ = packing;
    for (QWidget* field : std::initializer_list<QWidget*>{optionPak_, optionPk3_, optionPkz_, editArchive_,
                                                          btnBrowseArchive_, chbxWithSources_, btnBuild_})
        field->setEnabled(!packing);
    btnClose_->setText(packing ? QStringLiteral("Cancel") : QStringLiteral("Close"));
}

void TfrmArchive::btnCloseClick()
{
    if (packing_) {
        cancel_ = true;  // the worker stops at its next file; the result says so
        return;
    }
    QDialog::reject();
}

void TfrmArchive::reject()
{
    // The close box and Escape cancel a pack first, as Cancel does.
    btnCloseClick();
}

}  // namespace corvane::ui
