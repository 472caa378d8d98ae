#include "cli/plan_output.h"

#include <algorithm>

#include "cli/json.h"
#include "platform/shown_name.h"
#include "transfer/byte_total.h"

namespace corvane::cli {

namespace {

PlanStatus StatusAt(std::size_t index)
{
    return static_cast<PlanStatus>(index);
}

// The statuses the text names: "not-included" only where a plan has such items.
std::size_t ShownStatuses(const PlanSummary& summary)
{
    return summary.count(PlanStatus::NotIncluded) ? kPlanStatusCount : kPlanStatusCount - 1;
}

}  // namespace

std::string PlanText(const Plan& plan, const PlanSummary& summary)
{
    const std::size_t shown = ShownStatuses(summary);
    std::size_t width = 0;
    for (std::size_t i = 0; i < shown; ++i)
        width = std::max(width, PlanStatusName(StatusAt(i)).size());
    std::string text;
    for (const PlanItem& item : plan.items) {
        std::string status(PlanStatusName(item.status));
        status.resize(width, ' ');
        text += status + "  " + std::string(PlanKindName(item.kind)) + "  " + ShownName(item.name);
        if (!item.neededBy.empty())
            text += "  for " + ShownName(item.neededBy);
        if (!item.reason.empty())
            text += "  (" + item.reason + ")";
        if (!item.note.empty())
            text += "  (" + ShownName(item.note) + ")";
        text += '\n';
    }
    text += "Summary: ";
    for (std::size_t i = 0; i < shown; ++i) {
        text += (i ? ", " : "") + std::to_string(summary.counts[i]) + " " + std::string(PlanStatusName(StatusAt(i)));
    }
    text += "; " + FormatByteCount(std::to_string(summary.bytes)) + " bytes would be written\n";
    const std::string notIncluded = NotIncludedLine(plan);
    if (!notIncluded.empty())
        text += "Complete release: " + notIncluded + "\n";
    for (const std::string& warning : plan.warnings)
        text += "Warning: " + warning + "\n";
    return text;
}

std::string PlanJson(const Plan& plan, const PlanSummary& summary)
{
    std::string json = "{\"items\": [";
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        const PlanItem& item = plan.items[i];
        json += i ? ",\n" : "\n";
        json += "{\"kind\": " + JsonString(PlanKindName(item.kind)) + ", \"name\": " + JsonString(item.name) +
                ", \"source\": " + JsonString(item.source) + ", \"target\": " + JsonString(item.target) +
                ", \"status\": " + JsonString(PlanStatusName(item.status)) +
                ", \"bytes\": " + std::to_string(item.bytes);
        if (item.status == PlanStatus::Refused)
            json += ", \"reason\": " + JsonString(item.reason);
        if (!item.neededBy.empty())
            json += ", \"neededBy\": " + JsonString(item.neededBy);
        if (!item.note.empty())
            json += ", \"note\": " + JsonString(item.note);
        json += '}';
    }
    json += plan.items.empty() ? "], \"summary\": {" : "\n], \"summary\": {";
    for (std::size_t i = 0; i < kPlanStatusCount; ++i)
        json += JsonString(PlanStatusName(StatusAt(i))) + ": " + std::to_string(summary.counts[i]) + ", ";
    json += "\"bytes\": " + std::to_string(summary.bytes) + "}, \"warnings\": [";
    for (std::size_t i = 0; i < plan.warnings.size(); ++i)
        json += (i ? ", " : "") + JsonString(plan.warnings[i]);
    return json + "]}\n";
}

}  // namespace corvane::cli
