#pragma once
// Copying or moving a level's textures or sounds from the working tree.

#include <string>
#include <vector>

#include "map/resource_list.h"
#include "transfer/extras.h"
#include "transfer/resource_names.h"
#include "transfer/transfer_file.h"

namespace corvane {

// Transfers every entry of `list` from below the parent of `srcPath` into
// `targPath`, asking before it replaces a file (Yes to All and No to All hold
// for the rest of one resource folder) and logging every outcome.
void TransferResources(TransferContext& context, ResourceKind kind, const ResourceList& list,
                       const std::string& srcPath, const std::string& targPath);

// Tells the user a listed resource is missing from the working tree, and logs
// it; `note` (the candidates of a name that matches several files ignoring
// case) goes with the problem noted.
void MissingFileNotice(TransferContext& context, const std::string& source, const std::string& target,
                       std::string note = {});

// Transfers what a complete release adds (FindExtras) into `targPath` as the
// resources are transferred: refused names reported, the game's own left out,
// missing files noticed, the folders made that a file needs, and a question
// before a file is replaced (Yes to All and No to All hold for the rest of one
// folder).
void TransferExtras(TransferContext& context, const std::vector<ExtraFile>& extras, const std::string& targPath);

}  // namespace corvane
