#pragma once
// Copying the prepared base game tree into the target.

#include <string>

#include "transfer/overwrite.h"
#include "transfer/transfer_file.h"

namespace corvane {

// Copies the tree at `pellarkPath` into `targPath`, leaving out folders named
// "entitysets", "demomaps", "help" or "save", folders whose names begin with
// ".", files whose path below the root contains one of those four words, every
// "config.cfg", linked folders and the target itself when it lies inside the
// tree. Always copies, never moves. `policy` is the answer state that lasts
// from one copy to the next.
void CopyPellarkTree(TransferContext& context, const std::string& pellarkPath,
                     const std::string& targPath, OverwritePolicy& policy);

// Copies one file of the tree to `target` below `into`, asking before it
// replaces an existing one.
void CopyPellarkFile(TransferContext& context, const TargetFolder& into, const std::string& source,
                     const std::string& target, OverwritePolicy& policy);

}  // namespace corvane
