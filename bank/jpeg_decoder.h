#pragma once

// Decodes the visible part of a JPEG picture with libjpeg. It knows nothing of files or of the
// screen: it takes the bytes, gives back pixels or a reason, and never throws. Every input is
// treated as hostile: the limits below keep memory and time bounded whatever the bytes claim.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace brzdomat {

// The size of the question picture control; nothing right of or below it is ever seen.
inline constexpr int VisibleWidth = 401;
inline constexpr int VisibleHeight = 457;

// Palette screens cannot show 24-bit colour, so colour pictures are quantised for them.
enum class ScreenDepth { MoreThan8Bits, AtMost8Bits };

struct DecodeLimits {
    // A file larger than this is refused before it is read. Camera photographs of 50 megapixels
    // stay well below it.
    std::size_t MaxFileBytes = std::size_t { 64 } << 20;
    // The decoder's own memory, which for progressive files includes the coefficients of the
    // whole image (two bytes a sample), and for palette screens a copy of the whole image: a
    // 48-megapixel progressive photograph needs 275 MiB with full colour resolution, a forged
    // header that claims 65500 x 65500 pixels 24 GiB.
    long MaxDecoderMemory = 320L << 20;
    // Genuine progressive files have about ten scans; each scan costs a pass over the whole
    // image, so a file with thousands of them would take minutes.
    int MaxScans = 100;
    // Each warning is a piece of corrupt data that libjpeg skipped or patched; past this many
    // the file is garbage rather than slightly damaged.
    int MaxWarnings = 1000;
};

struct DecodeOptions {
    // The region from the top-left corner that is decoded; larger pictures are cut to it.
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
    TooManyWarnings,
    OutOfMemory, // the allocation of the result failed
};

// Decoded picture pixels, three bytes (red, green, blue) a pixel, rows packed without padding.
// Shared so that the screen can hold the pixels without copying them.
struct RgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;
};

struct DecodeResult {
    std::shared_ptr<const RgbImage> Image; // set exactly when Failure is None
    DecodeFailure Failure = DecodeFailure::None;
    std::string Detail; // libjpeg's or the system's words, for diagnosis only
    // Warnings that libjpeg raised and that were ignored.
    int Warnings = 0;
    // The data ended before the picture did, and libjpeg finished it as its end marker would.
    bool CutShort = false;
    // What the header says of the whole picture, of which only the region in the options is
    // decoded; set with the image.
    int SourceWidth = 0;
    int SourceHeight = 0;
    bool Greyscale = false;
};

// The top-left Options.Width x Options.Height pixels of the picture (less if it is smaller),
// decoded at full size with the floating-point inverse DCT and block smoothing, as RGB.
// Greyscale pictures, and colour ones for a palette screen, go through libjpeg's 236-colour
// quantisation.
DecodeResult DecodeJpeg(std::span<const std::uint8_t> bytes, const DecodeOptions& options = {});

// Reads a whole regular file, opened read-only, refusing one larger than maxBytes. Folders,
// devices and pipes are refused without reading from them.
struct FileBytes {
    std::vector<std::uint8_t> Bytes;
    DecodeFailure Failure = DecodeFailure::None;
    std::string Detail;
};
FileBytes ReadPictureFile(const std::string& path, std::size_t maxBytes);

// ReadPictureFile and DecodeJpeg in one; an empty file is a failure.
DecodeResult LoadPictureFile(const std::string& path, const DecodeOptions& options = {});

} // namespace brzdomat
