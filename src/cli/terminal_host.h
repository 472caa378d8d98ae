#pragma once
// The Host of corvane-cli: every prompt and message box is written to the
// error stream as a block that begins with "[caption]"; questions are answered
// from the input stream or by a fixed policy.

#include <iosfwd>
#include <string>

#include "transfer/host.h"

namespace corvane::cli {

enum class AnswerPolicy {
    Ask,    // read one line per question
    All,    // Yes to All where offered, else Yes
    None,   // No to All where offered, else No
    Batch,  // nobody to ask: Abort where offered, else the first button
};

class TerminalHost : public Host {
public:
    TerminalHost(AnswerPolicy policy, std::istream& in, std::ostream& err)
        : policy_(policy), in_(in), err_(err)
    {
    }

    OverwriteAnswer showPrompt(const PromptRequest& request) override;
    MessageResult messageBox(const MessageRequest& request) override;
    void alert(AlertSound) override {}
    // The status line and the caption are the window's: the commands print
    // what they report themselves.
    void setStatus(StatusLine, std::string_view) override {}
    void setCaption(std::string_view) override {}
    // Waits for the other transfer, and says so.
    bool waitForTarget(std::string_view target) override;

private:
    // Reads answers until one names an offered choice; at the end of input
    // takes `fallback` and says so.
    template <typename Choice>
    Choice Ask(const std::vector<std::pair<std::string, Choice>>& choices, const std::string& shown,
               Choice fallback, const std::string& fallbackName);

    AnswerPolicy policy_;
    std::istream& in_;
    std::ostream& err_;
    bool inputEnded_ = false;
};

}  // namespace corvane::cli
