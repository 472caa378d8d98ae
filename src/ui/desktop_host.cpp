#include "ui/desktop_host.h"

#include <QApplication>
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

void DesktopHost::setStatus(int panel, std::string_view text)
{
    if (window_.setStatus)
        window_.setStatus(panel, text);
}

void DesktopHost::setCaption(std::string_view text)
{
    if (window_.setCaption)
        window_.setCaption(text);
}

void ShowErrorBox(Host& host, const std::exception& error)
{
    host.messageBox({ErrorBoxText(error), kApplicationTitle, MessageIcon::Error, {MessageButton::Ok}});
}

}  // namespace corvane::ui
