#include "platform/case_lookup.h"

#include <algorithm>

#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace corvane {

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool IsNameSeparator(char c)
{
    return c == '/' || c == Separator();
}

}  // namespace

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

std::vector<std::string_view> NameParts(std::string_view relative)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= relative.size(); ++i) {
        if (i == relative.size() || IsNameSeparator(relative[i])) {
            if (i > start)
                parts.push_back(relative.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

const CaseLookup::Folder& CaseLookup::folder(const std::string& path)
{
    auto found = listings_.find(path);
    if (found != listings_.end())
        return found->second;
    Folder names;
    NameListing listing = ListNames(path);
    names.listed = listing.ok;
    for (std::string& name : listing.names)
        names.spellings[AsciiLower(name)].push_back(std::move(name));
    return listings_.emplace(path, std::move(names)).first->second;
}

const CaseLookup::Spellings* CaseLookup::namesIn(const std::string& root, std::string_view relative)
{
    std::string path = root;
    if (!NameParts(relative).empty()) {
        const CaseMatch found = find(root, relative);
        if (found.kind != CaseMatch::Kind::Exact && found.kind != CaseMatch::Kind::Unique)
            return nullptr;
        path = found.path;
    }
    while (path.size() > 1 && IsNameSeparator(path.back()))
        path.pop_back();
    const Folder& names = folder(path);
    return names.listed ? &names.spellings : nullptr;
}

CaseMatch CaseLookup::find(const std::string& root, std::string_view relative)
{
    CaseMatch match;
    const std::vector<std::string_view> parts = NameParts(relative);
    std::string path = root;
    while (path.size() > 1 && IsNameSeparator(path.back()))
        path.pop_back();
    std::string below;  // the path found so far, below the root
    bool exact = true;
    for (const std::string_view part : parts) {
        const Folder& here = folder(path);
        std::vector<const std::string*> matches;
        const std::string* same = nullptr;
        const auto spellings = here.spellings.find(AsciiLower(std::string(part)));
        if (spellings != here.spellings.end()) {
            for (const std::string& name : spellings->second) {
                if (name == part)
                    same = &name;
                matches.push_back(&name);
            }
        }
        const std::string exactPart(part);
        if (!here.listed && PathExists(JoinPath(path, exactPart)))
            same = &exactPart;
        if (same) {
            matches = {same};
        } else {
            exact = false;
            if (matches.size() > 1) {
                match.kind = CaseMatch::Kind::Ambiguous;
                for (const std::string* name : matches)
                    match.candidates.push_back(below.empty() ? *name : below + "/" + *name);
                std::sort(match.candidates.begin(), match.candidates.end());
                return match;
            }
        }
        if (matches.empty())
            return match;  // None
        path = JoinPath(path, *matches.front());
        below = below.empty() ? *matches.front() : below + "/" + *matches.front();
    }
    if (parts.empty())
        return match;
    match.kind = exact ? CaseMatch::Kind::Exact : CaseMatch::Kind::Unique;
    match.path = std::move(path);
    return match;
}

}  // namespace corvane
