// Measures one picture load in a process of its own, so that the peak memory is that of the
// load alone: CPU time and peak resident memory above the process before the load.
//   brzdomat_picture_probe make FOLDER          writes the large and hostile files measured
//   brzdomat_picture_probe load FILE [palette]  loads FILE as the program does
//   brzdomat_picture_probe plain FILE           the baseline: a plain full libjpeg decode

#include "bank/jpeg_decoder.h"
#include "bank/picture_file.h"
#include "bench/plain_decode.h"
#include "tests/testsupport/jpeg_maker.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/resource.h>

namespace {

using namespace brzdomat;
using namespace brzdomat::testing;

double CpuSeconds()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds
        = [](timeval time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::strlen(field)));
    }
    return -1;
}

JpegRecipe Photo(int width, int height, ColourModel model, Chroma sampling)
{
    return { .Width = width,
        .Height = height,
        .Model = model,
        .Sampling = sampling,
        .Mode = Coding::Progressive,
        .Drawing = Content::Photo,
        .Quality = 85 };
}

void Make(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    auto write = [&folder](const char* name, const std::vector<std::uint8_t>& bytes) {
        WriteBytes(folder / name, bytes);
        std::printf("%s %zu bytes\n", name, bytes.size());
    };
    // A flat picture, so that 400 copies of its last scan stay within the file size limit.
    JpegRecipe card = Photo(7000, 7000, ColourModel::Colour, Chroma::Full444);
    card.Drawing = Content::Flat;
    write("last_scan_400_times_7000x7000.jpg", WithScanRepeated(MakeJpeg(card), -1, 400));
    write("claims_7000x7000_5000_scans.jpg",
        WithClaimedSize(
            WithScanRepeated(
                MakeJpeg(Photo(64, 48, ColourModel::Colour, Chroma::Full444)), -1, 5000),
            7000, 7000));
    std::vector<std::uint8_t> padded
        = MakeJpeg(Photo(6000, 8000, ColourModel::Colour, Chroma::Full444));
    padded.resize((std::size_t { 64 } << 20) - 1024);
    write("progressive444_6000x8000_padded.jpg", padded);
    JpegRecipe bands = Photo(7000, 7000, ColourModel::Colour, Chroma::Full444);
    bands.SpectralBands = 32;
    write("scans98_7000x7000.jpg", MakeJpeg(bands));
    write("cmyk_progressive_6000x8000.jpg",
        MakeJpeg(Photo(6000, 8000, ColourModel::InvertedCmyk, Chroma::Full444)));
    JpegRecipe small = Photo(64, 48, ColourModel::Colour, Chroma::Quarter420);
    small.Mode = Coding::Baseline;
    write("claims_10400x10400_palette.jpg", WithClaimedSize(MakeJpeg(small), 10400, 10400));
    write("progressive420_8660x5773.jpg",
        MakeJpeg(Photo(8660, 5773, ColourModel::Colour, Chroma::Quarter420)));
    // The first scan, of DC coefficients only, is the cheapest pass over the whole frame.
    write("dc_scan_90_times_7000x7000.jpg", WithScanRepeated(MakeJpeg(card), 0, 90));
    write("cmyk_progressive_8660x5773.jpg",
        MakeJpeg(Photo(8660, 5773, ColourModel::InvertedCmyk, Chroma::Full444)));
}

} // namespace

int main(int argc, char** argv)
{
    try {
        std::string command = argc > 2 ? argv[1] : "";
        if (command == "make") {
            Make(argv[2]);
            return 0;
        }
        if (command != "load" && command != "plain") {
            std::fprintf(
                stderr, "usage: %s make FOLDER | load FILE [palette] | plain FILE\n", argv[0]);
            return 2;
        }
        std::ofstream("/proc/self/clear_refs") << "5";
        long idle = StatusKilobytes("VmRSS:");
        double start = CpuSeconds();
        std::string outcome;
        if (command == "plain") {
            std::ifstream file(argv[2], std::ios::binary);
            std::vector<std::uint8_t> bytes { std::istreambuf_iterator<char>(file), {} };
            outcome = std::to_string(bench::PlainFullDecode(bytes)) + " bytes";
        } else {
            DecodeOptions options;
            if (argc > 3 && std::string { argv[3] } == "palette")
                options.Screen = ScreenDepth::AtMost8Bits;
            DecodeResult result = LoadPictureFile(argv[2], options);
            outcome = result.Image ? "shown" : "refused: " + result.Detail;
        }
        double cpu = CpuSeconds() - start;
        long peak = StatusKilobytes("VmHWM:");
        std::printf("%.2f s CPU, %.0f MB above idle, %s\n", cpu,
            static_cast<double>(peak - idle) / 1024, outcome.c_str());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
