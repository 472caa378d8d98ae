#include "platform/host.h"

#include <algorithm>

namespace corvane {

bool MessageRequest::offers(MessageButton button) const
{
    return std::find(buttons.begin(), buttons.end(), button) != buttons.end();
}

std::string_view ButtonName(MessageButton button)
{
    switch (button) {
    case MessageButton::Ok: return "OK";
    case MessageButton::Cancel: return "Cancel";
    case MessageButton::Abort: return "Abort";
    case MessageButton::Retry: return "Retry";
    case MessageButton::Ignore: return "Ignore";
    case MessageButton::Yes: return "Yes";
    case MessageButton::No: return "No";
    }
    return "";
}

}  // namespace corvane
