#include "transfer/resource_names.h"

namespace corvane {

std::string TransferName(ResourceKind kind, std::string_view entry)
{
    std::string name(entry);
    if (kind == ResourceKind::Sounds && name.find(".wav") == std::string::npos)
        name += ".wav";
    return name;
}

}  // namespace corvane
