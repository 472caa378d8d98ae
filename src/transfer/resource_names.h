#pragma once
// The two kinds of resource and the names a transfer works with.

#include <string>
#include <string_view>

namespace corvane {

enum class ResourceKind { Textures, Sounds };

// The name a transfer uses for a list entry. The game appends ".wav" to a sound
// name that does not contain it, so such a sound is looked for under that name;
// every other entry is used as listed.
std::string TransferName(ResourceKind kind, std::string_view entry);

}  // namespace corvane
