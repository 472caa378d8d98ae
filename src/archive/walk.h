#pragma once
// The folder walk that the base-game index and the packer share.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "archive/file_io.h"
#include "platform/file_ops.h"

namespace corvane {

struct WalkItem {
    const DirEntry& entry;
    const std::string& full;      // its full path
    const std::string& relative;  // below the walked folder, "/" between folders
    bool top;                     // directly in the walked folder
};

struct WalkResult {
    bool ok = false;    // the walked folder itself could be listed
    std::string error;  // why not
    std::vector<std::pair<std::string, archive_io::FileStamp>> folders;  // every folder listed
};

// Walks the tree below `folder`, each folder's entries in ascending byte
// order, each folder's entries before those of its sub-folders. `visit` sees
// every entry; a folder is entered when it returns true for it. A folder is
// never entered twice (a bind mount can make a tree loop), and a folder below
// that cannot be listed is handed to `unreadable` with the reason.
WalkResult WalkTree(const std::string& folder, const std::function<bool(const WalkItem&)>& visit,
                    const std::function<void(const std::string& full, const std::string& error)>& unreadable);

}  // namespace corvane
