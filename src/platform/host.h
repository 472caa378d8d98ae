#pragma once
// The Host is how the core asks and tells a person anything: message boxes,
// alert sounds, the status bar and the window caption. The desktop program
// shows real dialogs, corvane-cli uses the terminal, the tests script it.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

enum class MessageIcon { None, Error, Warning, Information, Question };

enum class MessageButton { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

// The button a message box was closed with.
using MessageResult = MessageButton;

struct MessageRequest {
    std::string text;     // lines separated by "\n"
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    std::vector<MessageButton> buttons;  // in the order they are shown

    bool offers(MessageButton button) const;
};

enum class AlertSound { Error, Stop, Exclamation };

class Host {
public:
    virtual ~Host() = default;
    virtual MessageResult messageBox(const MessageRequest& request) = 0;
    virtual void alert(AlertSound sound) = 0;
    virtual void setStatus(int panel, std::string_view text) = 0;
    virtual void setCaption(std::string_view text) = 0;
};

}  // namespace corvane
