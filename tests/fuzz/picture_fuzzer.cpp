// libFuzzer target: any bytes as a picture file. The decoder must return pixels or a failure,
// never crash, leak, or take memory beyond its limits (the run's -rss_limit_mb and
// -malloc_limit_mb check the last).

#include "bank/jpeg_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brzdomat;
    std::span<const std::uint8_t> bytes { data, size };
    for (ScreenDepth screen : { ScreenDepth::MoreThan8Bits, ScreenDepth::AtMost8Bits }) {
        DecodeOptions options;
        options.Screen = screen;
        // Lower bounds take the same paths in a fraction of the time, so that the fuzzer tries
        // hundreds of inputs a second rather than a few dozen.
        options.Limits.MaxWholeFrameMemory = 32L << 20;
        options.Limits.MaxDecodingWork /= 20;
        DecodeResult result = DecodeJpeg(bytes, options);
        if ((result.Image != nullptr) != (result.Failure == DecodeFailure::None))
            __builtin_trap();
        if (result.Image) {
            const RgbImage& image = *result.Image;
            if (image.Width < 1 || image.Width > VisibleWidth || image.Height < 1
                || image.Height > VisibleHeight
                || image.Pixels.size() != static_cast<std::size_t>(image.Width) * image.Height * 3)
                __builtin_trap();
        }
    }
    return 0;
}
