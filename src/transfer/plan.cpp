#include "transfer/plan.h"

#include <algorithm>

#include "platform/file_facts.h"
#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "transfer/extras.h"
#include "transfer/level_files.h"
#include "transfer/pellark.h"
#include "transfer/resource_names.h"
#include "transfer/sky_transfer.h"

namespace corvane {

namespace {

constexpr std::array<std::string_view, 10> kKindNames = {"level",   "bsp",   "sky",   "texture", "sound",
                                                         "pellark", "frame", "image", "model",   "skin"};
constexpr std::array<std::string_view, kPlanStatusCount> kStatusNames = {"new",   "replace", "same",        "missing",
                                                                         "stock", "refused", "not-included"};

// An item whose files are not looked at.
PlanItem Unread(PlanKind kind, PlanStatus status, std::string name, std::string source = {},
                std::string target = {})
{
    PlanItem item;
    item.kind = kind;
    item.status = status;
    item.name = std::move(name);
    item.source = std::move(source);
    item.target = std::move(target);
    return item;
}

// What PlanFile says, with the facts read by the readers given (the plan
// keeps one for the sources and one for the targets, each going from folder
// to folder); with `bytes` Later, two files of one size are Same, pending.
PlanItem CompareFiles(FileFactsReader& sources, FileFactsReader& targets, PlanKind kind, std::string name,
                      std::string source, std::string target, PlanBytes bytes = PlanBytes::Now)
{
    PlanItem item = Unread(kind, PlanStatus::Missing, std::move(name), std::move(source), std::move(target));
    const FileFacts from = sources.read(item.source);
    const FileFacts to = targets.read(item.target);
    if (to.file)
        item.targetModified = to.modified;
    if (!from.file)
        return item;
    item.bytes = from.size;
    item.sourceModified = from.modified;
    if (!to.file) {
        item.status = PlanStatus::New;
        return item;
    }
    item.status = to.size == from.size ? PlanStatus::Same : PlanStatus::Replace;
    item.bytesPending = item.status == PlanStatus::Same;
    if (bytes == PlanBytes::Now)
        CompareBytes(item);
    return item;
}

// Whether a transfer in `mode` deletes the source of an item it copies.
bool Moves(PlanKind kind, TransferMode mode)
{
    return mode == TransferMode::Move && kind != PlanKind::Level && kind != PlanKind::Pellark;
}

struct Planner {
    const TransferJob& job;
    PlanBytes bytes;
    Plan plan;
    std::size_t scopeIds = 0;
    FileFactsReader sources;
    FileFactsReader targets;

    PlanItem compare(PlanKind kind, std::string name, std::string source, std::string target)
    {
        // Whether the level's .map is asked about hangs on its bytes: read them now.
        return CompareFiles(sources, targets, kind, std::move(name), std::move(source), std::move(target),
                            kind == PlanKind::Level ? PlanBytes::Now : bytes);
    }

    void add(PlanItem item, PlanScope scope)
    {
        // Every existing file is asked about, whatever it holds, except the
        // level's own .map, which is kept quietly when it holds the same bytes.
        const bool asked = item.status == PlanStatus::Replace ||
                           (item.status == PlanStatus::Same && item.kind != PlanKind::Level);
        item.scope = asked ? scope : PlanScope::None;
        item.movesSource = (asked || item.status == PlanStatus::New) && Moves(item.kind, job.mode);
        plan.items.push_back(std::move(item));
    }

    void levelFiles()
    {
        const std::string targetMap = TargetMapPath(job.currentMapPath, job.targPath);
        add(compare(PlanKind::Level, std::string(FileName(job.currentMapPath)), job.currentMapPath, targetMap),
            PlanScope::Alone);
        const std::string bsp = BspPath(job.currentMapPath);
        add(compare(PlanKind::Bsp, std::string(FileName(bsp)), bsp, BspPath(targetMap)), PlanScope::Alone);
    }

