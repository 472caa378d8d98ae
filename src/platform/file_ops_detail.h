#pragma once
// What the POSIX and the Windows halves of the file operations share.

#include <string>
#include <string_view>

#include "platform/file_ops.h"

namespace corvane::detail {

inline constexpr const char* kSameFile = "Source and target are the same file";
inline constexpr const char* kNotRegular = "Not a regular file";

// A failed operation with the reason of an errno value, or with a reason as text.
OpResult Failed(int code);
OpResult Failed(std::string reason);

// The temporary file a copy writes beside its target: "." + the target's name
// + `suffix`, with the name shortened where the whole would be longer than a
// file name may be (255 bytes), so that any name the target can have can be
// copied.
std::string TemporaryPathFor(const std::string& target, std::string_view suffix);

}  // namespace corvane::detail
