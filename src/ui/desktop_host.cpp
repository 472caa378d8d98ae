#include "ui/desktop_host.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>

#include "platform/error.h"
#include "ui/prompt_dialog.h"
#include "ui/text.h"

namespace corvane::ui {

namespace {

QMessageBox::Icon IconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

struct ButtonFace {
    const char* text;
    QMessageBox::ButtonRole role;
};

ButtonFace FaceOf(MessageButton button)
{
    switch (button) {
    case MessageButton::Ok: return {"OK", QMessageBox::AcceptRole};
    case MessageButton::Cancel: return {"Cancel", QMessageBox::RejectRole};
    case MessageButton::Abort: return {"&Abort", QMessageBox::RejectRole};
    case MessageButton::Retry: return {"&Retry", QMessageBox::AcceptRole};
    case MessageButton::Ignore: return {"&Ignore", QMessageBox::AcceptRole};
    case MessageButton::Yes: return {"&Yes", QMessageBox::YesRole};
    case MessageButton::No: return {"&No", QMessageBox::NoRole};
    }
    return {"OK", QMessageBox::AcceptRole};
}

}  // namespace

OverwriteAnswer DesktopHost::showPrompt(const PromptRequest& request)
{
    if (!prompt_)
        throw Error("The prompt dialog does not exist yet");
    return prompt_->ShowPrompt(request);
}

MessageResult DesktopHost::messageBox(const MessageRequest& request)
{
    QMessageBox box(window_.parent);
    box.setWindowTitle(Q(request.caption));
    box.setText(Q(request.text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(IconOf(request.icon));

    // Buttons are added in the order given and kept in that order on screen.
    std::vector<std::pair<QAbstractButton*, MessageButton>> buttons;
    const std::vector<MessageButton> order =
        request.buttons.empty() ? std::vector<MessageButton>{MessageButton::Ok} : request.buttons;
    QAbstractButton* escape = nullptr;
    for (MessageButton kind : order) {
        const ButtonFace face = FaceOf(kind);
        auto* button = new QPushButton(QString::fromLatin1(face.text), &box);
        box.addButton(button, QMessageBox::ActionRole);
        buttons.emplace_back(button, kind);
        if (face.role == QMessageBox::RejectRole && !escape)
            escape = button;
    }
    // With a single button, Escape and the close box answer with it.
    if (!escape && order.size() == 1)
        escape = buttons.front().first;
    box.setEscapeButton(escape);
    box.setDefaultButton(qobject_cast<QPushButton*>(buttons.front().first));

    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    for (const auto& [button, kind] : buttons) {
        if (button == clicked)
            return kind;
    }
    // Closed without a button (only possible when no button is the escape one).
    return request.offers(MessageButton::Cancel) ? MessageButton::Cancel : order.front();
}

void DesktopHost::alert(AlertSound)
{
    ++alerts_;
    QApplication::beep();
}

void DesktopHost::setStatus(StatusLine line, std::string_view text)
{
    // What the core is doing goes to the first panel, a byte total to the second.
    if (window_.setStatus)
        window_.setStatus(line == StatusLine::Activity ? 0 : 1, text);
    keepAlive(false);
}

void DesktopHost::setCaption(std::string_view text)
{
    if (window_.setCaption)
        window_.setCaption(text);
}

void DesktopHost::progress(std::string_view what, std::uint64_t done, std::uint64_t total)
{
    if (!working())
        return;
    // A new step shows at once; within a step only as often as the window is kept alive.
    const bool newStep = !progressShown_ || what != progressStep_;
    if (!newStep && (interval_.count() < 0 || std::chrono::steady_clock::now() - lastKeepAlive_ < interval_))
        return;
    progressShown_ = true;
    progressStep_.assign(what);
    if (window_.showProgress)
        window_.showProgress(what, done, total);
    keepAlive(true);
}

void DesktopHost::keepAlive(bool now)
{
    if (!working() || interval_.count() < 0)
        return;
    const auto time = std::chrono::steady_clock::now();
    if (!now && time - lastKeepAlive_ < interval_)
        return;
    ++keepAlives_;
    // Paint and answer the window system, but leave the user's input queued:
    // the command takes none until it ends.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    lastKeepAlive_ = std::chrono::steady_clock::now();
}

DesktopHost::Work::Work(DesktopHost& host) : host_(host)
{
    if (host_.working_++ == 0) {
        host_.progressShown_ = false;
        host_.lastKeepAlive_ = std::chrono::steady_clock::now();
    }
}

DesktopHost::Work::~Work()
{
    if (--host_.working_ == 0 && host_.progressShown_) {
        host_.progressShown_ = false;
        if (host_.window_.hideProgress)
            host_.window_.hideProgress();
    }
}

void ShowErrorBox(Host& host, const std::exception& error)
{
    host.messageBox({ErrorBoxText(error), kApplicationTitle, MessageIcon::Error, {MessageButton::Ok}});
}

}  // namespace corvane::ui
