#include "bank/jpeg_decoder.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace brzdomat {

namespace {

// libjpeg's quantiser is asked for this many colours, the palette that old Windows screens left
// free for pictures.
constexpr int QuantisedColours = 236;

// One decode: the libjpeg object, its error and progress hooks, and the output. A fatal libjpeg
// error leaves through longjmp, so everything that must survive it lives here rather than in the
// frames that the jump skips.
struct Session {
    jpeg_decompress_struct Info {};
    jpeg_error_mgr Errors {};
    jpeg_progress_mgr Progress {};
    std::jmp_buf Jump {};
    const DecodeLimits* Limits = nullptr;
    int Warnings = 0;
    bool CutShort = false;
    DecodeFailure Reason = DecodeFailure::NotDecodable;
    char Message[JMSG_LENGTH_MAX] {};
    std::shared_ptr<RgbImage> Image;
    std::vector<JSAMPLE> Row;

    Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    // Safe also when creation failed halfway: libjpeg checks what it allocated.
    ~Session() { jpeg_destroy_decompress(&Info); }
};

Session& SessionOf(j_common_ptr info)
{
    return *static_cast<Session*>(info->client_data);
}

[[noreturn]] void Abandon(j_common_ptr info, DecodeFailure reason)
{
    Session& session = SessionOf(info);
    session.Reason = reason;
    std::longjmp(session.Jump, 1);
}

// Replaces libjpeg's error_exit, which would end the process.
[[noreturn]] void OnFatalError(j_common_ptr info)
{
    Session& session = SessionOf(info);
    (*info->err->format_message)(info, session.Message);
    int code = info->err->msg_code;
    bool memory = code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE;
    Abandon(info, memory ? DecodeFailure::DecoderMemoryLimit : DecodeFailure::NotDecodable);
}

// Warnings are counted, never shown. Trace messages (positive levels) are dropped.
void OnMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    Session& session = SessionOf(info);
    ++info->err->num_warnings;
    if (info->err->msg_code == JWRN_JPEG_EOF)
        session.CutShort = true;
    if (++session.Warnings > session.Limits->MaxWarnings) {
        (*info->err->format_message)(info, session.Message);
        Abandon(info, DecodeFailure::TooManyWarnings);
    }
}

void OnOutputMessage(j_common_ptr)
{
}

// libjpeg calls this between units of work, at least once for every scan it starts.
void OnProgress(j_common_ptr info)
{
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    Session& session = SessionOf(info);
    if (decompress->input_scan_number > session.Limits->MaxScans) {
        std::snprintf(session.Message, sizeof session.Message, "more than %d scans",
            session.Limits->MaxScans);
        Abandon(info, DecodeFailure::TooManyScans);
    }
}

std::uint8_t Scale(unsigned a, unsigned b)
{
    return static_cast<std::uint8_t>((a * b + 127) / 255);
}

// Writes one pixel given as libjpeg's output components: grey, RGB, or CMYK. Adobe writes CMYK
// inverted, which is what nearly every CMYK JPEG is.
void PutPixel(const JSAMPLE* components, int count, bool invertedInk, std::uint8_t* rgb)
{
    switch (count) {
    case 1:
        rgb[0] = rgb[1] = rgb[2] = components[0];
        break;
    case 3:
        rgb[0] = components[0];
        rgb[1] = components[1];
        rgb[2] = components[2];
        break;
    default: {
        unsigned c = components[0], m = components[1], y = components[2], k = components[3];
        if (!invertedInk) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        rgb[0] = Scale(c, k);
        rgb[1] = Scale(m, k);
        rgb[2] = Scale(y, k);
        break;
    }
    }
}

