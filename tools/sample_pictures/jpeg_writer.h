#pragma once

// Encodes pixels as a baseline JFIF JPEG in memory. Our own pictures (the sample question cards
// and the artwork) are made with it; the program itself only ever decodes.

#include <QImage>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brzdomat {

struct JpegEncodeResult {
    std::vector<std::uint8_t> Bytes;
    // Empty on success; otherwise libjpeg's own message.
    std::string Error;
};

// rgb holds three bytes (red, green, blue) a pixel, rows packed without padding. quality is
// libjpeg's 1..100 scale. The output is always baseline (sequential, Huffman, 8-bit).
JpegEncodeResult EncodeBaselineJpeg(
    int width, int height, const std::vector<std::uint8_t>& rgb, int quality);

// The same for a picture drawn with Qt's painter, in whatever format it was drawn.
JpegEncodeResult EncodeBaselineJpeg(const QImage& image, int quality);

} // namespace brzdomat
