#include "bank/jpeg_decoder.h"

#include "bank/coefficient_windows.h"
#include "bank/libjpeg_entry.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <jerror.h>

namespace brzdomat {

namespace {

// The decoding work of a multi-scan file is counted in units of one coefficient of a block
// visited by a scan (0.4 to 0.5 ns here). Entering a block costs about as much as visiting this
// many coefficients of its band, and decoding a byte of entropy-coded data as much as this many.
constexpr long long BlockWorkUnits = 16;
constexpr long long ByteWorkUnits = 30;

// One decode: the libjpeg object, its error, progress and memory hooks, and the output. A fatal
// libjpeg error leaves through longjmp, so everything that must survive it lives here rather
// than in the frames that the jump skips. libjpeg's client_data points to the session as its
// coefficient windows (coefficient_windows.h); DroppedFromMcuRow tells which rows are dropped.
struct Session : CoefficientWindows {
    explicit Session(const LibJpeg& jpeg)
        : Jpeg(&jpeg)
    {
    }

    const LibJpeg* Jpeg;
    jpeg_decompress_struct Info {};
    jpeg_error_mgr Errors {};
    jpeg_progress_mgr Progress {};
    std::jmp_buf Jump {};
    const DecodeLimits* Limits = nullptr;
    std::span<const std::uint8_t> Bytes;
    int Warnings = 0;
    bool CutShort = false;
    DecodeFailure Reason = DecodeFailure::NotDecodable;
    char Message[JMSG_LENGTH_MAX] {};
    std::shared_ptr<RgbImage> Image;
    std::vector<JSAMPLE> Row;
    // The scans charged so far and the blocks they decode, weighted as the work bound counts.
    int ChargedScans = 0;
    std::size_t ChargedBytes = 0;
    int SkippedScans = 0;
    long long Work = 0;
    bool ReadingScans = false;

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    // Safe also when creation failed halfway: libjpeg checks what it allocated.
    ~Session() { Jpeg->DestroyDecompress(&Info); }
};

Session& SessionOf(j_common_ptr info)
{
    return *static_cast<Session*>(static_cast<CoefficientWindows*>(info->client_data));
}

[[noreturn]] void Abandon(j_common_ptr info, DecodeFailure reason)
{
    Session& session = SessionOf(info);
    session.Reason = reason;
    std::longjmp(session.Jump, 1);
}

[[noreturn]] void Abandon(j_common_ptr info, DecodeFailure reason, const char* message)
{
    std::snprintf(SessionOf(info).Message, JMSG_LENGTH_MAX, "%s", message);
    Abandon(info, reason);
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
    // Below the kept rows a scan's data are skipped and refinement scans lack the coefficients
    // of earlier ones, so those rows raise warnings of their own; only the end of the data says
    // something about the file there.
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (session.ReadingScans && session.DroppedFromMcuRow > 0
        && decompress->input_iMCU_row >= session.DroppedFromMcuRow
        && decompress->input_iMCU_row < decompress->total_iMCU_rows
        && info->err->msg_code != JWRN_JPEG_EOF)
        return;
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

// The work of one scan: every block of its components, each counted as a fixed cost plus one
// for each coefficient of the scan's band. Below the kept rows the scan's data are skipped, which
// leaves a first scan only the fixed cost of a block; a refinement scan still visits the band of
// every block for coefficients that earlier scans set.
long long ScanWork(j_decompress_ptr info, JDIMENSION droppedFromMcuRow)
{
    long long band = info->Se - info->Ss + 1;
    long long passed = info->Ah == 0 ? BlockWorkUnits : BlockWorkUnits + band;
    long long work = 0;
    for (int i = 0; i < info->comps_in_scan; ++i) {
        const jpeg_component_info* component = info->cur_comp_info[i];
        long long rows = component->height_in_blocks;
        long long kept = droppedFromMcuRow == 0
            ? rows
            : std::min(rows, static_cast<long long>(droppedFromMcuRow) * component->v_samp_factor);
        work += component->width_in_blocks
            * (kept * (BlockWorkUnits + band) + (rows - kept) * passed);
    }
    return work;
}

// Once a scan reaches the rows whose coefficients are dropped, nothing more of it is shown, so
// its remaining data are skipped up to the next marker that is not a restart marker; within
// entropy-coded data every 0xFF byte is followed by a zero or a restart number. libjpeg then
// meets that marker as data ending early and fills the rest of the scan with zeros, cheaply.
void SkipRestOfScan(Session& session)
{
    // The scan's data may have ended already, the next marker read.
    if (session.Info.unread_marker != 0)
        return;
    jpeg_source_mgr& source = *session.Info.src;
    const JOCTET* at = source.next_input_byte;
    const JOCTET* end = at + source.bytes_in_buffer;
    while (at < end) {
        at = static_cast<const JOCTET*>(std::memchr(at, 0xFF, static_cast<std::size_t>(end - at)));
        if (at == nullptr || at + 1 >= end) {
            at = end;
            break;
        }
        JOCTET code = at[1];
        if (code != 0x00 && code != 0xFF && (code < 0xD0 || code > 0xD7))
            break;
        ++at;
    }
    source.next_input_byte = at;
    source.bytes_in_buffer = static_cast<std::size_t>(end - at);
}

// libjpeg calls this between units of work: for a file of several scans, which is read whole
// before its first row is shown, once before every iMCU row of every scan. Each scan is charged
// in full before its data are decoded, its data as they are read.
void OnProgress(j_common_ptr info)
{
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    Session& session = SessionOf(info);
    if (decompress->input_scan_number > session.Limits->MaxScans) {
        std::snprintf(session.Message, sizeof session.Message, "more than %d scans",
            session.Limits->MaxScans);
        Abandon(info, DecodeFailure::TooManyScans);
    }
    if (!session.ReadingScans || !session.Jpeg->HasMultipleScans(decompress))
        return;
    if (decompress->input_scan_number > session.ChargedScans && decompress->comps_in_scan > 0) {
        session.ChargedScans = decompress->input_scan_number;
        session.Work += ScanWork(decompress, session.DroppedFromMcuRow);
    }
    std::size_t read = session.Bytes.size() - decompress->src->bytes_in_buffer;
    if (read > session.ChargedBytes)
        session.Work += static_cast<long long>(read - session.ChargedBytes) * ByteWorkUnits;
    if (session.DroppedFromMcuRow > 0 && decompress->input_iMCU_row == session.DroppedFromMcuRow
        && decompress->input_scan_number > session.SkippedScans) {
        session.SkippedScans = decompress->input_scan_number;
        SkipRestOfScan(session);
    }
    session.ChargedBytes = session.Bytes.size() - decompress->src->bytes_in_buffer;
    if (session.Work > session.Limits->MaxDecodingWork) {
        std::snprintf(session.Message, sizeof session.Message,
            "more decoding work than %lld units by scan %d", session.Limits->MaxDecodingWork,
            decompress->input_scan_number);
        Abandon(info, DecodeFailure::TooMuchWork);
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

// Sets the output libjpeg delivers; returns whether it is quantised.
bool ChooseOutput(j_decompress_ptr info, ScreenDepth screen)
{
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
        // libjpeg has no conversion from an unknown colour space (2 components, or more than
        // 4) to grey or colour, and djpeg refuses to write such a picture in any format.
        Abandon(reinterpret_cast<j_common_ptr>(info), DecodeFailure::NotDecodable,
            "unsupported colour space");
    }
    info->scale_num = 1;
    info->scale_denom = 1;
    info->dct_method = JDCT_FLOAT;
    info->do_block_smoothing = TRUE;
    info->do_fancy_upsampling = TRUE;
    bool quantise = info->jpeg_color_space == JCS_GRAYSCALE || screen == ScreenDepth::AtMost8Bits;
    if (quantise) {
        info->quantize_colors = TRUE;
        info->desired_number_of_colors = QuantisedColours;
    }
    return quantise;
}

// Fancy upsampling treats the right edge of a crop as the edge of the picture, so the crop
// reaches one whole sampling group past the last shown column and the shown pixels stay those of
// a full decode. Quantised output is never cropped: its dithering runs along whole rows.
void CropToShown(Session& session, int shownWidth)
{
    j_decompress_ptr info = &session.Info;
    JDIMENSION group = static_cast<JDIMENSION>(info->max_h_samp_factor * info->min_DCT_scaled_size);
    JDIMENSION wanted = (static_cast<JDIMENSION>(shownWidth) + group - 1) / group * group + group;
    if (wanted < info->output_width) {
        JDIMENSION xOffset = 0;
        session.Jpeg->CropScanline(info, &xOffset, &wanted);
    }
}

void CopyRows(Session& session, bool quantise)
{
    j_decompress_ptr info = &session.Info;
    RgbImage& image = *session.Image;
    int components = info->out_color_components;
    bool direct = !quantise && components == 3
        && info->output_width == static_cast<JDIMENSION>(image.Width);
    if (!direct)
        session.Row.resize(static_cast<std::size_t>(info->output_width)
            * static_cast<std::size_t>(info->output_components));
    bool invertedInk = info->saw_Adobe_marker;

    while (info->output_scanline < static_cast<JDIMENSION>(image.Height)) {
        std::uint8_t* target = image.Pixels.data()
            + static_cast<std::size_t>(info->output_scanline)
                * static_cast<std::size_t>(image.Width) * 3;
        JSAMPROW row = direct ? target : session.Row.data();
        if (session.Jpeg->ReadScanlines(info, &row, 1) != 1)
            Abandon(reinterpret_cast<j_common_ptr>(info), DecodeFailure::NotDecodable,
                "no scanline delivered");
        if (direct)
            continue;
        if (quantise) {
            JSAMPLE entry[4];
            for (int x = 0; x < image.Width; ++x) {
                int index = row[x];
                for (int c = 0; c < components; ++c)
                    entry[c] = info->colormap[c][index];
                PutPixel(entry, components, invertedInk, target + 3 * x);
            }
        } else {
            for (int x = 0; x < image.Width; ++x)
                PutPixel(row + components * x, components, invertedInk, target + 3 * x);
        }
    }
}

// Everything that calls into libjpeg. A fatal error longjmps out of here, so no object with a
// destructor may live in this frame; the state is in the session.
void DecodeInto(Session& session, std::span<const std::uint8_t> bytes, const DecodeOptions& options)
{
    j_decompress_ptr info = &session.Info;
    const LibJpeg& jpeg = *session.Jpeg;
    jpeg.CreateDecompress(info, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
    info->progress = &session.Progress;
    info->mem->max_memory_to_use = options.Limits.MaxDecoderMemory;
    InstallCoefficientWindows(info);
    session.Bytes = bytes;
    jpeg.MemSrc(info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg.ReadHeader(info, TRUE);

    bool quantise = ChooseOutput(info, options.Screen);
    int shownWidth = static_cast<int>(std::min<JDIMENSION>(
        info->image_width, static_cast<JDIMENSION>(std::max(options.Width, 1))));
    int shownHeight = static_cast<int>(std::min<JDIMENSION>(
        info->image_height, static_cast<JDIMENSION>(std::max(options.Height, 1))));
    // A palette for colour is chosen from every pixel of the frame, so then all of it is kept.
    bool wholeFrame = quantise && info->out_color_space == JCS_RGB;
    session.ShownRows = wholeFrame ? 0 : static_cast<JDIMENSION>(shownHeight);
    if (wholeFrame)
        info->mem->max_memory_to_use = options.Limits.MaxWholeFrameMemory;
    session.ReadingScans = true;
    jpeg.StartDecompress(info);
    session.ReadingScans = false;
    if (!quantise)
        CropToShown(session, shownWidth);

    session.Image = std::make_shared<RgbImage>();
    session.Image->Width = shownWidth;
    session.Image->Height = shownHeight;
    session.Image->Pixels.resize(
        static_cast<std::size_t>(shownWidth) * static_cast<std::size_t>(shownHeight) * 3);
    CopyRows(session, quantise);
    // The rows below the shown region are never decoded.
    jpeg.AbortDecompress(info);
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
    std::string why;
    const LibJpeg* jpeg = LoadLibJpeg(why);
    if (!jpeg)
        return Failed(DecodeFailure::NotDecodable, "libjpeg cannot be loaded: " + why);
    try {
        auto session = std::make_unique<Session>(*jpeg);
        session->Limits = &options.Limits;
        session->Info.err = jpeg->StdError(&session->Errors);
        session->Errors.error_exit = OnFatalError;
        session->Errors.emit_message = OnMessage;
        session->Errors.output_message = OnOutputMessage;
        session->Progress.progress_monitor = OnProgress;
        session->Info.client_data = static_cast<CoefficientWindows*>(session.get());
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

} // namespace brzdomat
