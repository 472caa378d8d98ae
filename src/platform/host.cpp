#include "platform/host.h"

#include <algorithm>

namespace corvane {

bool MessageRequest::offers(MessageButton button) const
{
    return std::find(buttons.begin(), buttons.end(), button) != buttons.end();
}

}  // namespace corvane
