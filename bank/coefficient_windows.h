#pragma once

// The decoder's memory manager for the coefficients of multi-scan files.
//
// Progressive files keep the coefficients of the whole frame between scans, two bytes a sample:
// a photograph of 50 megapixels needs hundreds of megabytes, and a forged header may claim far
// more. Only the shown rows are ever turned into pixels, so the coefficient arrays keep only the
// block rows that the shown rows, their upsampling context and block smoothing read; the rows
// below go to one scratch iMCU row and are dropped, and the decoder skips their data. That is
// exact: a scan is decoded in row order, so every kept block has been reached through kept blocks
// only, and each scan starts afresh at its own marker.
//
// libjpeg asks its memory manager for these arrays through three methods, which are replaced
// here; everything else stays libjpeg's, within its memory limit.

#include <array>
#include <cstddef>
#include <cstdio>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace brzdomat {

// One component's coefficient array: libjpeg's own array holds only the kept rows.
struct CoefficientWindow {
    jvirt_barray_ptr Kept = nullptr;
    JDIMENSION KeptRows = 0;
    JDIMENSION Rows = 0;
    JDIMENSION ScratchRows = 0;
    JBLOCKARRAY Scratch = nullptr;
    JDIMENSION BlocksPerRow = 0;
};

// The windows of one decompression. libjpeg's client_data must point to them (as this type), so
// that the replaced methods find them.
struct CoefficientWindows {
    // The pixel rows whose coefficients are kept, set before jpeg_start_decompress; 0 keeps the
    // whole frame.
    JDIMENSION ShownRows = 0;
    // Once libjpeg has asked for the arrays: the first iMCU row whose coefficients are dropped,
    // or 0 when all are kept.
    JDIMENSION DroppedFromMcuRow = 0;
    // libjpeg's own methods, which the windows call on.
    jpeg_memory_mgr Library {};
    std::array<CoefficientWindow, MAX_COMPONENTS> Windows {};
    int WindowCount = 0;
};

// Replaces the coefficient methods of the decompression's memory manager; call right after
// jpeg_create_decompress.
void InstallCoefficientWindows(j_decompress_ptr info);

} // namespace brzdomat
