#include "transfer/resource_names.h"

#include <algorithm>

#include "platform/paths.h"
#include "platform/shown_name.h"

namespace corvane {

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

bool HasParentComponent(std::string_view name)
{
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !IsSeparator(name[end]))
            ++end;
        if (name.substr(start, end - start) == "..")
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

std::string TransferName(ResourceKind kind, std::string_view entry)
{
    std::string name(entry);
    if (kind == ResourceKind::Sounds && name.find(".wav") == std::string::npos)
        name += ".wav";
    return name;
}

std::string ResourceFolder(std::string_view entry)
{
    const auto slash = entry.find('/');
    return std::string(slash == std::string_view::npos ? std::string_view() : entry.substr(0, slash));
}

std::string ResourceNameRefusal(std::string_view name)
{
    if (HasControlByte(name))
        return "a control character";
    if (name.size() >= 2 && name[1] == ':')
        return "a drive letter";
    if (name.size() >= 2 && IsSeparator(name[0]) && IsSeparator(name[1]))
        return "a network path";
    if (HasParentComponent(name))
        return "a '..' component";
    if (ExceedsPathLimits(name))
        return "a name longer than the file system allows";
    return {};
}

void ReportRefusedName(TransferLog& log, std::string_view listed, std::string reason)
{
    log.recordProblem(TransferProblem::Kind::Refused, std::string(listed), std::move(reason));
    log.appendReport("Unsafe name refused:  ", ShownName(listed));
}

ResourcePlaces PlacesOf(ResourceKind kind, const std::string& srcPath, const std::string& targPath)
{
    const char* folder = kind == ResourceKind::Textures ? "textures" : "sound";
    return {JoinPath(SourceRoot(srcPath), folder) + Separator(), JoinPath(targPath, folder) + Separator()};
}

ResourceEntry ResolveEntry(ResourceKind kind, std::string_view listed, const ResourcePlaces& places)
{
    ResourceEntry entry;
    entry.name = TransferName(kind, listed);
    entry.folder = ResourceFolder(entry.name);
    entry.relative = EntryRelativePath(entry.name);
    entry.source = places.sourceFolder + entry.relative;
    entry.target = places.targetFolder + entry.relative;
    entry.refusal = ResourceNameRefusal(entry.name);
    // The name's own parts are known to fit; the folders above it are the user's.
    if (entry.refusal.empty() && std::max(entry.source.size(), entry.target.size()) > MaxPathBytes())
        entry.refusal = "a path longer than the file system allows";
    return entry;
}

std::string FindSourceIgnoringCase(ResourceEntry& entry, const ResourcePlaces& places, CaseLookup& lookup)
{
    const CaseMatch found = lookup.find(places.sourceFolder, entry.relative);
    if (found.kind == CaseMatch::Kind::Unique)
        entry.source = found.path;
    if (found.kind != CaseMatch::Kind::Ambiguous)
        return {};
    std::string note = "matches ";
    for (std::size_t i = 0; i < found.candidates.size(); ++i)
        note += (i ? ", " : "") + found.candidates[i];
    return note + " ignoring case";
}

}  // namespace corvane
