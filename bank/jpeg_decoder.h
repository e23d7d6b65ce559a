#pragma once

// Decodes a region of a JPEG picture with libjpeg. It knows nothing of files (picture_file.h
// reads them) and draws nothing: it takes the bytes and the options, gives back pixels or a
// reason, and never throws. Every input is treated as hostile: the limits below keep memory and
// time bounded whatever the bytes claim.

#include "bank/picture_area.h"
#include "bank/rgb_image.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace brzdomat {

// Palette screens cannot show 24-bit colour, so colour pictures are quantised for them.
enum class ScreenDepth { MoreThan8Bits, AtMost8Bits };

struct DecodeLimits {
    // A file larger than this is refused before it is read. Camera photographs of 50 megapixels
    // stay well below it.
    std::size_t MaxFileBytes = std::size_t { 64 } << 20;
    // The decoder's own memory. Progressive files keep coefficients (two bytes a sample) only for
    // the rows that are shown, as wide as the frame: a 50-megapixel CMYK photograph needs about
    // 35 MiB, a forged header that claims 65500 pixels across three times this limit.
    long MaxDecoderMemory = 64L << 20;
    // For palette screens the colours are chosen from the whole frame, so the decoder keeps a
    // copy of it and, for progressive files, the coefficients of all of it: a 48-megapixel
    // progressive photograph needs 275 MiB with full colour resolution.
    long MaxWholeFrameMemory = 320L << 20;
    // Each scan has a fixed cost however small the frame; genuine progressive files have about
    // ten scans.
    int MaxScans = 100;
    // A file of several scans is read whole before anything is shown, and every scan is a pass
    // over the blocks of its components: the work is counted in the blocks of all scans, each
    // weighted by the coefficients of its band, and in the bytes of data decoded (the units are
    // given beside the decoder). At about 0.5 ns a unit here, the slowest kind, this answers
    // every file within about half a second; a genuine progressive CMYK photograph of 50
    // megapixels needs 0.75e9 units, a colour one 0.25e9 to 0.4e9.
    long long MaxDecodingWork = 1'000'000'000;
    // Each warning is a piece of corrupt data that libjpeg skipped or patched; past this many
    // the file is garbage rather than slightly damaged.
    int MaxWarnings = 1000;
};

struct DecodeOptions {
    // The region from the top-left corner that is decoded, by default the picture control's;
    // larger pictures are cut to it.
    int Width = VisibleWidth;
    int Height = VisibleHeight;
    ScreenDepth Screen = ScreenDepth::MoreThan8Bits;
    DecodeLimits Limits;
};

enum class DecodeFailure {
    None,
    FileNotReadable, // missing, not a regular file, no permission, read error
    FileTooLarge,
    Empty,
    NotDecodable, // libjpeg gave up: not a JPEG, damaged header, unsupported kind
    DecoderMemoryLimit,
    TooManyScans,
    TooMuchWork, // the scans of a multi-scan file would take too long to decode
    TooManyWarnings,
    OutOfMemory, // the allocation of the result failed
};

struct DecodeResult {
    std::shared_ptr<const RgbImage> Image; // set exactly when Failure is None
    DecodeFailure Failure = DecodeFailure::None;
    std::string Detail; // libjpeg's or the system's words, for diagnosis only
    // Warnings that libjpeg raised and that were ignored. Rows below the kept coefficients of a
    // multi-scan file are decoded without the earlier scans, which raises warnings of their own;
    // there only the end of the data is counted.
    int Warnings = 0;
    // The data ended before the picture did, and libjpeg finished it as its end marker would.
    bool CutShort = false;
    // What the header says of the whole picture, of which only the region in the options is
    // decoded; set with the image.
    int SourceWidth = 0;
    int SourceHeight = 0;
    bool Greyscale = false;
};

// libjpeg's quantiser is asked for this many colours, the palette that old Windows screens left
// free for pictures.
inline constexpr int QuantisedColours = 236;

// The top-left Options.Width x Options.Height pixels of the picture (less if it is smaller),
// decoded at full size with the floating-point inverse DCT and block smoothing, as RGB.
// Greyscale pictures, and colour ones for a palette screen, go through libjpeg's quantisation to
// QuantisedColours.
DecodeResult DecodeJpeg(std::span<const std::uint8_t> bytes, const DecodeOptions& options = {});

} // namespace brzdomat
