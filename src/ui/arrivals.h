#pragma once
// What the comparison tab marks beside each of the level's resources it
// lists: whether the file has arrived in the folder shown, judged as the plan
// of a transfer judges a file (PlanFile). Plain C++, so that it is tested
// without a display.

#include <string>
#include <vector>

#include "transfer/plan.h"
#include "transfer/resource_names.h"

namespace corvane::ui {

enum class Arrival {
    Arrived,  // the folder holds the file, with the working tree's bytes
    Differs,  // the folder holds the file, with other bytes than the working tree's
    Kept,     // the folder holds the file; the working tree no longer does (it was moved)
    Absent,   // the folder does not hold it
};

Arrival ArrivalOf(const PlanItem& item);

// What a mark says, as its tooltip.
const char* ArrivalText(Arrival arrival);

// The arrival of each listed entry of `kind` in `folder`: the working tree's
// file (below the parent of `srcPath`, as a transfer takes it) set beside the
// file of the same name in `folder`. A name a transfer refuses never arrives.
std::vector<Arrival> ArrivalsIn(const std::string& folder, ResourceKind kind,
                                const std::vector<std::string>& entries, const std::string& srcPath);

}  // namespace corvane::ui
