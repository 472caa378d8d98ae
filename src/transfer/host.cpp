#include "transfer/host.h"

#include <algorithm>
#include <utility>

namespace corvane {

bool MessageRequest::offers(MessageButton button) const
{
    return std::find(buttons.begin(), buttons.end(), button) != buttons.end();
}

PromptRequest PromptRequest::OverwriteQuestion(std::string caption, std::vector<std::string> lines,
                                               PromptButtons buttons)
{
    PromptRequest request;
    request.kind = PromptKind::Overwrite;
    request.caption = std::move(caption);
    request.lines = std::move(lines);
    request.showYesToAll = buttons == PromptButtons::All;
    request.showNoToAll = buttons == PromptButtons::All;
    return request;
}

PromptRequest PromptRequest::ContinueQuestion(std::string caption, std::vector<std::string> lines)
{
    PromptRequest request;
    request.kind = PromptKind::Continue;
    request.caption = std::move(caption);
    request.lines = std::move(lines);
    request.showNo = false;
    request.showNoToAll = true;
    request.yesCaption = "Ok";
    request.noToAllCaption = "Cancel";
    return request;
}

PromptRequest PromptRequest::Notice(std::string caption, std::vector<std::string> lines, bool withNo,
                                    std::string yesCaption)
{
    PromptRequest request;
    request.kind = PromptKind::Notice;
    request.caption = std::move(caption);
    request.lines = std::move(lines);
    request.showNo = withNo;
    request.yesCaption = std::move(yesCaption);
    return request;
}

PromptMeaning PromptRequest::meaningOf(PromptButton button) const
{
    const bool continuing = kind == PromptKind::Continue;
    switch (button) {
    case PromptButton::Yes: return continuing ? PromptMeaning::Ok : PromptMeaning::Yes;
    case PromptButton::No: return PromptMeaning::No;
    case PromptButton::YesToAll: return PromptMeaning::YesToAll;
    case PromptButton::NoToAll: return continuing ? PromptMeaning::Cancel : PromptMeaning::NoToAll;
    }
    return PromptMeaning::No;
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

ReadFailureHandler CantOpenFileQuestion(Host& host)
{
    return [&host](const std::string&) {
        host.alert(AlertSound::Error);
        const MessageResult answer = host.messageBox(
            {kCantOpenFile, "Error", MessageIcon::None,
             {MessageButton::Abort, MessageButton::Retry, MessageButton::Ignore}});
        if (answer == MessageButton::Retry)
            return ReadFailureAnswer::Retry;
        if (answer == MessageButton::Ignore)
            return ReadFailureAnswer::Ignore;
        return ReadFailureAnswer::Abort;  // Abort, or the box closed another way
    };
}

bool Host::waitForTarget(std::string_view)
{
    alert(AlertSound::Exclamation);
    messageBox({kTargetBusy, "Corvane", MessageIcon::Warning, {MessageButton::Ok}});
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
