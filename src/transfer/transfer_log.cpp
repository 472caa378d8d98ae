#include "transfer/transfer_log.h"

namespace corvane {

void TransferLog::append(std::string line)
{
    lines_.push_back(std::move(line));
    if (listener_)
        listener_(lines_.back());
}

}  // namespace corvane
