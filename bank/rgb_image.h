#pragma once

#include <cstdint>
#include <vector>

namespace brzdomat {

// Decoded picture pixels, three bytes (red, green, blue) a pixel, rows packed without padding.
// Held through a shared pointer, so that the screen keeps the pixels without copying them.
struct RgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;
};

} // namespace brzdomat
