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

void ScriptedHost::setStatus(int panel, std::string_view text)
{
    statuses.emplace_back(panel, std::string(text));
}

}  // namespace corvane::test
