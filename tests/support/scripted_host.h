#pragma once
// A Host for tests: answers message boxes from a queue and records every call,
// so a test can check what a person would have seen and heard.

#include <deque>
#include <string>
#include <vector>

#include "transfer/host.h"

namespace corvane::test {

class ScriptedHost : public Host {
public:
    // Queues the answer for the next message box.
    void answer(MessageResult result) { answers_.push_back(result); }
    // Queues the answer for the next prompt. Notices need none.
    void answerPrompt(OverwriteAnswer result) { promptAnswers_.push_back(result); }

    OverwriteAnswer showPrompt(const PromptRequest& request) override;
    MessageResult messageBox(const MessageRequest& request) override;
    void alert(AlertSound sound) override { alerts.push_back(sound); }
    void setStatus(StatusLine line, std::string_view text) override;
    void setCaption(std::string_view text) override { captions.emplace_back(text); }

    std::vector<PromptRequest> prompts;
    std::vector<MessageRequest> boxes;
    std::vector<AlertSound> alerts;
    std::vector<std::pair<int, std::string>> statuses;  // 0: activity, 1: total
    std::vector<std::string> captions;

private:
    std::deque<MessageResult> answers_;
    std::deque<OverwriteAnswer> promptAnswers_;
};

}  // namespace corvane::test