    void sky()
    {
        if (!job.includeSky || job.skyName.empty())
            return;
        const SkyDecision decision = DecideSky(job.skyName, StockRuleFor(job.basePath));
        if (decision.verdict == SkyVerdict::Stock || decision.verdict == SkyVerdict::NotAllowed) {
            PlanItem item = Unread(PlanKind::Sky,
                                   decision.verdict == SkyVerdict::Stock ? PlanStatus::Stock : PlanStatus::Refused,
                                   job.skyName);
            item.reason = decision.reason;
            add(std::move(item), PlanScope::None);
        }
        if (decision.verdict != SkyVerdict::Transfer)
            return;
        const ResourcePlaces env = SkyPlaces(job.srcPath, job.targPath);
        for (const char* face : kSkyFaces) {
            const std::string pattern = job.skyName + face + ".*";
            const std::vector<std::string> images = SkyFaceImages(env.sourceFolder, pattern);
            if (images.empty()) {
                add(Unread(PlanKind::Sky, PlanStatus::Missing, pattern, env.sourceFolder + pattern,
                           env.targetFolder + pattern),
                    PlanScope::None);
            }
            for (const std::string& image : images)
                add(compare(PlanKind::Sky, image, env.sourceFolder + image, env.targetFolder + image),
                    PlanScope::Alone);
        }
    }

    void resources(ResourceKind kind, const ResourceList& list, const ResourceList& stock)
    {
        const PlanKind planKind = kind == ResourceKind::Textures ? PlanKind::Texture : PlanKind::Sound;
        const ResourcePlaces places = PlacesOf(kind, job.srcPath, job.targPath);
        CaseLookup lookup;
        FolderScopes scopes;
        bool first = true;  // each list's run begins with a scope of its own
        for (const std::string& listed : list) {
            ResourceEntry entry = ResolveEntry(kind, listed, places);
            if (!entry.refusal.empty()) {
                PlanItem item = Unread(planKind, PlanStatus::Refused, listed, entry.source, entry.target);
                item.reason = entry.refusal;
                item.folder = entry.folder;
                add(std::move(item), PlanScope::None);
                continue;
            }
            if (scopes.begins(entry.folder) || first)
                ++scopeIds;
            first = false;
            PlanItem item = compare(planKind, listed, entry.source, entry.target);
            if (item.status == PlanStatus::Missing) {
                // Not there as written: perhaps in another letter case.
                std::string note = FindSourceIgnoringCase(entry, places, lookup);
                if (note.empty() && entry.source != item.source)
                    item = compare(planKind, listed, entry.source, entry.target);
                item.note = std::move(note);
            }
            item.folder = entry.folder;
            item.scopeId = scopeIds;
            add(std::move(item), PlanScope::Folder);
        }
        std::vector<std::string> stockNames = stock.entries();
        SortResourceList(stockNames);
        for (const std::string& listed : stockNames) {
            const ResourceEntry entry = ResolveEntry(kind, listed, places);
            PlanItem item = Unread(planKind, PlanStatus::Stock, listed, entry.source, entry.target);
            item.folder = entry.folder;
            add(std::move(item), PlanScope::None);
        }
    }

    // What a complete release adds; without one, listed as not included.
    void extras(const LoadedLevel& level)
    {
        CaseLookup lookup;
        FolderScopes scopes;
        bool first = true;
        for (ExtraFile& file : FindExtras(level, job.srcPath, job.targPath, StockRuleFor(job.basePath), lookup)) {
            PlanItem item;
            if (!file.refusal.empty() || file.stock) {
                item = Unread(file.kind, file.stock ? PlanStatus::Stock : PlanStatus::Refused, file.name,
                              std::move(file.source), std::move(file.target));
                item.reason = std::move(file.refusal);
            } else {
                item = compare(file.kind, file.name, std::move(file.source), std::move(file.target));
            }
            item.neededBy = std::move(file.neededBy);
            item.note = std::move(file.note);
            item.folder = file.folder;
            if (!job.complete && item.status != PlanStatus::Stock) {
                item.status = PlanStatus::NotIncluded;
                item.bytesPending = false;
                add(std::move(item), PlanScope::None);
                continue;
            }
            if (item.status != PlanStatus::Refused && item.status != PlanStatus::Stock) {
                if (scopes.begins(file.folder) || first)
                    ++scopeIds;
                first = false;
                item.scopeId = scopeIds;
            }
            add(std::move(item), PlanScope::Folder);
        }
    }

