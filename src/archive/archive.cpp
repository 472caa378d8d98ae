#include "archive/archive.h"

#include "archive/listing_builder.h"
#include "platform/shown_name.h"

namespace corvane {

std::string ArchiveNameProblem(std::string_view name)
{
    if (name.empty())
        return "an empty name";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            return "a control character in the name";
        if (c == '\\')
            return "a backslash in the name";
    }
    if (name.front() == '/')
        return "an absolute name";
    if (name.size() >= 2 && name[1] == ':')
        return "a drive in the name";
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = name.find('/', start);
        const std::string_view part = name.substr(start, slash == std::string_view::npos ? slash : slash - start);
        if (part == "..")
            return "a '..' component in the name";
        if (part.empty() || part == ".")
            return "an empty or '.' component in the name";
        if (slash == std::string_view::npos)
            return {};
        start = slash + 1;
    }
}

std::string ShortShownName(std::string_view name)
{
    constexpr std::size_t kLongest = 200;
    std::string shown = ShownName(name.substr(0, kLongest));
    if (name.size() > kLongest)
        shown += "...";
    return shown;
}

std::string TooLargeText(std::string_view name, std::uint64_t size, std::uint64_t maxBytes)
{
    return "'" + ShortShownName(name) + "' holds " + std::to_string(size) + " bytes, more than the " +
           std::to_string(maxBytes) + " allowed";
}

ArchiveListing ListingBuilder::refuse(std::string problem)
{
    ArchiveListing refused;
    refused.warnings.push_back({file_, std::move(problem)});
    return refused;
}

void ListingBuilder::skip(std::string_view name, std::string_view problem)
{
    if (++skipped_ <= kMaxEntryWarnings)
        listing_.warnings.push_back(
            {file_, "entry '" + ShortShownName(name) + "' left out: " + std::string(problem)});
}

void ListingBuilder::add(ArchiveEntry entry)
{
    if (const std::string problem = ArchiveNameProblem(entry.name); !problem.empty()) {
        skip(entry.name, problem);
        return;
    }
    listing_.entries.push_back(std::move(entry));
}

ArchiveListing ListingBuilder::finish()
{
    if (skipped_ > kMaxEntryWarnings)
        listing_.warnings.push_back(
            {file_, std::to_string(skipped_ - kMaxEntryWarnings) + " more entries left out"});
    listing_.ok = true;
    return std::move(listing_);
}

}  // namespace corvane
