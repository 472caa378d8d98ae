#include "support/scripted_host.h"

#include <gtest/gtest.h>

namespace corvane::test {

MessageResult ScriptedHost::messageBox(const MessageRequest& request)
{
    boxes.push_back(request);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box: [" << request.caption << "] " << request.text;
        return request.buttons.empty() ? MessageButton::Ok : request.buttons.front();
    }
    const MessageResult result = answers_.front();
    answers_.pop_front();
    EXPECT_TRUE(request.offers(result)) << "answered with a button the box does not show";
    return result;
}

OverwriteAnswer ScriptedHost::showPrompt(const PromptRequest& request)
{
    prompts.push_back(request);
    if (promptAnswers_.empty() && request.kind == PromptKind::Notice)
        return OverwriteAnswer::Yes;  // nobody uses a notice's answer
    if (promptAnswers_.empty()) {
        ADD_FAILURE() << "unexpected prompt: [" << request.caption << "]";
        return request.showYes ? OverwriteAnswer::Yes : OverwriteAnswer::No;
    }
    const OverwriteAnswer result = promptAnswers_.front();
    promptAnswers_.pop_front();
    const bool visible = (result == OverwriteAnswer::Yes && request.showYes) ||
                         (result == OverwriteAnswer::No && request.showNo) ||
                         (result == OverwriteAnswer::YesToAll && request.showYesToAll) ||
                         (result == OverwriteAnswer::NoToAll && request.showNoToAll);
    EXPECT_TRUE(visible) << "answered the prompt with a button it does not show";
    return result;
}

void ScriptedHost::setStatus(StatusLine line, std::string_view text)
{
    statuses.emplace_back(static_cast<int>(line), std::string(text));
}

}  // namespace corvane::test
