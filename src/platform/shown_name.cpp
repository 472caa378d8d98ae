#include "platform/shown_name.h"

#include <algorithm>

namespace corvane {

bool IsControlByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool HasControlByte(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), IsControlByte);
}

std::string ShownName(std::string_view text)
{
    if (!HasControlByte(text))
        return std::string(text);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size() + 8);
    for (const char c : text) {
        if (!IsControlByte(c)) {
            shown += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        shown += "\\x";
        shown += kHex[byte >> 4];
        shown += kHex[byte & 0x0F];
    }
    return shown;
}

}  // namespace corvane
