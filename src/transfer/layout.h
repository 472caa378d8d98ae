#pragma once
// The target directory and the folders below it.

#include <string>
#include <string_view>

#include "map/resource_list.h"
#include "transfer/transfer_file.h"

namespace corvane {

// The text of a list entry before its first "/" ("" when it has none).
std::string ResourceFolder(std::string_view entry);

// True for a resource name that could reach outside its folder: one with a ".."
// component (split at "/" and "\"), or an absolute one (a drive designator, or
// two separators in front). Such names are never transferred.
bool IsUnsafeResourceName(std::string_view entry);

// Logs the five lines that report a refused name.
void ReportUnsafeName(TransferLog& log, const std::string& entry);

// Makes sure the target directory exists; asks whether to go on when it does.
// False when the target is a drive root, the user cancels, or it cannot be made.
bool PrepareTargetDirectory(TransferContext& context, const std::string& target);

// Makes sure `name` (which may have several levels) exists below `targPath`.
bool CreateTargetSubdirectory(TransferContext& context, const std::string& targPath,
                              const std::string& name);

// Creates "textures" and "sound" below `target` with one folder per resource
// folder of each list, and the folders between it and the file for nested
// names. False at the first folder that cannot be made.
bool CreateResourceLayout(TransferContext& context, const std::string& target,
                          const ResourceList& textures, const ResourceList& sounds);

}  // namespace corvane
