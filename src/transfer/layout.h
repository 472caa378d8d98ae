#pragma once
// The target directory and the folders below it.

#include <string>

#include "map/resource_list.h"
#include "transfer/transfer_file.h"

namespace corvane {

// Makes sure the target directory exists; asks whether to go on when it does.
// False when the target is a drive root, the user cancels, or it cannot be made.
bool PrepareTargetDirectory(TransferContext& context, const std::string& target);

// Makes sure `name` (which may have several levels) exists below `targPath`.
bool CreateTargetSubdirectory(TransferContext& context, const std::string& targPath,
                              const std::string& name);

// Creates "textures" and "sound" below `target` with one folder per resource
// folder of each list, and the folders between it and the file for nested
// names; a name the transfer refuses (see ResolveEntry, with the resources
// taken from below the parent of `srcPath`) gets no folder. False at the
// first folder that cannot be made.
bool CreateResourceLayout(TransferContext& context, const std::string& target, const std::string& srcPath,
                          const ResourceList& textures, const ResourceList& sounds);

}  // namespace corvane
