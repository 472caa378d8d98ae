#pragma once
// How the window marks what becomes of a file: a small round badge and a text
// colour for each status of a plan, the same badges beside the comparison's
// entries for whether each has arrived.

#include <vector>

#include <QColor>
#include <QIcon>

#include "transfer/plan.h"
#include "ui/arrivals.h"


namespace corvane::ui {

class LevelList;

// The badge of a status: new "+", replace "→", same "=", missing "!",
// refused "×", stock "–".
QIcon StatusIcon(PlanStatus status);
// The text colour of a status; invalid (the palette's own) for new files.
QColor StatusColour(PlanStatus status);

// The badge of an arrival: arrived "✓", other bytes as replace, absent "×".
QIcon ArrivalIcon(Arrival arrival);
// Puts the arrival of each entry of `list`, in order, beside it: its badge,
// and its text as the tooltip.
void MarkArrivals(LevelList& list, const std::vector<Arrival>& arrivals);

}  // namespace corvane::ui
