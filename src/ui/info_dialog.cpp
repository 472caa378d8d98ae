#include "ui/info_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/fonts.h"
#include "ui/text.h"

namespace corvane::ui {

TfrmInfo::TfrmInfo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Information"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);

    memoInfo_ = new QPlainTextEdit(this);
    memoInfo_->setObjectName(QStringLiteral("memoInfo"));
    memoInfo_->setReadOnly(true);
    memoInfo_->setFont(FixedPitchFont());
    memoInfo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoInfo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memoInfo_->setMinimumSize(600, 320);

    memoProblems_ = new QPlainTextEdit(this);
    memoProblems_->setObjectName(QStringLiteral("memoProblems"));
    memoProblems_->setReadOnly(true);
    memoProblems_->setFont(FixedPitchFont());
    memoProblems_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memoProblems_->setMaximumHeight(120);
    memoProblems_->hide();

    chbxDontShow_ = new QCheckBox(this);
    chbxDontShow_->setObjectName(QStringLiteral("chbxDontShow"));
    chbxDontShow_->hide();
    lblAgain_ = new QLabel(QStringLiteral("Don't show this message again"), this);
    lblAgain_->setObjectName(QStringLiteral("lblAgain"));
    lblAgain_->setWordWrap(true);
    lblAgain_->setBuddy(chbxDontShow_);
    lblAgain_->hide();

    icon_ = new QLabel(this);
    icon_->setObjectName(QStringLiteral("Image1"));
    icon_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));

    bbtnOkay_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Continue"), this);
    bbtnOkay_->setObjectName(QStringLiteral("bbtnOkay"));
    bbtnOkay_->setDefault(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(icon_);
    bottom->addWidget(chbxDontShow_);
    bottom->addWidget(lblAgain_, 1);
    bottom->addStretch();
    bottom->addWidget(bbtnOkay_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memoInfo_, 1);
    layout->addWidget(memoProblems_);
    layout->addLayout(bottom);

    connect(bbtnOkay_, &QPushButton::clicked, this, &TfrmInfo::bbtnOkayClick);
}

namespace {

void SetMemoLines(QPlainTextEdit& memo, const std::vector<std::string>& lines)
{
    QStringList text;
    for (const std::string& line : lines)
        text << Q(line);
    memo.setPlainText(text.join(QLatin1Char('\n')));
}

}  // namespace

void TfrmInfo::setLines(const std::vector<std::string>& lines, const std::vector<std::string>& problems)
{
    SetMemoLines(*memoInfo_, lines);
    SetMemoLines(*memoProblems_, problems);
    memoProblems_->setVisible(!problems.empty());
}

int TfrmInfo::showModally()
{
    if (isVisible()) {
        closing_ = true;
        hide();
        closing_ = false;
    }
    return exec();
}

bool TfrmInfo::showModallyAskingAgain()
{
    chbxDontShow_->show();
    lblAgain_->show();
    showModally();
    chbxDontShow_->hide();
    lblAgain_->hide();
    return chbxDontShow_->isChecked();
}

void TfrmInfo::bbtnOkayClick()
{
    closing_ = true;
    accept();
    closing_ = false;
}

void TfrmInfo::reject()
{
    // Only "Continue" closes the dialog.
}

void TfrmInfo::closeEvent(QCloseEvent* event)
{
    if (!closing_)
        event->ignore();
}

}  // namespace corvane::ui
