#include "archive/walk.h"

#include <iterator>
#include <set>

#include "platform/paths.h"

namespace corvane {

WalkResult WalkTree(const std::string& folder, const std::function<bool(const WalkItem&)>& visit,
                    const std::function<void(const std::string& full, const std::string& error)>& unreadable)
{
    WalkResult result;
    // A stack instead of recursion: any depth costs no more than the paths.
    std::vector<std::pair<std::string, std::string>> pending{{folder, ""}};  // full path, relative
    std::set<std::pair<std::uint64_t, std::uint64_t>> seen;
    while (!pending.empty()) {
        const auto [dir, relative] = std::move(pending.back());
        pending.pop_back();
        const archive_io::FileStamp stamp = archive_io::StampOf(dir);
        result.folders.emplace_back(dir, stamp);
        if (!seen.insert({stamp.device, stamp.inode}).second)
            continue;
        const Listing listing = ListDirectory(dir);
        if (!listing.ok) {
            if (relative.empty()) {
                result.error = listing.error;
                return result;
            }
            unreadable(dir, listing.error);
            continue;
        }
        std::vector<std::pair<std::string, std::string>> folders;
        for (const DirEntry& entry : listing.entries) {
            const std::string full = JoinPath(dir, entry.name);
            const std::string name = relative.empty() ? entry.name : relative + "/" + entry.name;
            if (visit(WalkItem{entry, full, name, relative.empty()}) && entry.type == EntryType::Directory)
                folders.emplace_back(full, name);
        }
        // On the stack in reverse, so that they are walked in order.
        pending.insert(pending.end(), std::make_move_iterator(folders.rbegin()),
                       std::make_move_iterator(folders.rend()));
    }
    result.ok = true;
    return result;
}

}  // namespace corvane
