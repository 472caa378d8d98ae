#pragma once
// Copying the prepared base game tree into the target.

#include <functional>
#include <string>

#include "transfer/overwrite.h"
#include "transfer/transfer_file.h"

namespace corvane {

// What a walk of the Pellark tree meets, in the order of the copy: depth
// first, each folder's entries in ascending byte order.
struct PellarkVisitor {
    // A folder that cannot be listed: its full path, its name as the failure
    // box gives it (the full path at the root, the bare name below), and why.
    std::function<void(const std::string& dir, const std::string& shown, const std::string& reason)> unreadable;
    // A folder the copy makes below the target, by its path below the root;
    // its contents follow.
    std::function<void(const std::string& relative)> folder;
    // A file the copy takes: its full path, its place in the target and its
    // path below the root.
    std::function<void(const std::string& source, const std::string& target, const std::string& relative)> file;
};

// Walks the tree at `pellarkPath` as its copy into `targPath` goes, leaving
// out folders named "entitysets", "demomaps", "help" or "save", folders whose
// names begin with ".", files whose path below the root contains one of those
// four words, every "config.cfg", linked folders and the target itself when
// it lies inside the tree. An empty `pellarkPath` names no tree.
void WalkPellarkTree(const std::string& pellarkPath, const std::string& targPath, const PellarkVisitor& visit);

// Copies the tree at `pellarkPath` into `targPath`, as walked above, with a
// banner and the folder's creation for each folder. Always copies, never
// moves. `policy` is the answer state of the copy; the caller begins it (the
// transfer command does so in every run).
void CopyPellarkTree(TransferContext& context, const std::string& pellarkPath,
                     const std::string& targPath, OverwritePolicy& policy);

// Copies one file of the tree to `target` below `into`, asking before it
// replaces an existing one.
void CopyPellarkFile(TransferContext& context, const TargetFolder& into, const std::string& source,
                     const std::string& target, OverwritePolicy& policy);

}  // namespace corvane
