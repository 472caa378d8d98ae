#include "ui/arrivals.h"

#include "platform/paths.h"

namespace corvane::ui {

Arrival ArrivalOf(const PlanItem& item)
{
    switch (item.status) {
    case PlanStatus::Same: return Arrival::Arrived;
    case PlanStatus::Replace: return Arrival::Differs;
    case PlanStatus::Missing: return item.targetModified ? Arrival::Kept : Arrival::Absent;
    case PlanStatus::New:
    case PlanStatus::Stock:
    case PlanStatus::NotIncluded:
    case PlanStatus::Refused: break;
    }
    return Arrival::Absent;
}

const char* ArrivalText(Arrival arrival)
{
    switch (arrival) {
    case Arrival::Arrived: return "Arrived";
    case Arrival::Differs: return "Arrived, but the working tree's file holds other bytes";
    case Arrival::Kept: return "Arrived; the working tree no longer has it";
    case Arrival::Absent: break;
    }
    return "Not in this folder";
}

std::vector<Arrival> ArrivalsIn(const std::string& folder, ResourceKind kind,
                                const std::vector<std::string>& entries, const std::string& srcPath)
{
    const ResourcePlaces places = PlacesOf(kind, srcPath, folder);
    const PlanKind planKind = kind == ResourceKind::Textures ? PlanKind::Texture : PlanKind::Sound;
    std::vector<Arrival> arrivals;
    arrivals.reserve(entries.size());
    for (const std::string& listed : entries) {
        const ResourceEntry entry = ResolveEntry(kind, listed, places);
        if (!entry.refusal.empty()) {
            arrivals.push_back(Arrival::Absent);
            continue;
        }
        const std::string here = JoinPath(folder, FileName(entry.relative));
        arrivals.push_back(ArrivalOf(PlanFile(planKind, listed, entry.source, here)));
    }
    return arrivals;
}

}  // namespace corvane::ui
