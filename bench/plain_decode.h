#pragma once

// The baseline the picture benchmarks are measured against: what any program would do with
// libjpeg to show a picture.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brzdomat::bench {

// Decodes all of the picture at full size, floating-point inverse DCT, RGB (CMYK as CMYK); returns
// the number of pixel bytes so the work cannot be optimised away.
std::size_t PlainFullDecode(const std::vector<std::uint8_t>& bytes);

} // namespace brzdomat::bench
