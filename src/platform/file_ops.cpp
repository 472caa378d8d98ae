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

std::string TemporaryPathFor(const std::string& target, std::string_view suffix)
{
    constexpr std::size_t kMaxName = 255;
    std::string name = "." + std::string(FileName(target));
    name.resize(std::min(name.size(), kMaxName - suffix.size()));
    return JoinPath(ParentPath(target), name.append(suffix));
}

}  // namespace detail

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
