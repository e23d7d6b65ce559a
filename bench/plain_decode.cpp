#include "bench/plain_decode.h"

#include <cstdio>

#include <jpeglib.h>

namespace brzdomat::bench {

std::size_t PlainFullDecode(const std::vector<std::uint8_t>& bytes)
{
    jpeg_decompress_struct info {};
    jpeg_error_mgr errors {};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.dct_method = JDCT_FLOAT;
    // libjpeg converts CMYK to nothing else.
    bool ink = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = ink ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    std::size_t stride = static_cast<std::size_t>(info.output_width)
        * static_cast<std::size_t>(info.output_components);
    std::vector<std::uint8_t> pixels(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return pixels.size();
}

} // namespace brzdomat::bench
