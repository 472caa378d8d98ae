#include "platform/host.h"

#include <algorithm>

namespace corvane {

bool MessageRequest::offers(MessageButton button) const
{
    return std::find(buttons.begin(), buttons.end(), button) != buttons.end();
}

bool PromptRequest::shows(PromptButton button) const
{
    switch (button) {
    case PromptButton::Yes: return showYes;
    case PromptButton::No: return showNo;
    case PromptButton::YesToAll: return showYesToAll;
    case PromptButton::NoToAll: return showNoToAll;
    }
    return false;
}

bool PromptRequest::escapeAnswer(OverwriteAnswer& answer) const
{
    if (showNo) {
        answer = OverwriteAnswer::No;
        return true;
    }
    if (showNoToAll) {
        answer = OverwriteAnswer::NoToAll;
        return true;
    }
    return false;
}

OverwriteAnswer AnswerOf(PromptButton button)
{
    switch (button) {
    case PromptButton::Yes: return OverwriteAnswer::Yes;
    case PromptButton::No: return OverwriteAnswer::No;
    case PromptButton::YesToAll: return OverwriteAnswer::YesToAll;
    case PromptButton::NoToAll: return OverwriteAnswer::NoToAll;
    }
    return OverwriteAnswer::No;
}

}  // namespace corvane