// Everything that calls into libjpeg. A fatal error longjmps out of here, so no object with a
// destructor may live in this frame; the state is in the session.
void DecodeInto(Session& session, std::span<const std::uint8_t> bytes, const DecodeOptions& options)
{
    j_decompress_ptr info = &session.Info;
    jpeg_create_decompress(info);
    info->progress = &session.Progress;
    info->mem->max_memory_to_use = options.Limits.MaxDecoderMemory;
    jpeg_mem_src(info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(info, TRUE);

    switch (info->jpeg_color_space) {
    case JCS_GRAYSCALE:
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        info->out_color_space = JCS_RGB;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        info->out_color_space = JCS_CMYK;
        break;
    default:
        std::snprintf(session.Message, sizeof session.Message, "unsupported colour space");
        Abandon(reinterpret_cast<j_common_ptr>(info), DecodeFailure::NotDecodable);
    }
    info->scale_num = 1;
    info->scale_denom = 1;
    info->dct_method = JDCT_FLOAT;
    info->do_block_smoothing = TRUE;
    info->do_fancy_upsampling = TRUE;
    bool quantise
        = info->jpeg_color_space == JCS_GRAYSCALE || options.Screen == ScreenDepth::AtMost8Bits;
    if (quantise) {
        info->quantize_colors = TRUE;
        info->desired_number_of_colors = QuantisedColours;
    }
    jpeg_start_decompress(info);

    int shownWidth = static_cast<int>(std::min<JDIMENSION>(
        info->output_width, static_cast<JDIMENSION>(std::max(options.Width, 1))));
    int shownHeight = static_cast<int>(std::min<JDIMENSION>(
        info->output_height, static_cast<JDIMENSION>(std::max(options.Height, 1))));

    // Fancy upsampling treats the right edge of a crop as the edge of the picture, so the crop
    // reaches one whole sampling group past the last shown column and the shown pixels stay those
    // of a full decode. Quantised output is never cropped: its dithering runs along whole rows.
    if (!quantise) {
        JDIMENSION group
            = static_cast<JDIMENSION>(info->max_h_samp_factor * info->min_DCT_scaled_size);
        JDIMENSION wanted
            = (static_cast<JDIMENSION>(shownWidth) + group - 1) / group * group + group;
        if (wanted < info->output_width) {
            JDIMENSION xOffset = 0;
            jpeg_crop_scanline(info, &xOffset, &wanted);
        }
    }

    session.Image = std::make_shared<RgbImage>();
    RgbImage& image = *session.Image;
    image.Width = shownWidth;
    image.Height = shownHeight;
    image.Pixels.resize(
        static_cast<std::size_t>(shownWidth) * static_cast<std::size_t>(shownHeight) * 3);

    int components = info->out_color_components;
    bool direct
        = !quantise && components == 3 && info->output_width == static_cast<JDIMENSION>(shownWidth);
    if (!direct)
        session.Row.resize(static_cast<std::size_t>(info->output_width)
            * static_cast<std::size_t>(info->output_components));
    bool invertedInk = info->saw_Adobe_marker;

    while (info->output_scanline < static_cast<JDIMENSION>(shownHeight)) {
        std::uint8_t* target = image.Pixels.data()
            + static_cast<std::size_t>(info->output_scanline) * static_cast<std::size_t>(shownWidth)
                * 3;
        JSAMPROW row = direct ? target : session.Row.data();
        if (jpeg_read_scanlines(info, &row, 1) != 1) {
            std::snprintf(session.Message, sizeof session.Message, "no scanline delivered");
            Abandon(reinterpret_cast<j_common_ptr>(info), DecodeFailure::NotDecodable);
        }
        if (direct)
            continue;
        if (quantise) {
            JSAMPLE entry[4];
            for (int x = 0; x < shownWidth; ++x) {
                int index = row[x];
                for (int c = 0; c < components; ++c)
                    entry[c] = info->colormap[c][index];
                PutPixel(entry, components, invertedInk, target + 3 * x);
            }
        } else {
            for (int x = 0; x < shownWidth; ++x)
                PutPixel(row + components * x, components, invertedInk, target + 3 * x);
        }
    }
    // The rows below the shown region are never decoded.
    jpeg_abort_decompress(info);
}

// The frame that calls setjmp must stay alive while libjpeg runs, and must not return a value
// computed before the jump, hence this small function.
bool RunProtected(
    Session& session, std::span<const std::uint8_t> bytes, const DecodeOptions& options)
{
    if (setjmp(session.Jump) != 0)
        return false;
    DecodeInto(session, bytes, options);
    return true;
}

DecodeResult Failed(DecodeFailure failure, std::string detail, int warnings = 0)
{
    DecodeResult result;
    result.Failure = failure;
    result.Detail = std::move(detail);
    result.Warnings = warnings;
    return result;
}

} // namespace

DecodeResult DecodeJpeg(std::span<const std::uint8_t> bytes, const DecodeOptions& options)
{
    if (bytes.empty())
        return Failed(DecodeFailure::Empty, "empty");
    try {
        auto session = std::make_unique<Session>();
        session->Limits = &options.Limits;
        session->Info.err = jpeg_std_error(&session->Errors);
        session->Errors.error_exit = OnFatalError;
        session->Errors.emit_message = OnMessage;
        session->Errors.output_message = OnOutputMessage;
        session->Progress.progress_monitor = OnProgress;
        session->Info.client_data = session.get();
        if (!RunProtected(*session, bytes, options))
            return Failed(session->Reason, session->Message, session->Warnings);
        DecodeResult result;
        result.Image = std::move(session->Image);
        result.Warnings = session->Warnings;
        result.CutShort = session->CutShort;
        result.SourceWidth = static_cast<int>(session->Info.image_width);
        result.SourceHeight = static_cast<int>(session->Info.image_height);
        result.Greyscale = session->Info.jpeg_color_space == JCS_GRAYSCALE;
        return result;
    } catch (const std::bad_alloc&) {
        return Failed(DecodeFailure::OutOfMemory, "out of memory");
    } catch (const std::length_error&) {
        return Failed(DecodeFailure::OutOfMemory, "out of memory");
    }
}

DecodeResult LoadPictureFile(const std::string& path, const DecodeOptions& options)
{
    try {
        FileBytes file = ReadPictureFile(path, options.Limits.MaxFileBytes);
        if (file.Failure != DecodeFailure::None)
            return Failed(file.Failure, std::move(file.Detail));
        return DecodeJpeg(file.Bytes, options);
    } catch (const std::bad_alloc&) {
        return Failed(DecodeFailure::OutOfMemory, "out of memory");
    } catch (const std::length_error&) {
        return Failed(DecodeFailure::OutOfMemory, "out of memory");
    }
}

} // namespace brzdomat
