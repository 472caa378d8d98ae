// What the POSIX and the Windows file operations share (file_ops_posix.cpp,
// file_ops_windows.cpp hold the two halves).

#include "platform/file_ops.h"

#include <algorithm>
#include <cstring>

#include "platform/file_ops_detail.h"
#include "platform/paths.h"

namespace corvane {

namespace detail {

OpResult Failed(int code)
{
    return OpResult{false, std::strerror(code)};
}

OpResult Failed(std::string reason)
{
    return OpResult{false, std::move(reason)};
}

std::string TemporaryNameFor(std::string_view name, std::string_view suffix)
{
    constexpr std::size_t kMaxName = 255;
    std::string temp = "." + std::string(name);
    temp.resize(std::min(temp.size(), kMaxName - suffix.size()));
    return temp.append(suffix);
}

std::string TemporaryPathFor(const std::string& target, std::string_view suffix)
{
    return JoinPath(ParentPath(target), TemporaryNameFor(FileName(target), suffix));
}

std::string TemporarySuffix(long pid, unsigned attempt)
{
    return ".corvane-" + std::to_string(pid) + "-" + std::to_string(attempt);
}

bool IsCopyLeftover(std::string_view name, long& pid)
{
    const auto digits = [](std::string_view text) {
        return !text.empty() && text.size() <= 18 &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    constexpr std::string_view kMark = ".corvane-";
    const std::size_t mark = name.rfind(kMark);
    if (name.size() < 2 || name.front() != '.' || mark == std::string_view::npos || mark < 2)
        return false;
    const std::string_view numbers = name.substr(mark + kMark.size());
    const std::size_t dash = numbers.find('-');
    if (dash == std::string_view::npos || !digits(numbers.substr(0, dash)) || !digits(numbers.substr(dash + 1)))
        return false;
    pid = std::stol(std::string(numbers.substr(0, dash)));
    return pid > 0 && pid <= 0x7fffffff;
}

}  // namespace detail

std::string LinkInTheWay(const std::string& path)
{
    return path + " is a link";
}

std::vector<std::string> FindFiles(const std::string& dir, const std::string& pattern)
{
    std::vector<std::string> names;
    for (const DirEntry& entry : ListDirectory(dir).entries) {
        if (entry.type == EntryType::File && MatchesPattern(entry.name, pattern))
            names.push_back(entry.name);
    }
    return names;
}

}  // namespace corvane
