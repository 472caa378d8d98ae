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
std::string TemporaryNameFor(std::string_view name, std::string_view suffix);

// The suffix of a copy's named temporary file: ".corvane-PID-N", N counting
// the attempts of one copy.
std::string TemporarySuffix(long pid, unsigned attempt);

// True for the name of a copy's named temporary file, exactly
// "." + NAME + ".corvane-" + PID + "-" + N (NAME not empty, PID and N decimal
// digits, PID above 0); `pid` is then the process that made it.
bool IsCopyLeftover(std::string_view name, long& pid);

}  // namespace corvane::detail
