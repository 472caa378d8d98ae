#include "surroundings.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace corvane::test {

namespace fs = std::filesystem;

namespace {

std::string Describe(const fs::directory_entry& entry)
{
    struct stat st {};
    if (::lstat(entry.path().c_str(), &st) != 0)
        return "unreadable";
    std::string text = std::to_string(st.st_mode) + ' ' + std::to_string(st.st_size) + ' ' +
                       std::to_string(st.st_mtim.tv_sec) + '.' + std::to_string(st.st_mtim.tv_nsec);
    if (S_ISREG(st.st_mode)) {
        // A fingerprint of the content: files may be hundreds of megabytes.
        std::string content(static_cast<std::size_t>(st.st_size), '\0');
        std::ifstream in(entry.path(), std::ios::binary);
        in.read(content.data(), static_cast<std::streamsize>(content.size()));
        text += ' ' + std::to_string(std::hash<std::string>{}(content));
    } else if (S_ISLNK(st.st_mode)) {
        std::error_code ec;
        text += " -> " + fs::read_symlink(entry.path(), ec).string();
    } else if (S_ISDIR(st.st_mode)) {
        // A folder's own time changes with its entries, which are compared one by one.
        text = std::to_string(st.st_mode);
    }
    return text;
}

bool StartsWithAny(const std::string& path, const std::vector<std::string>& prefixes)
{
    for (const std::string& prefix : prefixes) {
        if (path.compare(0, prefix.size(), prefix) == 0)
            return true;
    }
    return false;
}

}  // namespace

Snapshot::Snapshot(const std::string& root)
{
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        entries_[fs::relative(it->path(), root).string()] = Describe(*it);
}

std::vector<std::string> Snapshot::changesSince(const Snapshot& before,
                                                const std::vector<std::string>& ignored) const
{
    std::vector<std::string> changes;
    for (const auto& [path, description] : entries_) {
        const auto old = before.entries_.find(path);
        if ((old == before.entries_.end() || old->second != description) && !StartsWithAny(path, ignored))
            changes.push_back(path);
    }
    for (const auto& [path, description] : before.entries_) {
        if (!entries_.contains(path) && !StartsWithAny(path, ignored))
            changes.push_back(path + " (removed)");
    }
    return changes;
}

std::vector<std::string> LeftoverTemporaries(const std::string& root)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().filename().string().find(".corvane-") != std::string::npos)
            found.push_back(fs::relative(it->path(), root).string());
    }
    return found;
}

}  // namespace corvane::test
