#pragma once
// The target directory and the folders below it.

#include <string>
#include <string_view>

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

// Makes sure each folder of `folder` ("models/buoy": below `targPath`, "/"
// between its parts) exists, logging "Created: " for each one made. False
// when one cannot be made (a link in the way, say): that is logged and noted
// with the failure, and the file that needed it is left out.
bool CreateFoldersBelow(TransferContext& context, const TargetFolder& into, const std::string& targPath,
                        std::string_view folder);

}  // namespace corvane
