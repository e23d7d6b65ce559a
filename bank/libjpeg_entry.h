#pragma once

// The libjpeg functions the decoder calls. Where the build says so (a shared library on Linux or
// Windows), the library is loaded when the first picture is decoded, not by the system loader at
// start: the first window needs none of it. Elsewhere the table holds the linked functions.

#include <cstddef>
#include <cstdio>
#include <string>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace brzdomat {

struct LibJpeg {
    decltype(&jpeg_std_error) StdError;
    decltype(&jpeg_CreateDecompress) CreateDecompress;
    decltype(&jpeg_mem_src) MemSrc;
    decltype(&jpeg_read_header) ReadHeader;
    decltype(&jpeg_has_multiple_scans) HasMultipleScans;
    decltype(&jpeg_start_decompress) StartDecompress;
    decltype(&jpeg_crop_scanline) CropScanline;
    decltype(&jpeg_read_scanlines) ReadScanlines;
    decltype(&jpeg_abort_decompress) AbortDecompress;
    decltype(&jpeg_destroy_decompress) DestroyDecompress;
};

// The library, loaded at the first call; null if it cannot be, with the reason in `why`.
const LibJpeg* LoadLibJpeg(std::string& why);

} // namespace brzdomat
