#include "map/sky.h"

#include <array>
#include <string_view>

namespace corvane {

std::string FindSkyCaption(const LevelLines& lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        std::array<std::size_t, 4> quote{};
        std::size_t from = 0;
        bool complete = true;
        for (std::size_t& q : quote) {
            q = line.find('"', from);
            if (q == std::string_view::npos) {
                complete = false;
                break;
            }
            from = q + 1;
        }
        if (!complete)
            continue;
        if (line.substr(quote[0] + 1, quote[1] - quote[0] - 1) != "sky")
            continue;
        const std::string_view value = line.substr(quote[2] + 1, quote[3] - quote[2] - 1);
        return value.empty() ? kSkyNotFound : std::string(value);
    }
    return kSkyNotFound;
}

}  // namespace corvane
