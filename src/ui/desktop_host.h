#pragma once
// The desktop program's Host: real message boxes, the desktop's alert beep, the
// main window's status bar and title, and the overwrite prompt dialog.

#include <cstddef>
#include <exception>
#include <functional>
#include <string_view>

#include "platform/host.h"

class QWidget;

namespace corvane::ui {

class TfrmMyMsg;

class DesktopHost : public Host {
public:
    // Where the status texts and the caption go; set once the main window exists.
    struct Window {
        std::function<void(int, std::string_view)> setStatus;
        std::function<void(std::string_view)> setCaption;
        QWidget* parent = nullptr;
    };
    void attachWindow(Window window) { window_ = std::move(window); }
    void attachPrompt(TfrmMyMsg* prompt) { prompt_ = prompt; }

    OverwriteAnswer showPrompt(const PromptRequest& request) override;
    MessageResult messageBox(const MessageRequest& request) override;
    void alert(AlertSound sound) override;
    void setStatus(int panel, std::string_view text) override;
    void setCaption(std::string_view text) override;

    // How many alerts have sounded; the beep itself cannot be observed.
    std::size_t alertCount() const { return alerts_; }

private:
    Window window_;
    TfrmMyMsg* prompt_ = nullptr;
    std::size_t alerts_ = 0;
};

inline constexpr const char* kApplicationTitle = "Corvane";

// The application's error box for an error that ended a command: the error's
// message with "." appended, caption "Corvane", the error icon and OK.
void ShowErrorBox(Host& host, const std::exception& error);

// Runs one command; an error that escapes it is shown in the error box and
// the program goes on.
template <typename Command>
void RunGuarded(Host& host, Command&& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        ShowErrorBox(host, error);
    }
}

}  // namespace corvane::ui
