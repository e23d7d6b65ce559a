#include "tests/testsupport/jpeg_maker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

#include <jpeglib.h>

namespace brzdomat::testing {

namespace {

// A cheap integer hash, so that noise depends only on the position.
std::uint32_t Hash(std::uint32_t x, std::uint32_t y)
{
    std::uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

std::uint8_t Clamp(double value)
{
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// Colour detail that changes from column to column, so that any error of chroma upsampling at
// an edge shows in the pixels.
void PhotoPixel(int x, int y, std::uint8_t* rgb)
{
    std::uint32_t noise = Hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
    rgb[0] = Clamp(128 + 90 * std::sin(x * 0.05) + static_cast<int>(noise & 15) - 8);
    rgb[1] = Clamp(
        128 + 90 * std::cos(y * 0.037 + x * 0.011) + static_cast<int>((noise >> 8) & 15) - 8);
    rgb[2] = Clamp((x ^ y) & 0xFF);
}

// White with lines of dark "words" and a photograph in the lower half, like a question card.
void CardPixel(int x, int y, int width, int height, std::uint8_t* rgb)
{
    rgb[0] = rgb[1] = rgb[2] = 255;
    if (y > height / 2 && x > width / 8 && x < width * 7 / 8 && y < height * 15 / 16) {
        // A smooth scene: sky, a road and a car-like block.
        bool car = x > width / 3 && x < width / 2 && y > height * 3 / 4 && y < height * 5 / 6;
        rgb[0] = car ? 200 : Clamp(90 + 60 * std::sin(x * 0.02));
        rgb[1] = car ? 30 : Clamp(y < height * 2 / 3 ? 150 : 100 + 30 * std::cos(y * 0.05));
        rgb[2] = car ? 40 : Clamp(y < height * 2 / 3 ? 230 : 90);
        return;
    }
    // Words are runs of letter-like strokes; a word is present where the hash says so.
    int line = y / 36;
    int inLine = y % 36;
    std::uint32_t word = Hash(static_cast<std::uint32_t>(x / 40), static_cast<std::uint32_t>(line));
    bool inWord
        = inLine >= 4 && inLine < 14 && x > 10 && x < width - 10 && (word & 3) != 0 && x % 40 < 34;
    bool stroke = x % 7 < 2 || inLine == 4 || (inLine == 9 && (word >> 4 & 1) != 0);
    if (inWord && stroke)
        rgb[0] = rgb[1] = rgb[2] = 20;
}

int Components(ColourModel model)
{
    switch (model) {
    case ColourModel::Grey:
        return 1;
    case ColourModel::InvertedCmyk:
        return 4;
    default:
        return 3;
    }
}

std::vector<jpeg_scan_info> RefinementScript(int components, int refinements)
{
    std::vector<jpeg_scan_info> script;
    jpeg_scan_info dc {};
    dc.comps_in_scan = components;
    for (int c = 0; c < components; ++c)
        dc.component_index[c] = c;
    script.push_back(dc);
    for (int c = 0; c < components; ++c) {
        for (int k = 1; k < 64; ++k) {
            for (int step = refinements; step >= 0; --step) {
                jpeg_scan_info scan {};
                scan.comps_in_scan = 1;
                scan.component_index[0] = c;
                scan.Ss = k;
                scan.Se = k;
                scan.Ah = step == refinements ? 0 : step + 1;
                scan.Al = step;
                script.push_back(scan);
            }
        }
    }
    return script;
}

void ThrowError(j_common_ptr info)
{
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    throw std::runtime_error(message);
}

// Walks the segments of a JPEG file and calls visit(offset, code) for every marker, entropy
// coded data skipped. Stops when visit returns false.
template <typename Visit> void WalkMarkers(std::span<const std::uint8_t> jpeg, Visit visit)
{
    std::size_t at = 0;
    while (at + 1 < jpeg.size()) {
        if (jpeg[at] != 0xFF || jpeg[at + 1] == 0xFF || jpeg[at + 1] == 0x00) {
            ++at;
            continue;
        }
        std::uint8_t code = jpeg[at + 1];
        if (!visit(at, code))
            return;
        bool standalone
            = code == 0xD8 || code == 0xD9 || (code >= 0xD0 && code <= 0xD7) || code == 0x01;
        if (standalone || at + 3 >= jpeg.size()) {
            at += 2;
            continue;
        }
        std::size_t length = static_cast<std::size_t>(jpeg[at + 2]) << 8 | jpeg[at + 3];
        at += 2 + length;
        if (code == 0xDA) {
            // Entropy-coded data run to the next marker that is neither a stuffed zero nor a
            // restart marker; restart markers are reported on the way.
            while (at + 1 < jpeg.size()) {
                if (jpeg[at] == 0xFF && jpeg[at + 1] >= 0xD0 && jpeg[at + 1] <= 0xD7) {
                    if (!visit(at, jpeg[at + 1]))
                        return;
                    at += 2;
                } else if (jpeg[at] == 0xFF && jpeg[at + 1] != 0x00 && jpeg[at + 1] != 0xFF) {
                    break;
                } else {
                    ++at;
                }
            }
        }
    }
}

} // namespace

std::vector<std::uint8_t> DrawPixels(const JpegRecipe& recipe)
{
    int components = Components(recipe.Model);
    std::vector<std::uint8_t> pixels(
        static_cast<std::size_t>(recipe.Width) * recipe.Height * components);
    std::uint8_t rgb[3] {};
    std::uint8_t* out = pixels.data();
    for (int y = 0; y < recipe.Height; ++y) {
        for (int x = 0; x < recipe.Width; ++x) {
            switch (recipe.Drawing) {
            case Content::Photo:
                PhotoPixel(x, y, rgb);
                break;
            case Content::Card:
                CardPixel(x, y, recipe.Width, recipe.Height, rgb);
                break;
            case Content::Flat:
                std::copy(recipe.FlatColour.begin(), recipe.FlatColour.end(), rgb);
                break;
            }
            switch (recipe.Model) {
            case ColourModel::Grey:
                *out++ = static_cast<std::uint8_t>((rgb[0] * 3 + rgb[1] * 5 + rgb[2] * 2) / 10);
                break;
            case ColourModel::Colour:
                *out++ = rgb[0];
                *out++ = rgb[1];
                *out++ = rgb[2];
                break;
            case ColourModel::InvertedCmyk:
                // Inverted ink with a varying black: red = C'K'/255 and so on.
                *out++ = rgb[0];
                *out++ = rgb[1];
                *out++ = rgb[2];
                *out++ = static_cast<std::uint8_t>(200 + (x + y) % 56);
                break;
            }
        }
    }
    return pixels;
}

std::vector<std::uint8_t> MakeJpeg(const JpegRecipe& recipe)
{
    std::vector<std::uint8_t> pixels = DrawPixels(recipe);
    int components = Components(recipe.Model);

    jpeg_compress_struct info {};
    jpeg_error_mgr errors {};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = ThrowError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<jpeg_scan_info> script;
    std::vector<std::uint8_t> result;
    try {
        jpeg_create_compress(&info);
        jpeg_mem_dest(&info, &buffer, &size);
        info.image_width = static_cast<JDIMENSION>(recipe.Width);
        info.image_height = static_cast<JDIMENSION>(recipe.Height);
        info.input_components = components;
        info.in_color_space = recipe.Model == ColourModel::Grey ? JCS_GRAYSCALE
            : recipe.Model == ColourModel::InvertedCmyk         ? JCS_CMYK
                                                                : JCS_RGB;
        jpeg_set_defaults(&info);
        if (recipe.Model == ColourModel::InvertedCmyk)
            jpeg_set_colorspace(&info, JCS_CMYK);
        jpeg_set_quality(&info, recipe.Quality, TRUE);
        if (recipe.Model == ColourModel::Colour) {
            info.comp_info[0].h_samp_factor = recipe.Sampling == Chroma::Full444 ? 1 : 2;
            info.comp_info[0].v_samp_factor = recipe.Sampling == Chroma::Quarter420 ? 2 : 1;
        }
        info.restart_interval = static_cast<unsigned>(recipe.RestartInterval);
        if (recipe.Mode == Coding::Progressive) {
            if (recipe.RefinementScans > 0) {
                script = RefinementScript(components, recipe.RefinementScans);
                info.scan_info = script.data();
                info.num_scans = static_cast<int>(script.size());
            } else {
                jpeg_simple_progression(&info);
            }
        }
        jpeg_start_compress(&info, TRUE);
        std::size_t stride = static_cast<std::size_t>(recipe.Width) * components;
        while (info.next_scanline < info.image_height) {
            JSAMPROW row = pixels.data() + info.next_scanline * stride;
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        result.assign(buffer, buffer + size);
    } catch (...) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw;
    }
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return result;
}

JpegFacts InspectJpeg(std::span<const std::uint8_t> jpeg)
{
    JpegFacts facts;
    jpeg_decompress_struct info {};
    jpeg_error_mgr errors {};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = ThrowError;
    try {
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
        jpeg_read_header(&info, TRUE);
        facts.Components = info.num_components;
        facts.YCbCr = info.jpeg_color_space == JCS_YCbCr;
        facts.Progressive = info.progressive_mode;
        facts.Jfif = info.saw_JFIF_marker;
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
        facts.Width = static_cast<int>(info.output_width);
        facts.Height = static_cast<int>(info.output_height);
        std::size_t stride = static_cast<std::size_t>(facts.Width) * 3;
        facts.Pixels.resize(stride * static_cast<std::size_t>(facts.Height));
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = facts.Pixels.data() + info.output_scanline * stride;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        facts.Ok = true;
    } catch (const std::runtime_error&) {
        facts.Ok = false;
    }
    jpeg_destroy_decompress(&info);
    return facts;
}

int ScanCount(const JpegRecipe& recipe)
{
    if (recipe.Mode == Coding::Baseline)
        return 1;
    std::vector<std::uint8_t> jpeg = MakeJpeg(recipe);
    int scans = 0;
    WalkMarkers(jpeg, [&scans](std::size_t, std::uint8_t code) {
        scans += code == 0xDA;
        return true;
    });
    return scans;
}

std::size_t FindMarker(std::span<const std::uint8_t> jpeg, std::uint8_t code)
{
    std::size_t found = std::string::npos;
    WalkMarkers(jpeg, [&](std::size_t offset, std::uint8_t seen) {
        if (seen != code)
            return true;
        found = offset;
        return false;
    });
    return found;
}

std::vector<std::uint8_t> WithClaimedSize(std::vector<std::uint8_t> jpeg, int width, int height)
{
    std::size_t frame = std::string::npos;
    for (std::uint8_t code : { 0xC0, 0xC1, 0xC2 }) {
        frame = FindMarker(jpeg, code);
        if (frame != std::string::npos)
            break;
    }
    if (frame == std::string::npos || frame + 9 > jpeg.size())
        throw std::runtime_error("no frame header");
    jpeg[frame + 5] = static_cast<std::uint8_t>(height >> 8);
    jpeg[frame + 6] = static_cast<std::uint8_t>(height);
    jpeg[frame + 7] = static_cast<std::uint8_t>(width >> 8);
    jpeg[frame + 8] = static_cast<std::uint8_t>(width);
    return jpeg;
}

std::vector<std::uint8_t> CutAfter(std::span<const std::uint8_t> jpeg, std::size_t length)
{
    return { jpeg.begin(),
        jpeg.begin() + static_cast<std::ptrdiff_t>(std::min(length, jpeg.size())) };
}

std::vector<std::uint8_t> WithRestartMarkersShuffled(std::vector<std::uint8_t> jpeg)
{
    std::vector<std::size_t> restarts;
    WalkMarkers(jpeg, [&restarts](std::size_t offset, std::uint8_t code) {
        if (code >= 0xD0 && code <= 0xD7)
            restarts.push_back(offset);
        return true;
    });
    // Four ahead is neither the expected number nor one of its neighbours, so libjpeg warns
    // and throws the marker away each time.
    for (std::size_t offset : restarts)
        jpeg[offset + 1] = static_cast<std::uint8_t>(0xD0 + ((jpeg[offset + 1] - 0xD0 + 4) & 7));
    return jpeg;
}

std::vector<std::uint8_t> TinyPng()
{
    return { 0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
        0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00, 0x00,
        0x90, 0x77, 0x53, 0xde, 0x00, 0x00, 0x00, 0x0c, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63,
        0xf8, 0xdf, 0xc0, 0x00, 0x00, 0x04, 0x01, 0x01, 0x80, 0xc5, 0x2a, 0x18, 0x5d, 0x00, 0x00,
        0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82 };
}

void WriteBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(
        reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::filesystem::path MakeUniqueFolder(std::string_view prefix)
{
    // create_directory says whether it made the folder, so two processes never share one.
    std::random_device entropy;
    std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path folder = base / (std::string { prefix } + std::to_string(entropy()));
        std::error_code error;
        if (std::filesystem::create_directory(folder, error))
            return folder;
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TemporaryFolder::TemporaryFolder()
    : m_Path(MakeUniqueFolder("brzdomat-"))
{
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
}

} // namespace brzdomat::testing
