#pragma once
// How corvane-cli check prints a plan: as text or as JSON.

#include <string>

#include "transfer/plan.h"

namespace corvane::cli {

// One line per item, "STATUS  KIND  NAME" with the status padded to the
// longest status name (a refused item's reason follows in parentheses), then
// "Summary: " with the count of each status and the bytes that would be
// written. Names are shown with ShownName.
std::string PlanText(const Plan& plan, const PlanSummary& summary);

// {"items": [{"kind", "name", "source", "target", "status", "bytes", and for
// a refused item "reason"}, ...], "summary": {each status: N, "bytes": N}},
// one item per line; names are written as JsonString writes them.
std::string PlanJson(const Plan& plan, const PlanSummary& summary);

}  // namespace corvane::cli
