#pragma once
// A decoded picture and the palette that gives 8-bit pictures their colours.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// 256 colours of three bytes each: red, green, blue.
struct Palette {
    std::array<std::uint8_t, 768> rgb{};
};

struct Picture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Four bytes a pixel (red, green, blue, alpha), row by row from the top:
    // width * height * 4 bytes.
    std::vector<std::uint8_t> rgba;
    std::string error;  // empty when decoded; otherwise the reason, and no pixels
};

}  // namespace corvane
