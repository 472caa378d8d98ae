#include "ui/prompt_dialog.h"

#include <algorithm>

#include <QCloseEvent>
#include <QFontMetrics>
#include <QScreen>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/text.h"

namespace corvane::ui {

namespace {

constexpr int kTabWidth = 32;  // the gap between a path and its date

QPushButton* PromptButton(QDialog* dialog, const char* name, const char* caption, QStyle::StandardPixmap glyph)
{
    auto* button = new QPushButton(dialog->style()->standardIcon(glyph), QString::fromLatin1(caption), dialog);
    button->setObjectName(QString::fromLatin1(name));
    // Enter presses the focused button only; none is the default one.
    button->setAutoDefault(true);
    button->setDefault(false);
    button->setMinimumWidth(96);
    return button;
}

}  // namespace

TfrmMyMsg::TfrmMyMsg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMyMsg"));
    setWindowTitle(QStringLiteral("File Exists!"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    icon_ = new QLabel(this);
    icon_->setObjectName(QStringLiteral("Image1"));
    icon_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    icon_->setAlignment(Qt::AlignTop);

    memoStatus_ = new QPlainTextEdit(this);
    memoStatus_->setObjectName(QStringLiteral("memoStatus"));
    memoStatus_->setReadOnly(true);
    memoStatus_->setFrameShape(QFrame::NoFrame);
    memoStatus_->setBackgroundRole(QPalette::Button);
    memoStatus_->viewport()->setBackgroundRole(QPalette::Button);
    memoStatus_->setPlainText(QStringLiteral("memoStatus"));
    memoStatus_->setMinimumSize(420, 150);
    memoStatus_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memoStatus_->setTabStopDistance(kTabWidth);

    bbtnYes_ = PromptButton(this, "bbtnYes", kPromptYesCaption, QStyle::SP_DialogYesButton);
    bbtnNo_ = PromptButton(this, "bbtnNo", "&No", QStyle::SP_DialogCancelButton);
    bbtnYesAll_ = PromptButton(this, "bbtnYesAll", "Ye&s to All", QStyle::SP_DialogApplyButton);
    bbtnNoAll_ = PromptButton(this, "bbtnNoAll", kPromptNoAllCaption, QStyle::SP_DialogNoButton);

    auto* top = new QHBoxLayout;
    top->addWidget(icon_);
    top->addWidget(memoStatus_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bbtnYes_);
    buttons->addWidget(bbtnNo_);
    buttons->addSpacing(16);
    buttons->addWidget(bbtnYesAll_);
    buttons->addWidget(bbtnNoAll_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    // Tab order: Yes, No, the memo, Yes to All, No to All.
    setTabOrder(bbtnYes_, bbtnNo_);
    setTabOrder(bbtnNo_, memoStatus_);
    setTabOrder(memoStatus_, bbtnYesAll_);
    setTabOrder(bbtnYesAll_, bbtnNoAll_);

    connect(bbtnYes_, &QPushButton::clicked, this, &TfrmMyMsg::bbtnYesClick);
    connect(bbtnNo_, &QPushButton::clicked, this, &TfrmMyMsg::bbtnNoClick);
    connect(bbtnYesAll_, &QPushButton::clicked, this, &TfrmMyMsg::bbtnYesAllClick);
    connect(bbtnNoAll_, &QPushButton::clicked, this, &TfrmMyMsg::bbtnNoAllClick);
}

OverwriteAnswer TfrmMyMsg::ShowPrompt(const PromptRequest& request)
{
    setWindowTitle(Q(request.caption));
    QStringList lines;
    for (const std::string& line : request.lines)
        lines << Q(line);
    memoStatus_->setPlainText(lines.join(QLatin1Char('\n')));
    fitMemo();
    bbtnYes_->setText(Q(request.yesCaption));
    bbtnNoAll_->setText(Q(request.noToAllCaption));
    bbtnYes_->setVisible(request.showYes);
    bbtnNo_->setVisible(request.showNo);
    bbtnYesAll_->setVisible(request.showYesToAll);
    bbtnNoAll_->setVisible(request.showNoToAll);
    // Enter presses the focused button: it must never be the one pressed last
    // time, which may have been Yes to All.
    safestButton(request)->setFocus(Qt::OtherFocusReason);

    answered_ = false;
    exec();

    bbtnYes_->setText(QString::fromLatin1(kPromptYesCaption));
    bbtnNoAll_->setText(QString::fromLatin1(kPromptNoAllCaption));
    return answer_;
}

QPushButton* TfrmMyMsg::safestButton(const PromptRequest& request) const
{
    // No; else Cancel, where No to All stands for it; else the notice's only button.
    if (request.showNo)
        return bbtnNo_;
    if (request.showNoToAll && request.meaningOf(PromptButton::NoToAll) == PromptMeaning::Cancel)
        return bbtnNoAll_;
    if (request.showYes)
        return bbtnYes_;
    return request.showNoToAll ? bbtnNoAll_ : bbtnYesAll_;
}

void TfrmMyMsg::fitMemo()
{
    // Long paths stay on one line with their date: the memo grows to its
    // longest line, up to most of the screen, and scrolls beyond that.
    const QFontMetrics metrics(memoStatus_->font());
    int widest = 0;
    const QStringList lines = memoStatus_->toPlainText().split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const int tab = line.indexOf(QLatin1Char('\t'));
        const int width = tab < 0 ? metrics.horizontalAdvance(line)
                                  : metrics.horizontalAdvance(line.left(tab)) + kTabWidth +
                                        metrics.horizontalAdvance(line.mid(tab + 1));
        widest = std::max(widest, width);
    }
    int limit = 900;
    if (const QScreen* screen = this->screen())
        limit = screen->availableGeometry().width() * 3 / 4;
    memoStatus_->setMinimumWidth(std::clamp(widest + 24, 420, limit));
    adjustSize();
}

void TfrmMyMsg::answer(OverwriteAnswer value)
{
    answer_ = value;
    answered_ = true;
    hide();
    done(static_cast<int>(value));
}

void TfrmMyMsg::bbtnYesClick() { answer(OverwriteAnswer::Yes); }
void TfrmMyMsg::bbtnNoClick() { answer(OverwriteAnswer::No); }
void TfrmMyMsg::bbtnYesAllClick() { answer(OverwriteAnswer::YesToAll); }
void TfrmMyMsg::bbtnNoAllClick() { answer(OverwriteAnswer::NoToAll); }

void TfrmMyMsg::reject()
{
    // Escape: the first visible cancel-style button, or nothing.
    if (!bbtnNo_->isHidden())
        bbtnNo_->click();
    else if (!bbtnNoAll_->isHidden())
        bbtnNoAll_->click();
}

void TfrmMyMsg::closeEvent(QCloseEvent* event)
{
    // No close box: only a button ends the dialog.
    if (!answered_)
        event->ignore();
}

}  // namespace corvane::ui
