#include "ui/info_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/text.h"

namespace corvane::ui {

TfrmInfo::TfrmInfo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Information"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);

    memoInfo = new QPlainTextEdit(this);
    memoInfo->setObjectName(QStringLiteral("memoInfo"));
    memoInfo->setReadOnly(true);
    memoInfo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memoInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoInfo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memoInfo->setMinimumSize(600, 320);

    chbxDontShow = new QCheckBox(this);
    chbxDontShow->setObjectName(QStringLiteral("chbxDontShow"));
    chbxDontShow->hide();
    lblAgain = new QLabel(QStringLiteral("Don't show this message again"), this);
    lblAgain->setObjectName(QStringLiteral("lblAgain"));
    lblAgain->setWordWrap(true);
    lblAgain->setBuddy(chbxDontShow);
    lblAgain->hide();

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));

    bbtnOkay = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Continue"), this);
    bbtnOkay->setObjectName(QStringLiteral("bbtnOkay"));
    bbtnOkay->setDefault(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Image1);
    bottom->addWidget(chbxDontShow);
    bottom->addWidget(lblAgain, 1);
    bottom->addStretch();
    bottom->addWidget(bbtnOkay);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memoInfo, 1);
    layout->addLayout(bottom);

    connect(bbtnOkay, &QPushButton::clicked, this, &TfrmInfo::bbtnOkayClick);
}

void TfrmInfo::setLines(const std::vector<std::string>& lines)
{
    QStringList text;
    for (const std::string& line : lines)
        text << Q(line);
    memoInfo->setPlainText(text.join(QLatin1Char('\n')));
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
