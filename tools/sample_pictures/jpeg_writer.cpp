#include "tools/sample_pictures/jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace brzdomat {
namespace {

// libjpeg reports errors by calling error_exit, whose default ends the process. We jump back
// instead so that the caller gets the message; no C++ object lives between setjmp and longjmp.
struct ErrorManager {
    jpeg_error_mgr Base {};
    std::jmp_buf Jump {};
    char Message[JMSG_LENGTH_MAX] {};
};

void OnError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, manager->Message);
    std::longjmp(manager->Jump, 1);
}

} // namespace

JpegEncodeResult EncodeBaselineJpeg(
    int width, int height, const std::vector<std::uint8_t>& rgb, int quality)
{
    JpegEncodeResult result;
    if (width <= 0 || height <= 0 || width > 65500 || height > 65500) {
        result.Error = "picture size out of range";
        return result;
    }
    if (rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
        result.Error = "pixel buffer does not match the picture size";
        return result;
    }

    jpeg_compress_struct info {};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = OnError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;

    if (setjmp(errors.Jump) != 0) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        result.Error = errors.Message;
        return result;
    }

    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    info.write_JFIF_header = TRUE;
    jpeg_start_compress(&info, TRUE);
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    while (info.next_scanline < info.image_height) {
        // libjpeg's interface is not const-correct; it only reads the row.
        auto* row = const_cast<JSAMPLE*>(rgb.data() + info.next_scanline * rowBytes);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);

    result.Bytes.assign(buffer, buffer + size);
    std::free(buffer);
    return result;
}

JpegEncodeResult EncodeBaselineJpeg(const QImage& image, int quality)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const auto rowBytes = static_cast<std::size_t>(rgb.width()) * 3;
    std::vector<std::uint8_t> bytes(rowBytes * static_cast<std::size_t>(rgb.height()));
    // Qt pads its rows to four bytes; the encoder takes them packed.
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(
            bytes.data() + rowBytes * static_cast<std::size_t>(y), rgb.constScanLine(y), rowBytes);
    return EncodeBaselineJpeg(rgb.width(), rgb.height(), bytes, quality);
}

} // namespace brzdomat