    void pellark()
    {
        if (!job.includePellark)
            return;
        PellarkVisitor visit;
        visit.unreadable = [](const std::string&, const std::string&, const std::string&) {};
        visit.folder = [](const std::string&) {};
        visit.file = [&](const std::string& source, const std::string& target, const std::string& relative) {
            PlanItem item = compare(PlanKind::Pellark, relative, source, target);
            const std::string_view name = FileName(relative);
            item.folder = relative.substr(0, relative.size() - std::min(relative.size(), name.size() + 1));
            add(std::move(item), PlanScope::Pellark);
        };
        WalkPellarkTree(job.pellarkPath, job.targPath, visit);
    }
};

PlanTarget TargetOf(const std::string& target)
{
    if (IsDriveRootTarget(target))
        return PlanTarget::Refused;
    if (DirectoryEntryExists(target))
        return PlanTarget::Exists;
    if (!DirectoryExists(ParentPath(target)))
        return PlanTarget::Unreachable;
    return PlanTarget::Create;
}

}  // namespace

std::string_view PlanKindName(PlanKind kind)
{
    return kKindNames[static_cast<std::size_t>(kind)];
}

std::string_view PlanStatusName(PlanStatus status)
{
    return kStatusNames[static_cast<std::size_t>(status)];
}

PlanItem PlanFile(PlanKind kind, std::string name, std::string source, std::string target)
{
    FileFactsReader sources, targets;
    return CompareFiles(sources, targets, kind, std::move(name), std::move(source), std::move(target));
}

PlanSummary Summarize(const Plan& plan)
{
    PlanSummary summary;
    for (const PlanItem& item : plan.items) {
        ++summary.counts[static_cast<std::size_t>(item.status)];
        if (item.status == PlanStatus::New || item.status == PlanStatus::Replace)
            summary.bytes += item.bytes;
    }
    return summary;
}

std::string NotIncludedLine(const Plan& plan)
{
    struct Counted {
        PlanKind kind;
        const char* one;
        const char* many;
        std::size_t count = 0;
    };
    std::array<Counted, 5> counted{{{PlanKind::Frame, "animation frame", "animation frames"},
                                    {PlanKind::Image, "image", "images"},
                                    {PlanKind::Model, "model", "models"},
                                    {PlanKind::Skin, "skin", "skins"},
                                    {PlanKind::Sound, "sound", "sounds"}}};
    for (const PlanItem& item : plan.items) {
        if (item.status != PlanStatus::NotIncluded)
            continue;
        for (Counted& c : counted)
            c.count += c.kind == item.kind ? 1 : 0;
    }
    std::vector<std::string> parts;
    for (const Counted& c : counted) {
        if (c.count)
            parts.push_back(std::to_string(c.count) + " " + (c.count == 1 ? c.one : c.many));
    }
    if (parts.empty())
        return {};
    std::string line;
    for (std::size_t i = 0; i < parts.size(); ++i)
        line += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return line + " not included";
}

void CompareBytes(PlanItem& item)
{
    if (!item.bytesPending)
        return;
    item.bytesPending = false;
    if (!SameContent(item.source, item.target))
        item.status = PlanStatus::Replace;
}

Plan PlanTransfer(const TransferJob& job, const LoadedLevel& level, PlanBytes bytes)
{
    Planner planner{job, bytes, {}, 0, {}, {}};
    planner.plan.target = TargetOf(job.target);
    planner.plan.items.reserve(2 + 12 + level.TextureList.size() + level.SoundList.size() +
                               level.StockTextures.size() + level.StockSounds.size());
    planner.levelFiles();
    planner.sky();
    planner.resources(ResourceKind::Textures, level.TextureList, level.StockTextures);
    planner.resources(ResourceKind::Sounds, level.SoundList, level.StockSounds);
    planner.extras(level);
    planner.pellark();
    planner.plan.warnings = CompiledLevelWarnings(job.currentMapPath, level);
    return std::move(planner.plan);
}

}  // namespace corvane
