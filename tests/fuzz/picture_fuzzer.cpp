// libFuzzer target: any bytes as a picture file. The decoder must return pixels or a failure,
// never crash, leak, or take memory beyond its limits (the run's -rss_limit_mb and
// -malloc_limit_mb check the last).

#include "bank/jpeg_decoder.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace {

struct FrameSize {
    long long Width = 0;
    long long Height = 0;
};

// The size the first frame header claims, found by walking the markers as libjpeg does (stray
// bytes between markers skipped, the header ends at the first scan).
std::optional<FrameSize> ClaimedFrameSize(std::span<const std::uint8_t> bytes)
{
    std::size_t at = 2;
    while (at < bytes.size()) {
        while (at < bytes.size() && bytes[at] != 0xFF)
            ++at;
        while (at < bytes.size() && bytes[at] == 0xFF)
            ++at;
        if (at + 2 >= bytes.size())
            return std::nullopt;
        std::uint8_t marker = bytes[at++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue;
        if (marker == 0xD9 || marker == 0xDA)
            return std::nullopt;
        std::size_t length = bytes[at] << 8 | bytes[at + 1];
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8
            && marker != 0xCC;
        if (frame && at + 7 <= bytes.size())
            return FrameSize { .Width = bytes[at + 5] << 8 | bytes[at + 6],
                .Height = bytes[at + 3] << 8 | bytes[at + 4] };
        at += length;
    }
    return std::nullopt;
}

// Each pass reads the data of every column of the frame and, on a full-colour screen, the rows
// down to the ones shown; for a colour palette the whole frame. Larger frames take tens of
// milliseconds each under the instrumentation (the fuzzer then drifts towards them and tries a few
// inputs a second) while they only repeat the same code over more blocks; the limits that refuse
// them are tested with real files. libjpeg-turbo's own fuzzers skip large pictures likewise.
constexpr long long PixelsPerPass = 1 << 18;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brzdomat;
    std::span<const std::uint8_t> bytes { data, size };
    std::optional<FrameSize> frame = ClaimedFrameSize(bytes);
    for (ScreenDepth screen : { ScreenDepth::MoreThan8Bits, ScreenDepth::AtMost8Bits }) {
        if (frame) {
            long long rows = screen == ScreenDepth::AtMost8Bits
                ? frame->Height
                : std::min<long long>(frame->Height, VisibleHeight + 32);
            if (frame->Width * rows > PixelsPerPass)
                continue;
        }
        DecodeOptions options;
        options.Screen = screen;
        // Bounds lowered with the frames, so that they are still reached.
        options.Limits.MaxWholeFrameMemory = 1L << 20;
        options.Limits.MaxDecoderMemory = 4L << 20;
        options.Limits.MaxDecodingWork /= 200;
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
