#pragma once
// The desktop program's Host: real message boxes, the desktop's alert beep, the
// main window's status bar and title, and the overwrite prompt dialog.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "transfer/host.h"

class QWidget;

namespace corvane::ui {

class TfrmMyMsg;

// How often long work lets the window paint.
inline constexpr std::chrono::milliseconds kKeepAliveInterval{40};

class DesktopHost : public Host {
public:
    // Where the status texts and the caption go; set once the main window exists.
    struct Window {
        std::function<void(int panel, std::string_view)> setStatus;  // status bar panel 0 or 1
        std::function<void(std::string_view)> setCaption;
        QWidget* parent = nullptr;
        // Shows how far long work has come (`total` 0: not known), and hides it again.
        std::function<void(std::string_view, std::uint64_t, std::uint64_t)> showProgress;
        std::function<void()> hideProgress;
    };
    void attachWindow(Window window) { window_ = std::move(window); }
    void attachPrompt(TfrmMyMsg* prompt) { prompt_ = prompt; }

    OverwriteAnswer showPrompt(const PromptRequest& request) override;
    MessageResult messageBox(const MessageRequest& request) override;
    void alert(AlertSound sound) override;
    void setStatus(StatusLine line, std::string_view text) override;
    void setCaption(std::string_view text) override;
    void progress(std::string_view what, std::uint64_t done, std::uint64_t total) override;

    // Marks a command's long work, from construction to destruction. Meanwhile
    // the host keeps the window painted: at most once per keep-alive interval
    // (never once per file, so the work goes at its own speed) it shows the
    // progress and lets the event loop paint, with the user's input held back
    // until the command ends. A modal prompt still stops the work until it is
    // answered. At the end the progress is hidden.
    class Work {
    public:
        explicit Work(DesktopHost& host);
        ~Work();
        Work(const Work&) = delete;
        Work& operator=(const Work&) = delete;

    private:
        DesktopHost& host_;
    };
    bool working() const { return working_ > 0; }

    // How often the window is kept alive during long work; a negative
    // interval never (for measuring what it costs and what it gains).
    void setKeepAliveInterval(std::chrono::milliseconds interval) { interval_ = interval; }
    // How many times the event loop has run during long work.
    std::size_t keepAliveCount() const { return keepAlives_; }

    // How many alerts have sounded; the beep itself cannot be observed.
    std::size_t alertCount() const { return alerts_; }

private:
    // Lets the window paint when the interval has passed (or at once when `now` is set).
    void keepAlive(bool now);

    Window window_;
    TfrmMyMsg* prompt_ = nullptr;
    std::size_t alerts_ = 0;
    int working_ = 0;
    bool progressShown_ = false;
    std::string progressStep_;
    std::chrono::milliseconds interval_ = kKeepAliveInterval;
    std::chrono::steady_clock::time_point lastKeepAlive_{};
    std::size_t keepAlives_ = 0;
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
