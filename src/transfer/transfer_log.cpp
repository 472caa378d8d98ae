#include "transfer/transfer_log.h"

namespace corvane {

void TransferLog::append(std::string line)
{
    lines_.push_back(std::move(line));
    if (listener_)
        listener_(lines_.back());
}

void TransferLog::recordFailure(std::string path, std::string reason)
{
    failures_.push_back({std::move(path), std::move(reason)});
}

void TransferLog::recordProblem(TransferProblem::Kind kind, std::string name, std::string reason)
{
    problems_.push_back({kind, std::move(name), std::move(reason)});
}

void TransferLog::appendReport(std::string_view label, std::string_view name, Hint hint)
{
    append("   ");
    if (hint == Hint::CheckEntities)
        append(kCheckEntities);
    append(std::string(label));
    append("   " + std::string(name));
    append("   ");
}

}  // namespace corvane
