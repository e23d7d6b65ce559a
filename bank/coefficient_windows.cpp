#include "bank/coefficient_windows.h"

#include <algorithm>
#include <cstring>

namespace brzdomat {

namespace {

CoefficientWindows& WindowsOf(j_common_ptr info)
{
    return *static_cast<CoefficientWindows*>(info->client_data);
}

CoefficientWindow* WindowOf(CoefficientWindows& windows, jvirt_barray_ptr array)
{
    for (int i = 0; i < windows.WindowCount; ++i) {
        auto& window = windows.Windows[static_cast<std::size_t>(i)];
        if (reinterpret_cast<jvirt_barray_ptr>(&window) == array)
            return &window;
    }
    return nullptr;
}

// libjpeg asks for one coefficient array a component, as tall as the frame in block rows; with
// the frame's height in iMCU rows that gives the component's block rows an iMCU row.
jvirt_barray_ptr RequestCoefficients(j_common_ptr info, int pool, boolean preZero,
    JDIMENSION blocksPerRow, JDIMENSION rows, JDIMENSION maxAccess)
{
    CoefficientWindows& windows = WindowsOf(info);
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    JDIMENSION frameRows = decompress->total_iMCU_rows;
    JDIMENSION iMcuHeight
        = static_cast<JDIMENSION>(decompress->max_v_samp_factor * decompress->min_DCT_scaled_size);
    bool windowed = windows.ShownRows > 0 && frameRows > 0 && rows % frameRows == 0
        && windows.WindowCount < static_cast<int>(windows.Windows.size()) && iMcuHeight > 0;
    // The last shown row's iMCU row, the next one for upsampling context, and the two below
    // that block smoothing reads.
    JDIMENSION keptMcuRows = windowed ? (windows.ShownRows - 1) / iMcuHeight + 4 : frameRows;
    if (keptMcuRows >= frameRows)
        return windows.Library.request_virt_barray(
            info, pool, preZero, blocksPerRow, rows, maxAccess);
    JDIMENSION rowsPerMcuRow = rows / frameRows;
    windows.DroppedFromMcuRow = keptMcuRows;
    CoefficientWindow& window = windows.Windows[static_cast<std::size_t>(windows.WindowCount++)];
    window.Rows = rows;
    window.KeptRows = keptMcuRows * rowsPerMcuRow;
    window.ScratchRows = rowsPerMcuRow;
    window.BlocksPerRow = blocksPerRow;
    window.Kept = windows.Library.request_virt_barray(
        info, pool, preZero, blocksPerRow, window.KeptRows, std::min(maxAccess, window.KeptRows));
    return reinterpret_cast<jvirt_barray_ptr>(&window);
}

// libjpeg's own arrays, the kept ones among them, are placed within the memory limit; the
// scratch rows are small beside them.
void RealizeArrays(j_common_ptr info)
{
    CoefficientWindows& windows = WindowsOf(info);
    windows.Library.realize_virt_arrays(info);
    for (int i = 0; i < windows.WindowCount; ++i) {
        CoefficientWindow& window = windows.Windows[static_cast<std::size_t>(i)];
        window.Scratch = windows.Library.alloc_barray(
            info, JPOOL_IMAGE, window.BlocksPerRow, window.ScratchRows);
        for (JDIMENSION row = 0; row < window.ScratchRows; ++row)
            std::memset(window.Scratch[row], 0, window.BlocksPerRow * sizeof(JBLOCK));
    }
}

// Rows below the kept ones are only ever written, one iMCU row at a time by the input side, and
// go to the scratch rows. Any other access outside the kept rows reaches libjpeg's array, which
// refuses it as a bad access: a fault shows as a failure, never as wrong pixels.
JBLOCKARRAY AccessCoefficients(j_common_ptr info, jvirt_barray_ptr array, JDIMENSION startRow,
    JDIMENSION rowCount, boolean writable)
{
    CoefficientWindows& windows = WindowsOf(info);
    CoefficientWindow* window = WindowOf(windows, array);
    if (window == nullptr)
        return windows.Library.access_virt_barray(info, array, startRow, rowCount, writable);
    if (writable && startRow >= window->KeptRows && rowCount <= window->ScratchRows
        && startRow + rowCount <= window->Rows)
        return window->Scratch;
    return windows.Library.access_virt_barray(info, window->Kept, startRow, rowCount, writable);
}

} // namespace

void InstallCoefficientWindows(j_decompress_ptr info)
{
    jpeg_memory_mgr& memory = *info->mem;
    WindowsOf(reinterpret_cast<j_common_ptr>(info)).Library = memory;
    memory.request_virt_barray = RequestCoefficients;
    memory.realize_virt_arrays = RealizeArrays;
    memory.access_virt_barray = AccessCoefficients;
}

} // namespace brzdomat
